#pragma once

#include "platform/ui/Dialogs.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace catalogue {

// The longest photo file name an article stores.
constexpr int photoNameLength = 100;
// Photos with more pixels than this are refused rather than decoded: 30 megapixels, which a
// camera's 24-megapixel photo stays under and which decodes within the picture readers' memory.
constexpr qint64 largestPhotoPixels = 30'000'000;

// The open-file dialog for an article's photo: it starts on the shop's picture of an article
// without one, in the user folder's "Imagenes", which the workstations share.
vx::ui::FileDialogOptions photoFileOptions();

// The name an article stores for a chosen photo file: a file under the Vendrix root as the shop's
// Windows path ("C:\ORVANESYS\VENDRIX V2\USUARIO\IMAGENES\X.BMP"), which each workstation finds
// under its own root; any other as it is; both upper case.
QString storedPhotoName(const QString &chosenPath);
// A name longer than an article holds is refused, never cut: the message that says so, or empty.
QString photoNameProblem(const QString &storedName);

// A photo ready to show: the picture scaled to the frame, or the placeholder and why the
// article's own picture is not shown.
struct ShownPhoto {
    QImage picture;
    QString problem;  // empty when the article's photo is shown
};

// The photo an article stores (ARTFOT), decoded at the size of the frame it goes into, so that a
// 24-megapixel photo costs no more than the frame. Stored names are resolved without regard to
// case. An empty name, or a photo that cannot be shown, gives the placeholder; the problem then
// reads "No se encuentra el archivo.", "El archivo no es una imagen." or "La imagen es demasiado
// grande." (nothing for an empty name).
ShownPhoto loadPhoto(const QString &storedName, const QSize &frame);

// The picture of an article without a photo: the user folder's "Imagenes/SinImg.bmp" when it
// can be read, else one of the program's own.
QImage placeholderPhoto(const QSize &frame);

}  // namespace catalogue
