#include "catalogue/PhotoFile.h"

#include "platform/core/Paths.h"
#include "platform/ui/Picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>

namespace catalogue {

namespace {

QString imageFolder()
{
    return QDir(vx::paths::userFolder()).filePath(QStringLiteral("Imagenes"));
}

// The size a bitmap's header claims: the picture readers call a huge one unreadable.
QSize bitmapHeaderSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray header = file.read(26);
    if (header.size() < 26 || !header.startsWith("BM"))
        return {};
    const qint32 width = qFromLittleEndian<qint32>(header.constData() + 18);
    const qint32 height = qFromLittleEndian<qint32>(header.constData() + 22);
    return QSize(width, qAbs(height));
}

QImage readScaled(const QString &path, const QSize &frame, QString *problem)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        *problem = QStringLiteral("No se encuentra el archivo.");
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QSize size = file.isFile() ? reader.size() : QSize();
    if (!size.isValid() && file.isFile())
        size = bitmapHeaderSize(path);
    if (!size.isValid()) {
        *problem = QStringLiteral("El archivo no es una imagen.");
        return {};
    }
    if (qint64(size.width()) * size.height() > largestPhotoPixels) {
        *problem = QStringLiteral("La imagen es demasiado grande.");
        return {};
    }
    if (frame.isValid() && (size.width() > frame.width() || size.height() > frame.height())) {
        reader.setScaledSize(size.scaled(frame, Qt::KeepAspectRatio));
        // Shrunk to a frame, the faster decoding of a JPEG looks the same.
        reader.setQuality(25);
    }
    const QImage image = reader.read();
    if (image.isNull())
        *problem = QStringLiteral("El archivo no es una imagen.");
    return image;
}

QImage builtInPlaceholder(const QSize &frame)
{
    const QSize size = frame.isValid() ? frame : QSize(200, 200);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("Sin imagen"));
    return image;
}

}  // namespace

vx::ui::FileDialogOptions photoFileOptions()
{
    vx::ui::FileDialogOptions options;
    options.title = QStringLiteral("Foto del Articulo");
    options.defaultExtension = QStringLiteral("bmp");
    options.folder = imageFolder();
    options.proposedName = QDir(options.folder).filePath(QStringLiteral("SinImg.bmp"));
    options.filter = QStringLiteral("Imágenes (*.bmp *.png *.jpg *.jpeg)");
    return options;
}

QString storedPhotoName(const QString &chosenPath)
{
    const QString chosen = QFileInfo(chosenPath).absoluteFilePath();
    const QString root = QDir(vx::paths::root()).absolutePath();
    QString name;
    if (chosen.startsWith(root + QLatin1Char('/')))
        name = QStringLiteral("C:") + chosen.mid(root.size()).replace(QLatin1Char('/'), QLatin1Char('\\'));
    else
        name = QDir::toNativeSeparators(chosenPath);
    return name.toUpper();
}

QString photoNameProblem(const QString &name)
{
    if (name.size() <= photoNameLength)
        return {};
    return QStringLiteral("El nombre del archivo de foto tiene más de %1 caracteres; elija un archivo con un nombre "
                          "más corto o en una carpeta más cercana a la raíz:\n%2")
        .arg(photoNameLength)
        .arg(name);
}

ShownPhoto loadPhoto(const QString &storedName, const QSize &frame)
{
    ShownPhoto out;
    if (!storedName.trimmed().isEmpty())
        out.picture = readScaled(vx::ui::localPicturePath(storedName), frame, &out.problem);
    if (out.picture.isNull())
        out.picture = placeholderPhoto(frame);
    return out;
}

QImage placeholderPhoto(const QSize &frame)
{
    QString ignored;
    const QImage own = readScaled(vx::ui::localPicturePath(
                                      QStringLiteral("C:\\Orvanesys\\Vendrix V2\\Usuario\\Imagenes\\SinImg.bmp")),
                                  frame, &ignored);
    return own.isNull() ? builtInPlaceholder(frame) : own;
}

}  // namespace catalogue
