#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PageSetup.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace vx::report {

// What a prepared page is made of, in millimetres from the paper's top-left corner. A prepared
// report holds no reference to its dataset: the window may empty or close it once the report
// is prepared.

// One line of text starting at a point of its baseline.
struct TextOp {
    QPointF baseline;
    int font = 0; // index into PreparedReport::fonts
    QString text;
};

struct LineOp {
    QLineF line;
    double widthMm = 0.2;
};

// A rectangle, outlined when penMm is above 0, filled when fill is valid.
struct BoxOp {
    QRectF rect;
    double penMm = 0.2;
    QColor fill;
};

struct ImageOp {
    QRectF rect;
    QImage image;
};

using PageOp = std::variant<TextOp, LineOp, BoxOp, ImageOp>;

struct PreparedPage {
    std::vector<PageOp> ops;
};

// The fonts of a report, each stored once and named by its index. Report fonts do not kern.
class VXPLATFORM_EXPORT FontTable {
public:
    int indexOf(const QFont &wanted);
    const QFont &at(int index) const { return m_fonts[size_t(index)]; }
    int size() const { return int(m_fonts.size()); }

private:
    std::vector<QFont> m_fonts;
};

// A report laid out page by page, ready to be drawn on any paged device.
struct PreparedReport {
    PageSetup page = PageSetup::a4();
    QString title;
    FontTable fonts;
    std::vector<PreparedPage> pages;
    // The figures that did not fit their box even shrunk, and print as "###".
    QStringList overflows;

    int pageCount() const { return int(pages.size()); }
};

} // namespace vx::report
