#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Reads a PDF file back through poppler's tools, as a user's PDF viewer would see it.
namespace pdf {

inline QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The text of each page, laid out as printed (pdftotext -layout), one entry per page. The text
// is compared after Unicode compatibility normalisation (NFKC): whether a font draws "fi" as one
// ligature glyph, which pdftotext returns as U+FB01, never decides a test.
inline QStringList pages(const QString &path)
{
    QStringList out = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
                          .normalized(QString::NormalizationForm_KC)
                          .split(QLatin1Char('\f'));
    if (!out.isEmpty() && out.last().trimmed().isEmpty())
        out.removeLast();
    return out;
}

// pdfinfo's fields: "Pages", "Page size" ...
inline QMap<QString, QString> info(const QString &path)
{
    QMap<QString, QString> out;
    const QStringList lines = run(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0)
            out.insert(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    return out;
}

inline int pageCount(const QString &path)
{
    return info(path).value(QStringLiteral("Pages"), QStringLiteral("-1")).toInt();
}

// The first page's size in millimetres, from pdfinfo's points. PDF writers may round the page
// box to whole points, so compare within half a point (0.18 mm).
inline QSizeF pageSizeMm(const QString &path)
{
    static const QRegularExpression size(QStringLiteral("^([0-9.]+) x ([0-9.]+) pts"));
    const QRegularExpressionMatch match = size.match(info(path).value(QStringLiteral("Page size")));
    constexpr double mmPerPoint = 25.4 / 72;
    return QSizeF(match.captured(1).toDouble() * mmPerPoint, match.captured(2).toDouble() * mmPerPoint);
}

inline bool sameSize(const QSizeF &actualMm, const QSizeF &expectedMm)
{
    constexpr double halfPointMm = 25.4 / 72 / 2;
    return qAbs(actualMm.width() - expectedMm.width()) <= halfPointMm &&
           qAbs(actualMm.height() - expectedMm.height()) <= halfPointMm;
}

// The rows of `pdfimages -list` below its two title lines.
inline QStringList images(const QString &path)
{
    QStringList rows = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split(QLatin1Char('\n'));
    rows = rows.mid(2);
    rows.removeAll(QString());
    return rows;
}

// One page drawn at `dpi` by pdftoppm.
inline QImage rasterise(const QString &path, int page, int dpi)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                     QString::number(page), QStringLiteral("-singlefile"), path, base});
    return QImage(base + QStringLiteral(".png"));
}

// A word of the first page and its box, in millimetres from the paper's top-left corner.
struct Word {
    QString text;
    QRectF boxMm;
};

// The words of the first page, from pdftotext -bbox.
inline QList<Word> words(const QString &path)
{
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    constexpr double mmPerPoint = 25.4 / 72;
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"),
                                                           QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                           path, QStringLiteral("-")});
    QList<Word> out;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        out.append({m.captured(5), QRectF(topLeft * mmPerPoint, bottomRight * mmPerPoint)});
    }
    return out;
}

// The index of the first line of `text` containing `needle`, or -1.
inline int lineOf(const QString &text, const QString &needle)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(needle))
            return i;
    }
    return -1;
}

// The line of `text` containing `needle`, blanks collapsed to one.
inline QString lineWith(const QString &text, const QString &needle)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.contains(needle))
            return line.simplified();
    }
    return {};
}

} // namespace pdf
