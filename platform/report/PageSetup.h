#pragma once

#include "platform/VxPlatformExport.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>

namespace vx::report {

// The paper a report is laid out on: a standard size or a custom one in millimetres (the roll
// tickets), its orientation, and the margins that frame the bands. All in millimetres.
class VXPLATFORM_EXPORT PageSetup {
public:
    static PageSetup a4(QPageLayout::Orientation orientation = QPageLayout::Portrait);
    static PageSetup letter(QPageLayout::Orientation orientation = QPageLayout::Portrait);
    // A paper `widthMm` wide and `heightMm` long, as it comes out of the printer.
    static PageSetup custom(double widthMm, double heightMm);

    // A roll: the paper is cut where the content ends (plus the bottom margin), never longer
    // than the length given; the page footer follows the content.
    PageSetup &setRoll(bool roll);
    bool isRoll() const { return m_roll; }
    // The same paper cut to `lengthMm` (a paper set upright only; others are kept as they are).
    PageSetup cutAt(double lengthMm) const;

    PageSetup &setMargins(double allMm);
    PageSetup &setMargins(double leftMm, double topMm, double rightMm, double bottomMm);
    QMarginsF margins() const { return m_margins; }

    // The paper as seen by the bands, orientation applied.
    QSizeF paperSize() const;
    // Where the bands go: the paper inside the margins, from the paper's top-left corner.
    QRectF contentRect() const;
    // The layout handed to printers and PDF writers. Its margins are zero: the report draws from
    // the paper's corner and applies its own margins.
    QPageLayout pageLayout() const;

private:
    PageSetup(const QPageSize &size, QPageLayout::Orientation orientation);

    QPageSize m_size;
    QPageLayout::Orientation m_orientation;
    QMarginsF m_margins{10, 10, 10, 10};
    bool m_roll = false;
};

} // namespace vx::report
