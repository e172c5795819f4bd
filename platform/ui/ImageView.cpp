#include "platform/ui/ImageView.h"

#include "platform/ui/Picture.h"

#include <QPainter>

namespace vx::ui {

ImageView::ImageView(QWidget *parent) : QFrame(parent) {}

void ImageView::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

bool ImageView::loadFile(const QString &storedPath)
{
    const QImage loaded = loadPicture(storedPath);
    if (loaded.isNull())
        return false;
    setPicture(loaded);
    return true;
}

void ImageView::setScaling(Scaling scaling)
{
    m_scaling = scaling;
    update();
}

QSize ImageView::sizeHint() const
{
    return m_picture.isNull() ? QSize(100, 100) : m_picture.size() + QSize(2 * frameWidth(), 2 * frameWidth());
}

QRect ImageView::targetRect() const
{
    const QRect area = contentsRect();
    switch (m_scaling) {
    case Scaling::None: return QRect(area.topLeft(), m_picture.size());
    case Scaling::Stretch: return area;
    case Scaling::Proportional: break;
    }
    QSize size = m_picture.size();
    size.scale(area.size(), Qt::KeepAspectRatio);
    return QRect(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2,
                 size.width(), size.height());
}

void ImageView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(targetRect(), m_picture);
}

}  // namespace vx::ui
