#pragma once

#include "FakeInstaller.h"
#include "setup/Registry.h"
#include "setup/TypeLibraries.h"

#include <map>
#include <string>
#include <vector>

struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValue &) const = default;
};

struct RegNode {
    std::map<std::string, RegValue> values;
    std::map<std::string, RegNode> keys;
    bool operator==(const RegNode &) const = default;
};

// A registry tree in memory with the two roots the actions use, the open keys, the number of
// values written, and a key-info call that can be made to fail.
class FakeRegistry : public quillon::Registry {
public:
    RegNode classes;
    RegNode machine;
    int writes = 0;
    bool infoFails = false;

    std::size_t openKeys() const { return m_open.size(); }

    static RegNode &make(RegNode &root, const std::string &path)
    {
        RegNode *node = &root;
        for (const std::string &part : split(path))
            node = &node->keys[part];
        return *node;
    }
    static RegNode *find(RegNode &root, const std::string &path)
    {
        RegNode *node = &root;
        for (const std::string &part : split(path)) {
            const auto found = node->keys.find(part);
            if (found == node->keys.end())
                return nullptr;
            node = &found->second;
        }
        return node;
    }

    std::uint32_t openKey(quillon::RegistryKey parent, const char *path, Access, quillon::RegistryKey *key) override
    {
        RegNode *node = resolve(parent);
        if (!node)
            return quillon::result::invalidHandle;
        RegNode *found = find(*node, path);
        return found ? hand(found, key) : quillon::result::fileNotFound;
    }
    std::uint32_t createKey(quillon::RegistryKey parent, const char *path, Access, quillon::RegistryKey *key) override
    {
        RegNode *node = resolve(parent);
        return node ? hand(&make(*node, path), key) : quillon::result::invalidHandle;
    }
    std::uint32_t queryValue(quillon::RegistryKey key, const char *name, std::uint32_t *type, std::uint8_t *data,
                             std::uint32_t *size) override
    {
        const RegNode *node = resolve(key);
        if (!node)
            return quillon::result::invalidHandle;
        const auto found = node->values.find(name);
        if (found == node->values.end())
            return quillon::result::fileNotFound;
        *type = found->second.type;
        return answerData(found->second.data, data, size);
    }
    std::uint32_t setValue(quillon::RegistryKey key, const char *name, std::uint32_t type, const std::uint8_t *data,
                           std::uint32_t size) override
    {
        RegNode *node = resolve(key);
        if (!node)
            return quillon::result::invalidHandle;
        ++writes;
        node->values[name] = {type, {data, data + size}};
        return quillon::result::success;
    }
    std::uint32_t enumValue(quillon::RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize,
                            std::uint32_t *type, std::uint8_t *data, std::uint32_t *dataSize) override
    {
        const RegNode *node = resolve(key);
        if (!node)
            return quillon::result::invalidHandle;
        if (index >= node->values.size())
            return quillon::result::noMoreItems;
        const auto &[valueName, value] = *std::next(node->values.begin(), index);
        if (valueName.size() >= *nameSize || value.data.size() > *dataSize) {
            *dataSize = static_cast<std::uint32_t>(value.data.size());
            return quillon::result::moreData;
        }
        answerText(valueName, name, nameSize);
        *type = value.type;
        return answerData(value.data, data, dataSize);
    }
    std::uint32_t enumKey(quillon::RegistryKey key, std::uint32_t index, char *name, std::uint32_t *nameSize) override
    {
        const RegNode *node = resolve(key);
        if (!node)
            return quillon::result::invalidHandle;
        if (index >= node->keys.size())
            return quillon::result::noMoreItems;
        return answerText(std::next(node->keys.begin(), index)->first, name, nameSize);
    }
    std::uint32_t queryInfo(quillon::RegistryKey key, quillon::KeyInfo *info) override
    {
        const RegNode *node = resolve(key);
        if (!node || infoFails)
            return quillon::result::invalidHandle;
        *info = {};
        for (const auto &[name, child] : node->keys)
            info->longestSubKeyName = std::max<std::uint32_t>(info->longestSubKeyName, name.size());
        for (const auto &[name, value] : node->values) {
            info->longestValueName = std::max<std::uint32_t>(info->longestValueName, name.size());
            info->longestValueData = std::max<std::uint32_t>(info->longestValueData, value.data.size());
        }
        return quillon::result::success;
    }
    std::uint32_t closeKey(quillon::RegistryKey key) override
    {
        return m_open.erase(key) ? quillon::result::success : quillon::result::invalidHandle;
    }

private:
    static std::vector<std::string> split(const std::string &path)
    {
        std::vector<std::string> parts;
        std::size_t start = 0;
        while (start < path.size()) {
            const std::size_t end = std::min(path.find('\\', start), path.size());
            if (end > start)
                parts.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        return parts;
    }
    static std::uint32_t answerData(const std::vector<std::uint8_t> &value, std::uint8_t *data, std::uint32_t *size)
    {
        const std::uint32_t room = *size;
        *size = static_cast<std::uint32_t>(value.size());
        if (room < value.size())
            return quillon::result::moreData;
        std::copy(value.begin(), value.end(), data);
        return quillon::result::success;
    }
    RegNode *resolve(quillon::RegistryKey key)
    {
        if (key == classesRoot)
            return &classes;
        if (key == localMachine)
            return &machine;
        const auto found = m_open.find(key);
        return found == m_open.end() ? nullptr : found->second;
    }
    std::uint32_t hand(RegNode *node, quillon::RegistryKey *key)
    {
        *key = m_next += 4;
        m_open[*key] = node;
        return quillon::result::success;
    }

    std::map<quillon::RegistryKey, RegNode *> m_open;
    quillon::RegistryKey m_next = 0x1000;
};

// Type libraries whose load and register answer as scripted; records each call.
class FakeTypeLibraries : public quillon::TypeLibraries {
public:
    std::int32_t loadAnswer = 0;
    std::int32_t registerAnswer = 0;
    std::vector<std::string> calls;

    std::int32_t load(const char *path, quillon::TypeLibrary *library) override
    {
        calls.push_back(std::string("load ") + path);
        *library = loadAnswer < 0 ? 0 : 77;
        return loadAnswer;
    }
    std::int32_t registerLibrary(quillon::TypeLibrary library, const char *path) override
    {
        calls.push_back("register " + std::to_string(library) + " " + path);
        return registerAnswer;
    }
    void release(quillon::TypeLibrary library) override { calls.push_back("release " + std::to_string(library)); }
};
