#include "setup/Actions.h"
#include "setup/WholeText.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace quillon {

namespace {

constexpr const char *curVerKey = "Access.Application\\CurVer";
constexpr const char *accessKey = "Software\\Microsoft\\Office\\8.0\\Access";
constexpr const char *profilesKey = "Software\\Microsoft\\Office\\8.0\\Access\\Profiles";
constexpr const char currentVersion[] = "Access.Application.8";
// The 20 characters and two zero bytes, as the runtime's own setup writes them.
constexpr std::uint32_t currentVersionBytes = 22;
// A key changed between two calls is asked again this often before the walk gives up on it.
constexpr int maxRetries = 3;

// A registry value read into a buffer grown to the size the registry reports.
struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

std::optional<Value> queryDefaultValue(Registry &registry, RegistryKey key)
{
    Value value;
    value.data.resize(usualRoom);
    for (int attempt = 0; attempt < maxRetries; ++attempt) {
        auto size = static_cast<std::uint32_t>(value.data.size());
        const std::uint32_t answer = registry.queryValue(key, "", &value.type, value.data.data(), &size);
        if (answer == result::success) {
            value.data.resize(std::min<std::size_t>(size, value.data.size()));
            return value;
        }
        if (answer != result::moreData)
            return std::nullopt;
        value.data.resize(size);
    }
    return std::nullopt;
}

// The text of string data: up to its first zero byte.
std::string text(const std::vector<std::uint8_t> &data)
{
    const auto end = std::find(data.begin(), data.end(), std::uint8_t{0});
    return {data.begin(), end};
}

bool startsWithKey(const std::string &path, const std::string &key)
{
    if (path.size() < key.size() || (path.size() > key.size() && path[key.size()] != '\\'))
        return false;
    return std::equal(key.begin(), key.end(), path.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// Buffers as large as the key's longest name and data, never smaller than the usual room.
// Each new fit also doubles the name buffer: the registry reports the size of data that did
// not fit, but not that of a name.
struct Buffers {
    std::string name;
    std::vector<std::uint8_t> data;

    void fit(Registry &registry, RegistryKey key, std::uint32_t reportedData)
    {
        KeyInfo info;
        if (registry.queryInfo(key, &info) != result::success)
            info = {};
        const std::size_t longestName = std::max(info.longestValueName, info.longestSubKeyName);
        name.resize(std::max({name.size() * 2, std::size_t{usualRoom}, longestName + 1}));
        data.resize(std::max(
            {std::size_t{usualRoom}, std::size_t{info.longestValueData}, std::size_t{reportedData}, data.size()}));
    }
};

void copyValues(Registry &registry, RegistryKey source, RegistryKey destination, Buffers &buffers)
{
    int retries = 0;
    for (std::uint32_t index = 0;;) {
        auto nameSize = static_cast<std::uint32_t>(buffers.name.size());
        auto dataSize = static_cast<std::uint32_t>(buffers.data.size());
        std::uint32_t type = 0;
        const std::uint32_t answer =
            registry.enumValue(source, index, buffers.name.data(), &nameSize, &type, buffers.data.data(), &dataSize);
        if (answer == result::moreData && retries++ < maxRetries) {
            buffers.fit(registry, source, dataSize);
            continue;
        }
        if (answer != result::success)
            return;
        const std::string name(buffers.name.data(), std::min<std::size_t>(nameSize, buffers.name.size()));
        registry.setValue(destination, name.c_str(), type, buffers.data.data(), dataSize);
        retries = 0;
        ++index;
    }
}

void copyTree(Registry &registry, RegistryKey source, RegistryKey destination)
{
    Buffers buffers;
    buffers.fit(registry, source, 0);
    copyValues(registry, source, destination, buffers);
    int retries = 0;
    for (std::uint32_t index = 0;;) {
        auto nameSize = static_cast<std::uint32_t>(buffers.name.size());
        const std::uint32_t answer = registry.enumKey(source, index, buffers.name.data(), &nameSize);
        if (answer == result::moreData && retries++ < maxRetries) {
            buffers.fit(registry, source, 0);
            continue;
        }
        if (answer != result::success)
            return;
        const std::string name(buffers.name.data(), std::min<std::size_t>(nameSize, buffers.name.size()));
        RegistryKey sourceChild = 0;
        if (registry.openKey(source, name.c_str(), Registry::Access::Read, &sourceChild) == result::success) {
            RegistryKey destinationChild = 0;
            if (registry.createKey(destination, name.c_str(), Registry::Access::All, &destinationChild) ==
                result::success) {
                copyTree(registry, sourceChild, destinationChild);
                registry.closeKey(destinationChild);
            }
            registry.closeKey(sourceChild);
        }
        retries = 0;
        ++index;
    }
}

} // namespace

std::uint32_t synchronizeProgId(Registry &registry)
{
    RegistryKey key = 0;
    if (registry.openKey(Registry::classesRoot, curVerKey, Registry::Access::ReadWriteValues, &key) != result::success)
        return result::success;
    const auto value = queryDefaultValue(registry, key);
    if (value && text(value->data) != currentVersion) {
        std::uint8_t data[currentVersionBytes] = {};
        std::copy(std::begin(currentVersion), std::end(currentVersion) - 1, data);
        registry.setValue(key, "", value->type, data, currentVersionBytes);
    }
    registry.closeKey(key);
    return result::success;
}

std::uint32_t copyProfileKeys(Installer &installer, Registry &registry, InstallerHandle install)
{
    const auto company = readProperty(installer, install, "COMPANYNAME");
    const auto product = readProperty(installer, install, "PRODUCTNAME");
    const auto version = readProperty(installer, install, "PRODUCTVERSION");
    const auto profile = readProperty(installer, install, "USERPROFILE");
    // Without all three names the key would land somewhere else (even "Software\\\\" itself).
    if (!company || !product || !version || company->empty() || product->empty() || version->empty())
        return result::success;
    const std::string productKey = "Software\\" + *company + "\\" + *product + "\\" + *version;

    RegistryKey destination = 0;
    if (registry.createKey(Registry::localMachine, productKey.c_str(), Registry::Access::All, &destination) ==
        result::success) {
        RegistryKey source = 0;
        if (registry.openKey(Registry::localMachine, accessKey, Registry::Access::Read, &source) == result::success) {
            // A product key inside the Access key would copy itself without end.
            if (!startsWithKey(productKey, accessKey))
                copyTree(registry, source, destination);
            registry.closeKey(source);
        }
        registry.closeKey(destination);
    }

    // An empty name would overwrite the Profiles key's own default value.
    if (!profile || profile->empty())
        return result::success;
    RegistryKey profiles = 0;
    if (registry.openKey(Registry::localMachine, profilesKey, Registry::Access::ReadWriteValues, &profiles) ==
        result::success) {
        std::vector<std::uint8_t> data(std::max<std::size_t>(usualRoom, productKey.size() + 1), 0);
        std::copy(productKey.begin(), productKey.end(), data.begin());
        registry.setValue(profiles, profile->c_str(), Registry::stringType, data.data(),
                          static_cast<std::uint32_t>(data.size()));
        registry.closeKey(profiles);
    }
    return result::success;
}

} // namespace quillon
