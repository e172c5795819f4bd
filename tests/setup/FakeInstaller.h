#pragma once

#include "setup/Installer.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Copies a text value the way the installer and the registry do: whole with its zero when it
// fits, else cut to the room with moreData and the full length.
inline std::uint32_t answerText(const std::string &value, char *buffer, std::uint32_t *size)
{
    const std::uint32_t room = *size;
    *size = static_cast<std::uint32_t>(value.size());
    if (room > value.size()) {
        std::memcpy(buffer, value.data(), value.size());
        buffer[value.size()] = '\0';
        return quillon::result::success;
    }
    if (room > 0) {
        std::memcpy(buffer, value.data(), room - 1);
        buffer[room - 1] = '\0';
    }
    return quillon::result::moreData;
}

// An installation scripted in memory: tables of (name, value) rows, properties, property reads
// that fail, one fetch that fails, and every handle handed out until it is closed.
class FakeInstaller : public quillon::Installer {
public:
    using Handle = quillon::InstallerHandle;
    static constexpr Handle install = 1;

    std::map<std::string, std::vector<std::pair<std::string, std::string>>> tables;
    std::map<std::string, std::string> properties;
    std::set<std::string> unreadable;
    int failingFetch = 0; // the fetch, counted from 1, that answers a failure
    std::vector<std::string> queries;
    std::vector<std::string> propertiesSet;
    int fetches = 0;

    std::size_t openHandles() const { return m_objects.size(); }

    Handle activeDatabase(Handle session) override { return session == install ? add(object(Kind::Database)) : 0; }

    std::uint32_t openView(Handle database, const char *query, Handle *view) override
    {
        *view = 0;
        if (kind(database) != Kind::Database)
            return quillon::result::invalidHandle;
        queries.emplace_back(query);
        const std::string prefix = "SELECT * FROM ";
        const std::string table = queries.back().substr(prefix.size());
        if (queries.back().rfind(prefix, 0) != 0 || !tables.count(table))
            return badQuery;
        *view = add(object(Kind::View, table));
        return quillon::result::success;
    }

    std::uint32_t execute(Handle view) override
    {
        if (kind(view) != Kind::View)
            return quillon::result::invalidHandle;
        m_objects[view].executed = true;
        return quillon::result::success;
    }

    // A view that never opened answers "invalid handle" on every call, as the installer does;
    // after a hundred the fake gives up so that a test of a hanging walk ends and fails.
    std::uint32_t fetch(Handle view, Handle *record) override
    {
        *record = 0;
        if (++fetches > 100)
            return quillon::result::noMoreItems;
        if (kind(view) != Kind::View || !m_objects[view].executed)
            return quillon::result::invalidHandle;
        if (fetches == failingFetch)
            return quillon::result::functionFailed;
        Object &walk = m_objects[view];
        const auto &rows = tables[walk.table];
        if (walk.row >= rows.size())
            return quillon::result::noMoreItems;
        const auto &row = rows[walk.row++];
        *record = add(object(Kind::Record, {}, {row.first, row.second}));
        return quillon::result::success;
    }

    std::uint32_t recordString(Handle record, std::uint32_t field, char *buffer, std::uint32_t *size) override
    {
        if (kind(record) != Kind::Record || field < 1 || field > 2)
            return quillon::result::invalidHandle;
        return answerText(m_objects[record].fields[field - 1], buffer, size);
    }

    std::uint32_t property(Handle session, const char *name, char *buffer, std::uint32_t *size) override
    {
        if (session != install || unreadable.count(name))
            return quillon::result::invalidHandle;
        const auto found = properties.find(name);
        return answerText(found == properties.end() ? std::string() : found->second, buffer, size);
    }

    std::uint32_t setProperty(Handle session, const char *name, const char *value) override
    {
        if (session != install || *name == '\0')
            return invalidParameter;
        properties[name] = value;
        propertiesSet.emplace_back(name);
        return quillon::result::success;
    }

    std::uint32_t close(Handle handle) override
    {
        return m_objects.erase(handle) ? quillon::result::success : quillon::result::invalidHandle;
    }

private:
    static constexpr std::uint32_t badQuery = 1615;
    static constexpr std::uint32_t invalidParameter = 87;
    enum class Kind { None, Database, View, Record };
    struct Object {
        Kind kind = Kind::None;
        std::string table;
        bool executed = false;
        std::size_t row = 0;
        std::vector<std::string> fields;
    };

    static Object object(Kind kind, std::string table = {}, std::vector<std::string> fields = {})
    {
        Object made;
        made.kind = kind;
        made.table = std::move(table);
        made.fields = std::move(fields);
        return made;
    }
    Handle add(Object made)
    {
        m_objects[m_next] = std::move(made);
        return m_next++;
    }
    Kind kind(Handle handle) const
    {
        const auto found = m_objects.find(handle);
        return found == m_objects.end() ? Kind::None : found->second.kind;
    }

    std::map<Handle, Object> m_objects;
    Handle m_next = 100;
};
