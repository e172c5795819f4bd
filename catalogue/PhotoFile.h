#pragma once

#include "platform/core/Paths.h"
#include "platform/ui/Dialogs.h"

#include <QDir>

namespace catalogue {

// The open-file dialog for an article's photo: it starts on the shop's picture of an article
// without one.
inline vx::ui::FileDialogOptions photoFileOptions()
{
    vx::ui::FileDialogOptions options;
    options.title = QStringLiteral("Foto del Articulo");
    options.defaultExtension = QStringLiteral("bmp");
    options.folder = QDir(vx::paths::userFolder()).filePath(QStringLiteral("Imagenes"));
    options.proposedName = QDir(options.folder).filePath(QStringLiteral("SinImg.bmp"));
    options.filter = QStringLiteral("Imágenes (*.bmp)");
    return options;
}

}  // namespace catalogue
