// quillon.dll as Windows sees it: what the cross-built DLLs export and import, the nine actions
// called under Wine's own msi.dll, and a real installation with msiexec. Runs in the Wine
// prefix that the "wine" test fixture makes.
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments, const QString &folder = QString())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return {-1, program + " did not finish: " + QString::fromLocal8Bit(process.readAll())};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromLocal8Bit(process.readAll())};
}

// A path under Wine's Z: drive, which maps the whole file system.
QString windowsPath(const QString &path)
{
    return "Z:" + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).replace(u'/', u'\\');
}

bool has(const char *tool)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty();
}

// A value of a key as "wine reg query" lists it, or nothing.
QString registryValue(const QString &listing, const QString &name)
{
    const QRegularExpression line("^\\s+" + QRegularExpression::escape(name) + "\\s+REG_SZ\\s+(.*)$",
                                  QRegularExpression::MultilineOption);
    return line.match(listing).captured(1).trimmed();
}

} // namespace

class TestQuillonWindows : public QObject {
    Q_OBJECT

private slots:
    void exportsAndImports_data();
    void exportsAndImports();
    void actionsUnderWine();
    void msiexecInstallsPackage();

private:
    QString wineMissing() const;
};

// Why the Wine tests cannot run here, or nothing when they can.
QString TestQuillonWindows::wineMissing() const
{
    if (!has("wine"))
        return "Wine is not installed (package wine64)";
    if (QString(QUILLON_DLL_X64).isEmpty())
        return "quillon.dll for x64 was not built: no cross compiler (package g++-mingw-w64-x86-64-win32)";
    if (qEnvironmentVariableIsEmpty("WINEPREFIX"))
        return "no Wine prefix: run through ctest, whose wine fixture makes one";
    return QString();
}

void TestQuillonWindows::exportsAndImports_data()
{
    QTest::addColumn<QString>("dll");
    QTest::addColumn<QString>("objdump");
    QTest::addColumn<QString>("package");
    QTest::newRow("x86") << QUILLON_DLL_X86 << "i686-w64-mingw32-objdump"
                         << "g++-mingw-w64-i686-win32";
    QTest::newRow("x64") << QUILLON_DLL_X64 << "x86_64-w64-mingw32-objdump"
                         << "g++-mingw-w64-x86-64-win32";
}

void TestQuillonWindows::exportsAndImports()
{
    QFETCH(QString, dll);
    QFETCH(QString, objdump);
    QFETCH(QString, package);
    if (dll.isEmpty() || !has(objdump.toLatin1().constData()))
        QSKIP(qPrintable("the mingw-w64 cross compiler is not installed (package " + package + ")"));
    QVERIFY2(QFileInfo::exists(dll), qPrintable(dll + " was not built"));

    const Run dump = run(objdump, {"-p", dll});
    QCOMPARE(dump.exitCode, 0);
    QStringList exports;
    const QRegularExpression exported("^\\s*\\[\\s*\\d+\\]\\s+([A-Za-z_]\\w*)\\s*$",
                                      QRegularExpression::MultilineOption);
    for (auto match = exported.globalMatch(dump.output); match.hasNext();)
        exports << match.next().captured(1);
    exports.sort();
    QCOMPARE(exports, (QStringList{"CopyProfileKeys", "CreateAccessProps", "CreateAccessPropsDEU",
                                   "CreateAccessPropsJPN", "RegisterAccess97Typelibs", "ResolveAccessProps",
                                   "ResolveAccessPropsDeu", "ResolveAccessPropsJpn", "SynchronizeProgID"}));

    // Nothing but the system's own libraries: the DLL runs on a machine without any runtime.
    QStringList imports;
    const QRegularExpression imported("DLL Name: (\\S+)\\.dll", QRegularExpression::CaseInsensitiveOption);
    for (auto match = imported.globalMatch(dump.output); match.hasNext();)
        imports << match.next().captured(1).toUpper();
    imports.sort();
    QCOMPARE(imports, (QStringList{"ADVAPI32", "KERNEL32", "MSI", "MSVCRT", "OLEAUT32"}));
}

void TestQuillonWindows::actionsUnderWine()
{
    if (const QString missing = wineMissing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const Run check = run("wine", {QUILLON_WINE_CHECK, windowsPath(QUILLON_DLL_X64), windowsPath(work.path())});
    QVERIFY2(check.exitCode == 0, qPrintable(check.output));
    QVERIFY2(check.output.contains("0 failed checks"), qPrintable(check.output));
}

void TestQuillonWindows::msiexecInstallsPackage()
{
    if (const QString missing = wineMissing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    if (!has("wixl"))
        QSKIP("wixl is not installed (package wixl)");
    if (!has("msibuild"))
        QSKIP("msibuild is not installed (package msitools)");
    QTemporaryDir work;
    QVERIFY(work.isValid());
    // wixl takes the files it packs by names relative to where it runs.
    QVERIFY(QFile::copy(QUILLON_PACKAGE_DIR "/ACCESS97.idt", work.filePath("ACCESS97.idt")));
    QVERIFY(QFile::copy(QUILLON_DLL_X64, work.filePath("quillon.dll")));

    // One package stops at the type library, which this prefix lacks; the other installs.
    for (const QString typeLibrary : {"yes", "no"}) {
        const QString msi = "prueba-" + typeLibrary + ".msi";
        const Run build = run("wixl",
                              {"-a", "x64", "-D", "QuillonDll=quillon.dll", "-D", "TypeLibrary=" + typeLibrary, "-o",
                               msi, QUILLON_PACKAGE_DIR "/prueba.wxs"},
                              work.path());
        QVERIFY2(build.exitCode == 0, qPrintable(build.output));
        const Run table = run("msibuild", {msi, "-i", "ACCESS97.idt"}, work.path());
        QVERIFY2(table.exitCode == 0, qPrintable(table.output));
        const Run install = run("wine", {"msiexec", "/i", windowsPath(work.filePath(msi)), "/qn"});
        // 1603, the installer's fatal error, as a Unix exit status keeps only its low byte.
        QVERIFY2(install.exitCode == (typeLibrary == "yes" ? 1603 % 256 : 0),
                 qPrintable(typeLibrary + ": exit " + QString::number(install.exitCode) + " " + install.output));
    }

    const Run query = run("wine", {"reg", "query", "HKLM\\Software\\Orvanesys\\Vendrix Prueba"});
    QVERIFY2(query.exitCode == 0, qPrintable(query.output));
    QCOMPARE(registryValue(query.output, "DATABASEFILE"), QString("C:\\Program Files\\Vendrix Prueba\\Tienda.mdb"));
    QCOMPARE(registryValue(query.output, "HELPFILE"), QString("C:\\Program Files\\Vendrix Prueba\\Ayuda.hlp"));
    QCOMPARE(registryValue(query.output, "ICON"), QString("D:\\Datos [2]\\Vendrix.ico"));
}

QTEST_GUILESS_MAIN(TestQuillonWindows)
#include "tst_quillon_windows.moc"
