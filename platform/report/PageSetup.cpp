#include "platform/report/PageSetup.h"

#include <algorithm>

namespace vx::report {

PageSetup::PageSetup(const QPageSize &size, QPageLayout::Orientation orientation)
    : m_size(size), m_orientation(orientation)
{
}

PageSetup PageSetup::a4(QPageLayout::Orientation orientation)
{
    return PageSetup(QPageSize(QPageSize::A4), orientation);
}

PageSetup PageSetup::letter(QPageLayout::Orientation orientation)
{
    return PageSetup(QPageSize(QPageSize::Letter), orientation);
}

PageSetup PageSetup::custom(double widthMm, double heightMm)
{
    // An exact match keeps a 58 mm roll from being rounded to the nearest standard paper.
    // Paper sizes are named upright; a paper wider than long is an upright one turned.
    const bool turned = widthMm > heightMm;
    const QSizeF upright = turned ? QSizeF(heightMm, widthMm) : QSizeF(widthMm, heightMm);
    const QPageSize size(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return PageSetup(size, turned ? QPageLayout::Landscape : QPageLayout::Portrait);
}

PageSetup &PageSetup::setRoll(bool roll)
{
    m_roll = roll;
    return *this;
}

PageSetup PageSetup::cutAt(double lengthMm) const
{
    if (m_orientation != QPageLayout::Portrait)
        return *this;
    const QSizeF full = m_size.size(QPageSize::Millimeter);
    PageSetup cut = custom(full.width(), std::min(full.height(), lengthMm));
    cut.m_margins = m_margins;
    cut.m_roll = m_roll;
    return cut;
}

PageSetup &PageSetup::setMargins(double allMm)
{
    return setMargins(allMm, allMm, allMm, allMm);
}

PageSetup &PageSetup::setMargins(double leftMm, double topMm, double rightMm, double bottomMm)
{
    m_margins = QMarginsF(leftMm, topMm, rightMm, bottomMm);
    return *this;
}

QSizeF PageSetup::paperSize() const
{
    return pageLayout().fullRect(QPageLayout::Millimeter).size();
}

QRectF PageSetup::contentRect() const
{
    return QRectF(QPointF(0, 0), paperSize()).marginsRemoved(m_margins);
}

QPageLayout PageSetup::pageLayout() const
{
    return QPageLayout(m_size, m_orientation, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace vx::report
