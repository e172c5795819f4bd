#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/Element.h"
#include "platform/report/Elements.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QRectF>
#include <QStringList>

#include <memory>
#include <vector>

namespace vx {
class Dataset;
}

namespace vx::report {

enum class BandKind {
    PageHeader,   // top of every page
    ColumnHeader, // every page, below the page header
    Detail,       // once per row of the report's dataset
    SubDetail,    // once per row of the lines linked to the current detail row
    Summary,      // once, after the last row
    PageFooter,   // bottom of every page
};

// A horizontal strip of a report and the elements printed in it. Positions are millimetres
// from the band's top-left corner, which lies on the page's left margin. A band is as tall as
// its height or its lowest element, whichever is more, and grows when a wrapped text needs it.
//
// Elements are added with one call each; the calls that follow an element (bold(), right(),
// mask(), wrap() ...) adjust the element added last:
//
//     band.text({0, 0, 30, 5}, "Cant.").bold().right();
//     band.product({60, 0, 25, 5}, "ARTEX1", "ARTCOS1").mask("0.00").right();
class VXPLATFORM_EXPORT Band {
public:
    Band(BandKind kind, double heightMm, const QString &name = {});
    ~Band();
    Band(const Band &) = delete;
    Band &operator=(const Band &) = delete;

    BandKind kind() const { return m_kind; }
    QString name() const { return m_name; }
    double height() const { return m_height; }
    Band &setHeight(double heightMm);
    bool enabled() const { return m_enabled; }
    Band &setEnabled(bool enabled);

    // Contents.
    Band &text(const QRectF &rectMm, const QString &caption);
    // A text whose caption the window sets by name (Report::setCaption).
    Band &label(const QString &name, const QRectF &rectMm, const QString &caption = {});
    Band &field(const QRectF &rectMm, const QString &fieldName);
    Band &product(const QRectF &rectMm, const QString &leftField, const QString &rightField);
    Band &value(const QRectF &rectMm, const Expression &expression);
    Band &sum(const QRectF &rectMm, const Expression &expression, Over over = Over::Detail);
    Band &sum(const QRectF &rectMm, const QString &fieldName, Over over = Over::Detail);
    Band &count(const QRectF &rectMm, Over over = Over::Detail);
    // %1 is the date, the time, or both; dates and times also take a mask.
    Band &date(const QRectF &rectMm, const QString &pattern = QStringLiteral("%1"));
    Band &time(const QRectF &rectMm, const QString &pattern = QStringLiteral("%1"));
    Band &dateTime(const QRectF &rectMm, const QString &pattern = QStringLiteral("%1"));
    // %1 is the page number, %2 the number of pages.
    Band &pageNumber(const QRectF &rectMm, const QString &pattern = QStringLiteral("%1"));
    Band &line(const QLineF &lineMm, double widthMm = 0.2);
    Band &hline(double yMm, double fromXMm, double toXMm, double widthMm = 0.2);
    Band &box(const QRectF &rectMm, double penMm = 0.2);
    // Several lines, wrapped at the box's width; the band grows to hold them all. The window may
    // replace the lines by name (Report::setLines).
    Band &memo(const QString &name, const QRectF &rectMm, const QStringList &lines = {});
    // A picture scaled to its box keeping its proportions; the window may set it by name.
    Band &picture(const QString &name, const QRectF &rectMm, const QImage &image = {});

    // Adjustments of the element added last.
    Band &font(const QFont &font);
    Band &family(const QString &family);
    Band &size(double points);
    Band &bold(bool on = true);
    Band &italic(bool on = true);
    Band &underline(bool on = true);
    Band &align(Qt::Alignment alignment);
    Band &left() { return horizontal(Qt::AlignLeft); }
    Band &right() { return horizontal(Qt::AlignRight); }
    Band &center() { return horizontal(Qt::AlignHCenter); }
    Band &mask(const QString &mask);
    Band &wrap();
    Band &spill();
    Band &fill(const QColor &color);

    const std::vector<std::unique_ptr<Element>> &elements() const { return m_elements; }
    // The elements in the order they are laid out: top to bottom.
    std::vector<const Element *> elementsTopDown() const;
    std::vector<Element *> elementsNamed(const QString &name) const;
    // The height before any element grows.
    double naturalHeight() const;

private:
    template<class T> T &last(const char *what);
    Band &add(std::unique_ptr<Element> element);
    Band &horizontal(Qt::Alignment alignment);

    BandKind m_kind;
    QString m_name;
    double m_height;
    bool m_enabled = true;
    std::vector<std::unique_ptr<Element>> m_elements;
};

} // namespace vx::report
