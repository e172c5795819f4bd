#include "setup/Actions.h"

#include "FakeInstaller.h"
#include "FakeRegistry.h"

#include <QTest>

using quillon::result::installFailure;
using quillon::result::success;

namespace {

const std::string accessKey = "Software\\Microsoft\\Office\\8.0\\Access";

// "NAME=VALUE" entries, as the data tables below write rows and properties.
std::vector<std::pair<std::string, std::string>> pairs(const QStringList &entries)
{
    std::vector<std::pair<std::string, std::string>> result;
    for (const QString &entry : entries) {
        const qsizetype equals = entry.indexOf(u'=');
        result.emplace_back(entry.left(equals).toStdString(), entry.mid(equals + 1).toStdString());
    }
    return result;
}

// Properties as "NAME=VALUE"; "!NAME" makes reading NAME fail.
void script(FakeInstaller &installer, const QStringList &entries)
{
    for (const QString &entry : entries) {
        if (entry.startsWith(u'!'))
            installer.unreadable.insert(entry.mid(1).toStdString());
        else
            installer.properties.insert(pairs({entry}).front());
    }
}

QStringList setInOrder(const FakeInstaller &installer)
{
    QStringList result;
    for (const std::string &name : installer.propertiesSet)
        result << QString::fromStdString(name + "=" + installer.properties.at(name));
    return result;
}

RegValue text(const std::string &value, std::uint32_t type = quillon::Registry::stringType)
{
    RegValue result{type, {value.begin(), value.end()}};
    result.data.push_back(0);
    return result;
}

// The Access 97 settings as an installed runtime leaves them: three levels, a default value,
// a value far over 260 bytes and the Profiles key.
void accessSettings(RegNode &machine)
{
    RegNode &access = FakeRegistry::make(machine, accessKey);
    access.values[""] = text("Access 97");
    RegValue large{3, std::vector<std::uint8_t>(1000)};
    for (std::size_t i = 0; i < large.data.size(); ++i)
        large.data[i] = static_cast<std::uint8_t>(i % 251);
    access.values["Largo"] = large;
    access.values[std::string(300, 'N')] = text("nombre largo");
    FakeRegistry::make(access, "Settings\\Nivel3").values["Fondo"] = text("Gris");
    FakeRegistry::make(access, "Settings").values["Ancho"] = RegValue{4, {1, 0, 0, 0}};
    FakeRegistry::make(access, "Profiles").values[""] = text("Perfiles");
}

} // namespace

class TestQuillon : public QObject {
    Q_OBJECT

private slots:
    void createsProperties_data();
    void createsProperties();
    void resolvesFolders_data();
    void resolvesFolders();
    void registersTypeLibrary_data();
    void registersTypeLibrary();
    void synchronizesProgId_data();
    void synchronizesProgId();
    void copiesProfileKeys_data();
    void copiesProfileKeys();
    void doesNotCopyAccessIntoItself();
};

void TestQuillon::createsProperties_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("tableExists");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("failingFetch");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("fetches");

    const QStringList rows{"DATABASEFILE=[INSTALLDIR]\\Tienda.mdb", "HELPFILE=[INSTALLDIR]Ayuda.hlp",
                           "ICON=Vendrix.ico"};
    QTest::newRow("ACCESS97") << "ACCESS97" << true << rows << 0 << rows << 4;
    QTest::newRow("ACCESS97DEU") << "ACCESS97DEU" << true << QStringList{"ICONDEU=Deu.ico"} << 0
                                 << QStringList{"ICONDEU=Deu.ico"} << 2;
    QTest::newRow("ACCESS97JPN") << "ACCESS97JPN" << true << QStringList{"ICONJPN=Jpn.ico"} << 0
                                 << QStringList{"ICONJPN=Jpn.ico"} << 2;
    QTest::newRow("empty table") << "ACCESS97" << true << QStringList() << 0 << QStringList() << 1;
    QTest::newRow("missing table") << "ACCESS97JPN" << false << QStringList() << 0 << QStringList() << 0;
    QTest::newRow("fetch fails on row 2") << "ACCESS97" << true << rows << 2 << rows.mid(0, 1) << 2;
    const QString longValue = "LARGO=" + QString(300, u'x');
    QTest::newRow("300-character value") << "ACCESS97" << true << QStringList{longValue} << 0 << QStringList{longValue}
                                         << 2;
}

void TestQuillon::createsProperties()
{
    QFETCH(QString, table);
    QFETCH(bool, tableExists);
    QFETCH(QStringList, rows);
    QFETCH(int, failingFetch);
    QFETCH(QStringList, expected);
    QFETCH(int, fetches);

    FakeInstaller installer;
    if (tableExists)
        installer.tables[table.toStdString()] = pairs(rows);
    installer.failingFetch = failingFetch;

    QCOMPARE(quillon::createAccessProps(installer, FakeInstaller::install, table.toStdString().c_str()), success);
    QCOMPARE(installer.queries, std::vector<std::string>{"SELECT * FROM " + table.toStdString()});
    QCOMPARE(setInOrder(installer), expected);
    QCOMPARE(installer.fetches, fetches);
    QCOMPARE(installer.openHandles(), std::size_t{0});
}

void TestQuillon::resolvesFolders_data()
{
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QStringList>("properties");
    QTest::addColumn<QStringList>("expected");

    const QString folder = "INSTALLDIR=C:\\Vendrix\\";
    QTest::newRow("the five names in order")
        << ""
        << QStringList{folder,
                       "WORKGROUPFILE=[INSTALLDIR]\\System.mdw",
                       "ICON=[INSTALLDIR]\\Vendrix.ico",
                       "DATABASEFILE=[INSTALLDIR]\\Tienda.mdb",
                       "SPLASHSCREEN=[INSTALLDIR]\\Logo.bmp",
                       "HELPFILE=[INSTALLDIR]\\Ayuda.hlp",
                       "DATABASEFILEDEU=[INSTALLDIR]\\Deu.mdb"}
        << QStringList{"DATABASEFILE=C:\\Vendrix\\Tienda.mdb", "HELPFILE=C:\\Vendrix\\Ayuda.hlp",
                       "ICON=C:\\Vendrix\\Vendrix.ico", "SPLASHSCREEN=C:\\Vendrix\\Logo.bmp",
                       "WORKGROUPFILE=C:\\Vendrix\\System.mdw"};
    QTest::newRow("DEU set only") << "DEU"
                                  << QStringList{folder, "DATABASEFILE=[INSTALLDIR]\\Tienda.mdb",
                                                 "DATABASEFILEDEU=[INSTALLDIR]\\Deu.mdb", "ICONDEU=[INSTALLDIR]D.ico"}
                                  << QStringList{"DATABASEFILEDEU=C:\\Vendrix\\Deu.mdb", "ICONDEU=C:\\Vendrix\\D.ico"};
    QTest::newRow("JPN set only") << "JPN"
                                  << QStringList{folder, "HELPFILEDEU=[INSTALLDIR]\\Deu.hlp",
                                                 "HELPFILEJPN=[INSTALLDIR]\\Jpn.hlp"}
                                  << QStringList{"HELPFILEJPN=C:\\Vendrix\\Jpn.hlp"};
    QTest::newRow("no backslash after ]") << "" << QStringList{folder, "DATABASEFILE=[INSTALLDIR]Tienda.mdb"}
                                          << QStringList{"DATABASEFILE=C:\\Vendrix\\Tienda.mdb"};
    QTest::newRow("folder and file only")
        << "" << QStringList{folder, "DATABASEFILE=[INSTALLDIR]"} << QStringList{"DATABASEFILE=C:\\Vendrix\\"};
    QTest::newRow("no ]") << "" << QStringList{folder, "DATABASEFILE=Tienda.mdb"} << QStringList();
    QTest::newRow("] first") << "" << QStringList{folder, "DATABASEFILE=]\\Tienda.mdb"} << QStringList();
    QTest::newRow("no [ before the folder")
        << "" << QStringList{folder, "DATABASEFILE=(INSTALLDIR]\\Tienda.mdb"} << QStringList();
    QTest::newRow("bracket inside a path")
        << "" << QStringList{folder, "DATABASEFILE=D:\\Datos [2]\\Tienda.mdb"} << QStringList();
    QTest::newRow("empty folder") << "" << QStringList{"INSTALLDIR=", "DATABASEFILE=[INSTALLDIR]\\Tienda.mdb"}
                                  << QStringList();
    QTest::newRow("unknown folder") << "" << QStringList{"DATABASEFILE=[OTRADIR]\\Tienda.mdb"} << QStringList();
    QTest::newRow("unreadable folder") << "" << QStringList{"!INSTALLDIR", "DATABASEFILE=[INSTALLDIR]\\Tienda.mdb"}
                                       << QStringList();
    QTest::newRow("unreadable property") << "" << QStringList{folder, "!DATABASEFILE"} << QStringList();
    const QString longFolder = "C:\\" + QString(290, u'd') + "\\";
    QTest::newRow("folder over 260 characters")
        << "" << QStringList{"INSTALLDIR=" + longFolder, "HELPFILE=[INSTALLDIR]\\Ayuda.hlp"}
        << QStringList{"HELPFILE=" + longFolder + "Ayuda.hlp"};
}

void TestQuillon::resolvesFolders()
{
    QFETCH(QString, suffix);
    QFETCH(QStringList, properties);
    QFETCH(QStringList, expected);

    FakeInstaller installer;
    script(installer, properties);
    QCOMPARE(quillon::resolveAccessProps(installer, FakeInstaller::install, suffix.toStdString().c_str()), success);
    QCOMPARE(setInOrder(installer), expected);
}

void TestQuillon::registersTypeLibrary_data()
{
    QTest::addColumn<QStringList>("properties");
    QTest::addColumn<int>("loadAnswer");
    QTest::addColumn<int>("registerAnswer");
    QTest::addColumn<std::uint32_t>("expected");
    QTest::addColumn<QStringList>("calls");

    const QString folder = "CommonFilesFolder=C:\\Archivos comunes\\";
    const QString path = "C:\\Archivos comunes\\Microsoft Shared\\VBA\\VBA332.dll";
    const int failed = static_cast<int>(0x80029C4A); // the library cannot be loaded
    QTest::newRow("registered") << QStringList{folder} << 0 << 0 << success
                                << QStringList{"load " + path, "register 77 " + path, "release 77"};
    QTest::newRow("folder without backslash")
        << QStringList{"CommonFilesFolder=C:\\Archivos comunes"} << 0 << 0 << success
        << QStringList{"load " + path, "register 77 " + path, "release 77"};
    QTest::newRow("folder unreadable") << QStringList{"!CommonFilesFolder"} << 0 << 0 << installFailure
                                       << QStringList();
    QTest::newRow("folder empty") << QStringList{"CommonFilesFolder="} << 0 << 0 << installFailure << QStringList();
    QTest::newRow("load fails") << QStringList{folder} << failed << 0 << installFailure << QStringList{"load " + path};
    QTest::newRow("register fails") << QStringList{folder} << 0 << failed << installFailure
                                    << QStringList{"load " + path, "register 77 " + path, "release 77"};
}

void TestQuillon::registersTypeLibrary()
{
    QFETCH(QStringList, properties);
    QFETCH(int, loadAnswer);
    QFETCH(int, registerAnswer);
    QFETCH(std::uint32_t, expected);
    QFETCH(QStringList, calls);

    FakeInstaller installer;
    script(installer, properties);
    FakeTypeLibraries libraries;
    libraries.loadAnswer = loadAnswer;
    libraries.registerAnswer = registerAnswer;
    QCOMPARE(quillon::registerAccess97Typelibs(installer, libraries, FakeInstaller::install), expected);
    QStringList made;
    for (const std::string &call : libraries.calls)
        made << QString::fromStdString(call);
    QCOMPARE(made, calls);
}

void TestQuillon::synchronizesProgId_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("value");
    QTest::addColumn<std::uint32_t>("type");
    QTest::addColumn<int>("writes");

    QTest::newRow("CurVer missing") << false << QString() << std::uint32_t{1} << 0;
    QTest::newRow("already 8") << true << "Access.Application.8" << std::uint32_t{1} << 0;
    QTest::newRow("at 9, expandable type kept") << true << "Access.Application.9" << std::uint32_t{2} << 1;
    QTest::newRow("value over 260 bytes") << true << QString(300, u'A') << std::uint32_t{1} << 1;
}

void TestQuillon::synchronizesProgId()
{
    QFETCH(bool, present);
    QFETCH(QString, value);
    QFETCH(std::uint32_t, type);
    QFETCH(int, writes);

    FakeRegistry registry;
    FakeRegistry::make(registry.classes, "Access.Application");
    if (present)
        FakeRegistry::make(registry.classes, "Access.Application\\CurVer").values[""] = text(value.toStdString(), type);
    const RegNode before = registry.classes;

    QCOMPARE(quillon::synchronizeProgId(registry), success);
    QCOMPARE(registry.writes, writes);
    QCOMPARE(registry.openKeys(), std::size_t{0});
    if (writes == 0) {
        QVERIFY(registry.classes == before);
        return;
    }
    const RegValue written = FakeRegistry::find(registry.classes, "Access.Application\\CurVer")->values.at("");
    QCOMPARE(written.type, type);
    RegValue expected = text("Access.Application.8", type);
    expected.data.push_back(0);
    QCOMPARE(written.data, expected.data);
}

void TestQuillon::copiesProfileKeys_data()
{
    QTest::addColumn<QStringList>("properties");
    QTest::addColumn<bool>("accessInstalled");
    QTest::addColumn<bool>("infoFails");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<bool>("profileWritten");

    const QStringList names{"COMPANYNAME=Orvanesys", "PRODUCTNAME=Vendrix", "PRODUCTVERSION=2.0",
                            "USERPROFILE=Mostrador"};
    QTest::newRow("three levels and the Profiles value") << names << true << false << true << true;
    QTest::newRow("key sizes not answered") << names << true << true << true << true;
    QTest::newRow("source key missing") << names << false << false << false << false;
    QTest::newRow("user profile empty") << QStringList{names[0], names[1], names[2], "USERPROFILE="} << true << false
                                        << true << false;
    QTest::newRow("company empty") << QStringList{"COMPANYNAME=", names[1], names[2], names[3]} << true << false
                                   << false << false;
    QTest::newRow("version unreadable") << QStringList{names[0], names[1], "!PRODUCTVERSION", names[3]} << true << false
                                        << false << false;
}

void TestQuillon::copiesProfileKeys()
{
    QFETCH(QStringList, properties);
    QFETCH(bool, accessInstalled);
    QFETCH(bool, infoFails);
    QFETCH(bool, copied);
    QFETCH(bool, profileWritten);

    FakeInstaller installer;
    script(installer, properties);
    FakeRegistry registry;
    registry.infoFails = infoFails;
    if (accessInstalled)
        accessSettings(registry.machine);
    RegNode before = registry.machine;

    QCOMPARE(quillon::copyProfileKeys(installer, registry, FakeInstaller::install), success);
    QCOMPARE(registry.openKeys(), std::size_t{0});
    QCOMPARE(installer.openHandles(), std::size_t{0});
    const std::string productKey = "Software\\Orvanesys\\Vendrix\\2.0";
    const RegNode *product = FakeRegistry::find(registry.machine, productKey);
    if (!copied) {
        QCOMPARE(registry.writes, 0);
        // Without all three names nothing at all is made; without the settings an empty key.
        QVERIFY(accessInstalled ? registry.machine == before : product && *product == RegNode());
        return;
    }
    QVERIFY(product);
    QVERIFY(*product == *FakeRegistry::find(before, accessKey));

    const RegNode &profiles = *FakeRegistry::find(registry.machine, accessKey + "\\Profiles");
    QCOMPARE(profiles.values.size(), std::size_t{profileWritten ? 2u : 1u});
    QCOMPARE(profiles.values.at("").data, text("Perfiles").data);
    if (profileWritten) {
        std::vector<std::uint8_t> padded(260, 0);
        std::copy(productKey.begin(), productKey.end(), padded.begin());
        QCOMPARE(profiles.values.at("Mostrador"), (RegValue{quillon::Registry::stringType, padded}));
    }
}

// A product key inside the Access key would hold a copy of itself, and that copy another.
void TestQuillon::doesNotCopyAccessIntoItself()
{
    FakeInstaller installer;
    script(installer, {"COMPANYNAME=Microsoft", "PRODUCTNAME=Office", "PRODUCTVERSION=8.0\\Access\\Copia",
                       "USERPROFILE=Mostrador"});
    FakeRegistry registry;
    accessSettings(registry.machine);

    QCOMPARE(quillon::copyProfileKeys(installer, registry, FakeInstaller::install), success);
    QCOMPARE(registry.openKeys(), std::size_t{0});
    QVERIFY(*FakeRegistry::find(registry.machine, accessKey + "\\Copia") == RegNode());
}

QTEST_GUILESS_MAIN(TestQuillon)
#include "tst_quillon.moc"
