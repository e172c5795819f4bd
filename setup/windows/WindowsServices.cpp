#include "setup/windows/WindowsServices.h"

#include <windows.h>

#include <msi.h>
#include <msiquery.h>
#include <oleauto.h>

#include <string>

namespace quillon {

namespace {

HKEY toKey(RegistryKey key)
{
    if (key == Registry::classesRoot)
        return HKEY_CLASSES_ROOT;
    if (key == Registry::localMachine)
        return HKEY_LOCAL_MACHINE;
    return reinterpret_cast<HKEY>(key);
}

REGSAM toAccess(Registry::Access access)
{
    switch (access) {
    case Registry::Access::Read:
        return KEY_READ;
    case Registry::Access::ReadWriteValues:
        return KEY_QUERY_VALUE | KEY_SET_VALUE;
    case Registry::Access::All:
        break;
    }
    return KEY_ALL_ACCESS;
}

std::uint32_t answer(LONG code)
{
    return static_cast<std::uint32_t>(code);
}

// Type library paths are wide; installer properties are in the system's code page.
std::wstring wide(const char *text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, result.data(), length);
    result.resize(static_cast<std::size_t>(length - 1));
    return result;
}

} // namespace

InstallerHandle MsiInstaller::activeDatabase(InstallerHandle install)
{
    return MsiGetActiveDatabase(install);
}

std::uint32_t MsiInstaller::openView(InstallerHandle database, const char *query, InstallerHandle *view)
{
    MSIHANDLE handle = 0;
    const UINT code = MsiDatabaseOpenViewA(database, query, &handle);
    *view = handle;
    return code;
}

std::uint32_t MsiInstaller::execute(InstallerHandle view)
{
    return MsiViewExecute(view, 0);
}

std::uint32_t MsiInstaller::fetch(InstallerHandle view, InstallerHandle *record)
{
    MSIHANDLE handle = 0;
    const UINT code = MsiViewFetch(view, &handle);
    *record = handle;
    return code;
}

std::uint32_t MsiInstaller::recordString(InstallerHandle record, std::uint32_t field, char *buffer, std::uint32_t *size)
{
    DWORD room = *size;
    const UINT code = MsiRecordGetStringA(record, field, buffer, &room);
    *size = room;
    return code;
}

std::uint32_t MsiInstaller::property(InstallerHandle install, const char *name, char *buffer, std::uint32_t *size)
{
    DWORD room = *size;
    const UINT code = MsiGetPropertyA(install, name, buffer, &room);
    *size = room;
    return code;
}

std::uint32_t MsiInstaller::setProperty(InstallerHandle install, const char *name, const char *value)
{
    return MsiSetPropertyA(install, name, value);
}

std::uint32_t MsiInstaller::close(InstallerHandle handle)
{
    return MsiCloseHandle(handle);
}

std::uint32_t WindowsRegistry::openKey(RegistryKey parent, const char *path, Access access, RegistryKey *key)
{
    HKEY opened = nullptr;
    const LONG code = RegOpenKeyExA(toKey(parent), path, 0, toAccess(access), &opened);
    *key = reinterpret_cast<RegistryKey>(opened);
    return answer(code);
}

std::uint32_t WindowsRegistry::createKey(RegistryKey parent, const char *path, Access access, RegistryKey *key)
{
    HKEY created = nullptr;
    const LONG code = RegCreateKeyExA(toKey(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE, toAccess(access),
                                      nullptr, &created, nullptr);
    *key = reinterpret_cast<RegistryKey>(created);
    return answer(code);
}

std::uint32_t WindowsRegistry::queryValue(RegistryKey key, const char *name, std::uint32_t *type, std::uint8_t *data,
                                          std::uint32_t *size)
{
    DWORD valueType = 0;
    DWORD room = *size;
    const LONG code = RegQueryValueExA(toKey(key), name, nullptr, &valueType, data, &room);
    *type = valueType;
    *size = room;
    return answer(code);
}

std::uint32_t WindowsRegistry::setValue(RegistryKey key, const char *name, std::uint32_t type, const std::uint8_t *data,
                                        std::uint32_t size)
{
    return answer(RegSetValueExA(toKey(key), name, 0, type, data, size));
}

std::uint32_t WindowsRegistry::enumValue(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize,
                                         std::uint32_t *type, std::uint8_t *data, std::uint32_t *dataSize)
{
    DWORD nameRoom = *nameSize;
    DWORD dataRoom = *dataSize;
    DWORD valueType = 0;
    const LONG code = RegEnumValueA(toKey(key), index, name, &nameRoom, nullptr, &valueType, data, &dataRoom);
    *nameSize = nameRoom;
    *dataSize = dataRoom;
    *type = valueType;
    return answer(code);
}

std::uint32_t WindowsRegistry::enumKey(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize)
{
    DWORD room = *nameSize;
    const LONG code = RegEnumKeyExA(toKey(key), index, name, &room, nullptr, nullptr, nullptr, nullptr);
    *nameSize = room;
    return answer(code);
}

std::uint32_t WindowsRegistry::queryInfo(RegistryKey key, KeyInfo *info)
{
    DWORD subKeyName = 0;
    DWORD valueName = 0;
    DWORD valueData = 0;
    const LONG code = RegQueryInfoKeyA(toKey(key), nullptr, nullptr, nullptr, nullptr, &subKeyName, nullptr, nullptr,
                                       &valueName, &valueData, nullptr, nullptr);
    *info = {subKeyName, valueName, valueData};
    return answer(code);
}

std::uint32_t WindowsRegistry::closeKey(RegistryKey key)
{
    return answer(RegCloseKey(toKey(key)));
}

std::int32_t OleTypeLibraries::load(const char *path, TypeLibrary *library)
{
    ITypeLib *loaded = nullptr;
    const HRESULT code = LoadTypeLib(wide(path).c_str(), &loaded);
    *library = reinterpret_cast<TypeLibrary>(loaded);
    return code;
}

std::int32_t OleTypeLibraries::registerLibrary(TypeLibrary library, const char *path)
{
    std::wstring location = wide(path);
    return RegisterTypeLib(reinterpret_cast<ITypeLib *>(library), location.data(), nullptr);
}

void OleTypeLibraries::release(TypeLibrary library)
{
    if (library != 0)
        reinterpret_cast<ITypeLib *>(library)->Release();
}

} // namespace quillon
