#include "setup/Actions.h"
#include "setup/WholeText.h"

#include <array>
#include <string>

namespace quillon {

namespace {

std::optional<std::string> readField(Installer &installer, InstallerHandle record, std::uint32_t field)
{
    return readWhole(
        [&](char *buffer, std::uint32_t *size) { return installer.recordString(record, field, buffer, size); });
}

// The folder reference "[NAME]" at the start of a value, and what follows it with one leading
// backslash dropped. Nothing when the value does not start with such a reference.
struct FolderReference {
    std::string folder;
    std::string rest;
};

std::optional<FolderReference> folderReference(const std::string &value)
{
    const std::size_t close = value.find(']');
    if (close == std::string::npos || close == 0 || value.front() != '[')
        return std::nullopt;
    FolderReference reference{value.substr(1, close - 1), value.substr(close + 1)};
    if (!reference.rest.empty() && reference.rest.front() == '\\')
        reference.rest.erase(0, 1);
    return reference;
}

} // namespace

std::uint32_t createAccessProps(Installer &installer, InstallerHandle install, const char *table)
{
    const InstallerHandle database = installer.activeDatabase(install);
    if (database == 0)
        return result::success;
    const std::string query = std::string("SELECT * FROM ") + table;
    InstallerHandle view = 0;
    if (installer.openView(database, query.c_str(), &view) == result::success) {
        // Any answer but a record ends the walk: a view that failed answers the same error
        // forever, and waiting for "no more items" would hang the installation.
        if (installer.execute(view) == result::success) {
            InstallerHandle record = 0;
            while (installer.fetch(view, &record) == result::success) {
                const auto name = readField(installer, record, 1);
                const auto value = readField(installer, record, 2);
                if (name && value)
                    installer.setProperty(install, name->c_str(), value->c_str());
                installer.close(record);
            }
        }
        installer.close(view);
    }
    installer.close(database);
    return result::success;
}

std::uint32_t resolveAccessProps(Installer &installer, InstallerHandle install, const char *suffix)
{
    static constexpr std::array names{"DATABASEFILE", "HELPFILE", "ICON", "SPLASHSCREEN", "WORKGROUPFILE"};
    for (const char *name : names) {
        const std::string property = std::string(name) + suffix;
        const auto value = readProperty(installer, install, property);
        if (!value)
            continue;
        const auto reference = folderReference(*value);
        if (!reference)
            continue;
        // A folder the installer does not know (yet) would leave a bare file name behind:
        // the property keeps its reference instead.
        const auto folder = readProperty(installer, install, reference->folder);
        if (!folder || folder->empty())
            continue;
        installer.setProperty(install, property.c_str(), (*folder + reference->rest).c_str());
    }
    return result::success;
}

std::uint32_t registerAccess97Typelibs(Installer &installer, TypeLibraries &libraries, InstallerHandle install)
{
    auto path = readProperty(installer, install, "CommonFilesFolder");
    if (!path || path->empty())
        return result::installFailure;
    if (path->back() != '\\')
        path->push_back('\\');
    path->append("Microsoft Shared\\VBA\\VBA332.dll");
    TypeLibrary library = 0;
    if (libraries.load(path->c_str(), &library) < 0)
        return result::installFailure;
    const std::int32_t registered = libraries.registerLibrary(library, path->c_str());
    libraries.release(library);
    return registered < 0 ? result::installFailure : result::success;
}

} // namespace quillon
