#pragma once

#include "setup/QuillonExport.h"

#include <cstdint>

namespace quillon {

// An open registry key, or one of the two predefined roots below.
using RegistryKey = std::uintptr_t;

// What RegistryKey::queryInfo reports: the longest sub key name and value name in characters
// without the terminating zero, the longest value data in bytes.
struct KeyInfo {
    std::uint32_t longestSubKeyName = 0;
    std::uint32_t longestValueName = 0;
    std::uint32_t longestValueData = 0;
};

// The registry, one call each, answering the registry's result codes (success, fileNotFound,
// moreData, noMoreItems). Name sizes count characters as the installer's do; data sizes count
// bytes, and a value that does not fit answers moreData with the size it needs.
class QUILLON_EXPORT Registry {
public:
    static constexpr RegistryKey classesRoot = 0x80000000u;
    static constexpr RegistryKey localMachine = 0x80000002u;
    static constexpr std::uint32_t stringType = 1;

    enum class Access { Read, ReadWriteValues, All };

    virtual ~Registry() = default;

    virtual std::uint32_t openKey(RegistryKey parent, const char *path, Access access, RegistryKey *key) = 0;
    // Opens the key, creating it and any missing key above it first.
    virtual std::uint32_t createKey(RegistryKey parent, const char *path, Access access, RegistryKey *key) = 0;
    // An empty name is the key's default value.
    virtual std::uint32_t queryValue(RegistryKey key, const char *name, std::uint32_t *type, std::uint8_t *data,
                                     std::uint32_t *size) = 0;
    virtual std::uint32_t setValue(RegistryKey key, const char *name, std::uint32_t type, const std::uint8_t *data,
                                   std::uint32_t size) = 0;
    virtual std::uint32_t enumValue(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize,
                                    std::uint32_t *type, std::uint8_t *data, std::uint32_t *dataSize) = 0;
    virtual std::uint32_t enumKey(RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize) = 0;
    virtual std::uint32_t queryInfo(RegistryKey key, KeyInfo *info) = 0;
    virtual std::uint32_t closeKey(RegistryKey key) = 0;
};

} // namespace quillon
