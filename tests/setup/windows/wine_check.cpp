// Runs quillon.dll's nine actions against a package made here with msi.dll and against the
// registry of the Wine prefix it runs in. Prints one line per failed check; the exit status
// is the number of failures.
//   quillon-wine-check QUILLON.DLL WORKFOLDER
#include <windows.h>

#include <msi.h>
#include <msiquery.h>
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

int failures = 0;

void check(bool ok, const std::string &what)
{
    if (!ok) {
        ++failures;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

void run(MSIHANDLE database, const char *sql)
{
    MSIHANDLE view = 0;
    UINT code = MsiDatabaseOpenViewA(database, sql, &view);
    if (code == ERROR_SUCCESS)
        code = MsiViewExecute(view, 0);
    check(code == ERROR_SUCCESS, std::string("statement answered ") + std::to_string(code) + ": " + sql);
    MsiCloseHandle(view);
}

std::string property(MSIHANDLE package, const char *name)
{
    DWORD size = 0;
    char empty[1] = "";
    MsiGetPropertyA(package, name, empty, &size);
    std::string value(size + 1, '\0');
    size = static_cast<DWORD>(value.size());
    MsiGetPropertyA(package, name, value.data(), &size);
    value.resize(size);
    return value;
}

void expectProperty(MSIHANDLE package, const char *name, const std::string &expected)
{
    const std::string value = property(package, name);
    check(value == expected, std::string(name) + " is \"" + value + "\", expected \"" + expected + "\"");
}

std::string registryText(HKEY root, const char *path, const char *name, DWORD *size = nullptr)
{
    char data[2048] = {};
    DWORD room = sizeof data;
    const LONG code = RegGetValueA(root, path, name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, data, &room);
    if (size)
        *size = room;
    return code == ERROR_SUCCESS ? std::string(data) : std::string("<missing>");
}

void setValue(HKEY root, const char *path, const char *name, DWORD type, const void *data, DWORD size)
{
    HKEY key = nullptr;
    LONG code = RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (code == ERROR_SUCCESS)
        code = RegSetValueExA(key, name, 0, type, static_cast<const BYTE *>(data), size);
    check(code == ERROR_SUCCESS, std::string("preparing ") + path);
    RegCloseKey(key);
}

void setText(HKEY root, const char *path, const char *name, const std::string &text)
{
    setValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// A package of our own: the Access tables (no ACCESS97JPN: a missing table must not hang) and
// the summary information without which the installer refuses to open it (1620).
MSIHANDLE makeDatabase(const std::string &path, const std::string &longValue)
{
    MSIHANDLE database = 0;
    check(MsiOpenDatabaseA(path.c_str(), MSIDBOPEN_CREATE, &database) == ERROR_SUCCESS, "creating " + path);
    run(database, "CREATE TABLE `Property` (`Property` CHAR(72) NOT NULL, `Value` LONGCHAR NOT NULL "
                  "PRIMARY KEY `Property`)");
    for (const char *table : {"ACCESS97", "ACCESS97DEU"}) {
        run(database, (std::string("CREATE TABLE `") + table +
                       "` (`Property` CHAR(72) NOT NULL, `Value` LONGCHAR PRIMARY KEY `Property`)")
                          .c_str());
    }
    run(database, "INSERT INTO `ACCESS97` (`Property`, `Value`) VALUES ('DATABASEFILE', '[INSTALLDIR]\\Tienda.mdb')");
    run(database, "INSERT INTO `ACCESS97` (`Property`, `Value`) VALUES ('HELPFILE', '[INSTALLDIR]Ayuda.hlp')");
    run(database, "INSERT INTO `ACCESS97` (`Property`, `Value`) VALUES ('ICON', 'Vendrix.ico')");
    run(database, ("INSERT INTO `ACCESS97` (`Property`, `Value`) VALUES ('LARGO', '" + longValue + "')").c_str());
    run(database,
        "INSERT INTO `ACCESS97DEU` (`Property`, `Value`) VALUES ('DATABASEFILEDEU', '[INSTALLDIR]\\Deu.mdb')");

    MSIHANDLE summary = 0;
    check(MsiGetSummaryInformationA(database, nullptr, 4, &summary) == ERROR_SUCCESS, "summary information");
    FILETIME none{};
    MsiSummaryInfoSetPropertyA(summary, 7, VT_LPSTR, 0, &none, "x64;1033");
    MsiSummaryInfoSetPropertyA(summary, 9, VT_LPSTR, 0, &none, "{6F4A3E2B-1C0D-4E8F-9A7B-5C6D7E8F9A0B}");
    MsiSummaryInfoSetPropertyA(summary, 14, VT_I4, 200, &none, nullptr);
    MsiSummaryInfoSetPropertyA(summary, 15, VT_I4, 2, &none, nullptr);
    check(MsiSummaryInfoPersist(summary) == ERROR_SUCCESS, "persisting the summary information");
    MsiCloseHandle(summary);
    check(MsiDatabaseCommit(database) == ERROR_SUCCESS, "committing the package");
    return database;
}

// A small type library written where the runtime's VBA library lives.
const GUID vbaLibrary = {0x3c1f2a90, 0x5d2e, 0x4b7a, {0x9e, 0x11, 0x2f, 0x60, 0x7a, 0x83, 0x44, 0x10}};

bool writeTypeLibrary(const std::string &path)
{
    std::wstring widePath(path.begin(), path.end());
    ICreateTypeLib2 *library = nullptr;
    if (FAILED(CreateTypeLib2(SYS_WIN64, widePath.c_str(), &library)))
        return false;
    wchar_t name[] = L"VBAPrueba";
    GUID guid = vbaLibrary;
    const bool ok = SUCCEEDED(library->SetGuid(guid)) && SUCCEEDED(library->SetName(name)) &&
                    SUCCEEDED(library->SetVersion(3, 0)) && SUCCEEDED(library->SaveAllChanges());
    library->Release();
    return ok;
}

using Action = UINT(__stdcall *)(MSIHANDLE);

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::printf("usage: quillon-wine-check QUILLON.DLL WORKFOLDER\n");
        return 100;
    }
    const std::string work = std::string(argv[2]) + "\\";
    const std::string longValue(300, 'x');
    const MSIHANDLE database = makeDatabase(work + "check.msi", longValue);
    MSIHANDLE package = 0;
    const UINT opened = MsiOpenPackageA(("#" + std::to_string(database)).c_str(), &package);
    check(opened == ERROR_SUCCESS, "MsiOpenPackage answered " + std::to_string(opened));
    if (opened != ERROR_SUCCESS)
        return failures;

    const std::string common = work + "common\\";
    const std::string vba = common + "Microsoft Shared\\VBA\\";
    CreateDirectoryA(common.c_str(), nullptr);
    CreateDirectoryA((common + "Microsoft Shared").c_str(), nullptr);
    CreateDirectoryA(vba.c_str(), nullptr);
    MsiSetPropertyA(package, "INSTALLDIR", "C:\\Vendrix\\");
    MsiSetPropertyA(package, "CommonFilesFolder", common.c_str());
    MsiSetPropertyA(package, "COMPANYNAME", "Orvanesys");
    MsiSetPropertyA(package, "PRODUCTNAME", "Vendrix");
    MsiSetPropertyA(package, "PRODUCTVERSION", "2.0");
    MsiSetPropertyA(package, "USERPROFILE", "Mostrador");

    const char *access = "Software\\Microsoft\\Office\\8.0\\Access";
    setText(HKEY_CLASSES_ROOT, "Access.Application\\CurVer", nullptr, "Access.Application.9");
    setText(HKEY_LOCAL_MACHINE, access, nullptr, "Access 97");
    std::vector<BYTE> large(1000);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<BYTE>(i % 251);
    setValue(HKEY_LOCAL_MACHINE, access, "Largo", REG_BINARY, large.data(), static_cast<DWORD>(large.size()));
    setText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\8.0\\Access\\Settings\\Nivel3", "Fondo", "Gris");
    setText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\8.0\\Access\\Profiles", nullptr, "Perfiles");

    const HMODULE dll = LoadLibraryA(argv[1]);
    check(dll != nullptr, std::string("loading ") + argv[1]);
    if (!dll)
        return failures;
    auto action = [&](const char *name) {
        const auto entry = reinterpret_cast<Action>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
        check(entry != nullptr, std::string("no export ") + name);
        return entry ? entry(package) : 0xFFFFFFFFu;
    };
    auto expectResult = [&](const char *name, UINT expected) {
        const UINT answered = action(name);
        check(answered == expected,
              std::string(name) + " answered " + std::to_string(answered) + ", expected " + std::to_string(expected));
    };

    expectResult("CreateAccessProps", 0);
    expectProperty(package, "DATABASEFILE", "[INSTALLDIR]\\Tienda.mdb");
    expectProperty(package, "LARGO", longValue);
    expectResult("CreateAccessPropsDEU", 0);
    expectProperty(package, "DATABASEFILEDEU", "[INSTALLDIR]\\Deu.mdb");
    expectResult("CreateAccessPropsJPN", 0);

    expectResult("ResolveAccessProps", 0);
    expectProperty(package, "DATABASEFILE", "C:\\Vendrix\\Tienda.mdb");
    expectProperty(package, "HELPFILE", "C:\\Vendrix\\Ayuda.hlp");
    expectProperty(package, "ICON", "Vendrix.ico");
    expectResult("ResolveAccessPropsDeu", 0);
    expectProperty(package, "DATABASEFILEDEU", "C:\\Vendrix\\Deu.mdb");
    expectResult("ResolveAccessPropsJpn", 0);

    expectResult("RegisterAccess97Typelibs", ERROR_INSTALL_FAILURE);
    check(writeTypeLibrary(vba + "VBA332.dll"), "writing the type library");
    expectResult("RegisterAccess97Typelibs", 0);
    const std::string registered =
        registryText(HKEY_CLASSES_ROOT, "TypeLib\\{3C1F2A90-5D2E-4B7A-9E11-2F607A834410}\\3.0\\0\\win64", nullptr);
    check(registered == vba + "VBA332.dll", "type library registered at \"" + registered + "\"");

    expectResult("SynchronizeProgID", 0);
    check(registryText(HKEY_CLASSES_ROOT, "Access.Application\\CurVer", nullptr) == "Access.Application.8",
          "CurVer not set to Access.Application.8");

    expectResult("CopyProfileKeys", 0);
    const char *copy = "Software\\Orvanesys\\Vendrix\\2.0";
    check(registryText(HKEY_LOCAL_MACHINE, copy, nullptr) == "Access 97", "default value not copied");
    check(registryText(HKEY_LOCAL_MACHINE, "Software\\Orvanesys\\Vendrix\\2.0\\Settings\\Nivel3", "Fondo") == "Gris",
          "third level not copied");
    std::vector<BYTE> copied(2000);
    DWORD copiedSize = static_cast<DWORD>(copied.size());
    RegGetValueA(HKEY_LOCAL_MACHINE, copy, "Largo", RRF_RT_REG_BINARY, nullptr, copied.data(), &copiedSize);
    copied.resize(copiedSize);
    check(copied == large, "1000-byte value not copied whole (" + std::to_string(copiedSize) + " bytes)");
    DWORD profileSize = 0;
    const std::string profile = registryText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Office\\8.0\\Access\\Profiles",
                                             "Mostrador", &profileSize);
    check(profile == copy && profileSize == 260,
          "Profiles value is \"" + profile + "\" of " + std::to_string(profileSize) + " bytes");

    FreeLibrary(dll);
    MsiCloseHandle(package);
    MsiCloseHandle(database);
    std::printf("%d failed checks\n", failures);
    return failures;
}
