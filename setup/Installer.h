#pragma once

#include "setup/QuillonExport.h"

#include <cstdint>

namespace quillon {

// An installer handle: the install session, a database, a view or a record.
using InstallerHandle = std::uint32_t;

// The result codes the actions look at, as the installer and the registry answer them.
namespace result {
inline constexpr std::uint32_t success = 0;
inline constexpr std::uint32_t fileNotFound = 2;
inline constexpr std::uint32_t invalidHandle = 6;
inline constexpr std::uint32_t moreData = 234;
inline constexpr std::uint32_t noMoreItems = 259;
inline constexpr std::uint32_t functionFailed = 1627;
// The installer's code for a fatal error during installation.
inline constexpr std::uint32_t installFailure = 1603;
} // namespace result

// The installer's custom-action services, one call each. Text sizes count characters: on the
// way in the room of the buffer including the terminating zero, on the way out the length of
// the value without it. A value that does not fit answers moreData with its full length.
class QUILLON_EXPORT Installer {
public:
    virtual ~Installer() = default;

    // The database of the running installation, 0 when there is none.
    virtual InstallerHandle activeDatabase(InstallerHandle install) = 0;
    virtual std::uint32_t openView(InstallerHandle database, const char *query, InstallerHandle *view) = 0;
    virtual std::uint32_t execute(InstallerHandle view) = 0;
    // success with a record, noMoreItems after the last, any other code on failure.
    virtual std::uint32_t fetch(InstallerHandle view, InstallerHandle *record) = 0;
    virtual std::uint32_t recordString(InstallerHandle record, std::uint32_t field, char *buffer,
                                       std::uint32_t *size) = 0;
    virtual std::uint32_t property(InstallerHandle install, const char *name, char *buffer, std::uint32_t *size) = 0;
    virtual std::uint32_t setProperty(InstallerHandle install, const char *name, const char *value) = 0;
    virtual std::uint32_t close(InstallerHandle handle) = 0;
};

} // namespace quillon
