#pragma once

#include "platform/VxPlatformExport.h"

#include <QImage>
#include <QString>

namespace vx::ui {

// The local file a stored picture path names. Stored paths are the shop's Windows paths
// ("C:\Orvanesys\Vendrix V2\Usuario\Imagenes\CAMISA.BMP"): the drive stands for the Vendrix root,
// and each name is matched without regard to case, as the shop's file system did. Other paths are
// taken as they are, relative ones from the working folder.
VXPLATFORM_EXPORT QString localPicturePath(const QString &storedPath);

// The picture in a file named by a stored path; a null image when it is missing or unreadable.
VXPLATFORM_EXPORT QImage loadPicture(const QString &storedPath);

}  // namespace vx::ui
