#include "platform/ui/DBImage.h"

#include "platform/db/Field.h"
#include "platform/ui/Picture.h"

namespace vx::ui {

DBImage::DBImage(QWidget *parent) : ImageView(parent)
{
    connect(&m_link, &FieldLink::dataChanged, this, &DBImage::reload);
}

void DBImage::setPlaceholder(const QString &storedPath)
{
    m_placeholder = storedPath;
    reload();
}

void DBImage::reload()
{
    const Field *f = m_link.field();
    const QVariant value = f ? f->value() : QVariant();
    QImage picture;
    if (value.typeId() == QMetaType::QByteArray)
        picture = QImage::fromData(value.toByteArray());
    else if (!value.isNull())
        picture = loadPicture(value.toString());
    if (picture.isNull() && !m_placeholder.isEmpty())
        picture = loadPicture(m_placeholder);
    setPicture(picture);
}

}  // namespace vx::ui
