#include "demo/DemoPhotos.h"

#include "platform/core/Paths.h"
#include "platform/db/Connection.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSqlQuery>

#include <stdexcept>

namespace demo {

namespace {

constexpr int photographed = 8;

void save(const QImage &image, const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    if (!image.save(path))
        throw std::runtime_error(QStringLiteral("No se pudo grabar %1.").arg(QDir::toNativeSeparators(path)).toStdString());
}

// A garment's outline on a plain background. Nothing is written in it: the demo shop is made
// by a console command, without the fonts of a window system.
QImage garment(int shade)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((shade * 47) % 360, 40, 245));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor::fromHsv((shade * 47) % 360, 160, 200));
    painter.setPen(QPen(Qt::black, 2));
    const QPolygonF shirt({{110, 30}, {140, 20}, {180, 20}, {210, 30}, {260, 70}, {235, 95}, {215, 80},
                           {215, 190}, {105, 190}, {105, 80}, {85, 95}, {60, 70}});
    painter.drawPolygon(shirt);
    return image;
}

QImage noPhoto()
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(QColor(235, 235, 235));
    QPainter painter(&image);
    painter.setPen(QColor(140, 140, 140));
    const QRect frame = image.rect().adjusted(4, 4, -5, -5);
    painter.drawRect(frame);
    painter.drawLine(frame.topLeft(), frame.bottomRight());
    painter.drawLine(frame.topRight(), frame.bottomLeft());
    return image;
}

}  // namespace

void addPhotos(vx::Connection &connection)
{
    const QString folder = QDir(vx::paths::userFolder()).filePath(QStringLiteral("Imagenes"));
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("No se pudo crear la carpeta %1.").arg(QDir::toNativeSeparators(folder)).toStdString());
    save(noPhoto(), QDir(folder).filePath(QStringLiteral("SinImg.bmp")));
    QSqlQuery first = connection.execute(
        QStringLiteral("SELECT ARTCMCT FROM STOCK ORDER BY ARTCMCT LIMIT %1").arg(photographed));
    QStringList codes;
    while (first.next())
        codes.append(first.value(0).toString());
    int shade = 0;
    for (const QString &code : codes) {
        const QString file = code + QStringLiteral(".PNG");
        save(garment(shade++), QDir(folder).filePath(file));
        connection.execute(QStringLiteral("UPDATE STOCK SET ARTFOT = ? WHERE ARTCMCT = ?"),
                           {QStringLiteral("C:\\ORVANESYS\\VENDRIX V2\\USUARIO\\IMAGENES\\") + file, code});
    }
}

}  // namespace demo
