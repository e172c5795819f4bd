#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

// Where the program finds its files. The shop's fixed Windows locations hang from one root:
// $VENDRIX_ROOT, by default ~/Vendrix, standing for the drive root.
namespace vx::paths {

VXPLATFORM_EXPORT QString root();
// "$VENDRIX_ROOT/Vendrix Demo.udl"
VXPLATFORM_EXPORT QString dataLinkFile();
// "$VENDRIX_ROOT/Orvanesys/Vendrix V2/Usuario/" (with the trailing slash)
VXPLATFORM_EXPORT QString userFolder();
// The path of the file in the folder whose name equals `name` without regard to case, or the
// plain joined path when there is none, so that "MemTik.txt" and "Memtik.txt" are one file.
VXPLATFORM_EXPORT QString findCaseInsensitive(const QString &folder, const QString &name);

}  // namespace vx::paths
