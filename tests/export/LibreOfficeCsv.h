#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

// Reads a spreadsheet file back through LibreOffice, the way a user's spreadsheet program would,
// as CSV in UTF-8: comma separated, text in double quotes where needed.
namespace LibreOfficeCsv {

inline QString soffice()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

// The CSV lines of the file's sheet; on failure, empty with the reason in *error. With
// `quoteText`, every text cell is written in double quotes, so a cell's type shows.
inline QStringList convertWith(const QString &spreadsheetPath, QString *error, bool quoteText)
{
    QTemporaryDir profile; // its own profile, so that parallel runs do not collide
    QTemporaryDir out;
    QProcess process;
    process.start(soffice(), {"-env:UserInstallation=" + QUrl::fromLocalFile(profile.path()).toString(), "--headless",
                              "--convert-to",
                              QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76") +
                                  (quoteText ? QStringLiteral(",1,,0,true") : QString()),
                              "--outdir", out.path(),
                              spreadsheetPath});
    if (!process.waitForFinished(180000) || process.exitCode() != 0) {
        *error = QStringLiteral("soffice failed: ") + QString::fromUtf8(process.readAllStandardError());
        return {};
    }
    QFile csv(QDir(out.path()).filePath(QFileInfo(spreadsheetPath).completeBaseName() + ".csv"));
    if (!csv.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("no CSV written: ") + QString::fromUtf8(process.readAllStandardOutput());
        return {};
    }
    return QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

inline QStringList convert(const QString &spreadsheetPath, QString *error)
{
    return convertWith(spreadsheetPath, error, false);
}

// The same, with every text cell in double quotes.
inline QStringList convertQuotingText(const QString &spreadsheetPath, QString *error)
{
    return convertWith(spreadsheetPath, error, true);
}

// A value as it appears in the CSV: quoted when it holds a comma or a quote.
inline QString field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

} // namespace LibreOfficeCsv
