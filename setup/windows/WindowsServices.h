#pragma once

#include "setup/Installer.h"
#include "setup/Registry.h"
#include "setup/TypeLibraries.h"

// The three services over msi.dll, advapi32 and oleaut32, one system call per member.
namespace quillon {

class MsiInstaller final : public Installer {
public:
    InstallerHandle activeDatabase(InstallerHandle install) override;
    std::uint32_t openView(InstallerHandle database, const char *query, InstallerHandle *view) override;
    std::uint32_t execute(InstallerHandle view) override;
    std::uint32_t fetch(InstallerHandle view, InstallerHandle *record) override;
    std::uint32_t recordString(InstallerHandle record, std::uint32_t field, char *buffer, std::uint32_t *size) override;
    std::uint32_t property(InstallerHandle install, const char *name, char *buffer, std::uint32_t *size) override;
    std::uint32_t setProperty(InstallerHandle install, const char *name, const char *value) override;
    std::uint32_t close(InstallerHandle handle) override;
};

class WindowsRegistry final : public Registry {
public:
    std::uint32_t openKey(RegistryKey parent, const char *path, Access access, RegistryKey *key) override;
    std::uint32_t createKey(RegistryKey parent, const char *path, Access access, RegistryKey *key) override;
    std::uint32_t queryValue(RegistryKey key, const char *name, std::uint32_t *type, std::uint8_t *data,
                             std::uint32_t *size) override;
    std::uint32_t setValue(RegistryKey key, const char *name, std::uint32_t type, const std::uint8_t *data,
                           std::uint32_t size) override;
    std::uint32_t enumValue(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize,
                            std::uint32_t *type, std::uint8_t *data, std::uint32_t *dataSize) override;
    std::uint32_t enumKey(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize) override;
    std::uint32_t queryInfo(RegistryKey key, KeyInfo *info) override;
    std::uint32_t closeKey(RegistryKey key) override;
};

class OleTypeLibraries final : public TypeLibraries {
public:
    std::int32_t load(const char *path, TypeLibrary *library) override;
    std::int32_t registerLibrary(TypeLibrary library, const char *path) override;
    void release(TypeLibrary library) override;
};

} // namespace quillon
