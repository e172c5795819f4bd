#pragma once

#include "setup/Installer.h"
#include "setup/QuillonExport.h"
#include "setup/Registry.h"
#include "setup/TypeLibraries.h"

#include <cstdint>

// The custom actions that prepare the Access 97 runtime during installation. Each takes the
// install handle and answers an installer result code; only the type library registration
// reports failure, the others leave whatever they cannot do unchanged and answer success.
namespace quillon {

// Sets one installer property per row of the table: field 1 names it, field 2 is its value.
QUILLON_EXPORT std::uint32_t createAccessProps(Installer &installer, InstallerHandle install, const char *table);

// Turns "[FOLDER]\file" in DATABASEFILE, HELPFILE, ICON, SPLASHSCREEN and WORKGROUPFILE (each
// with the suffix appended, "" or "DEU" or "JPN") into the folder's path followed by the file.
QUILLON_EXPORT std::uint32_t resolveAccessProps(Installer &installer, InstallerHandle install, const char *suffix);

// Registers CommonFilesFolder\Microsoft Shared\VBA\VBA332.dll; installFailure when it cannot.
QUILLON_EXPORT std::uint32_t registerAccess97Typelibs(Installer &installer, TypeLibraries &libraries,
                                                      InstallerHandle install);

// Points HKEY_CLASSES_ROOT\Access.Application\CurVer at "Access.Application.8".
QUILLON_EXPORT std::uint32_t synchronizeProgId(Registry &registry);

// Copies the Access 97 settings into Software\<company>\<product>\<version> and records that key
// under the user's profile name in the Access Profiles key.
QUILLON_EXPORT std::uint32_t copyProfileKeys(Installer &installer, Registry &registry, InstallerHandle install);

} // namespace quillon
