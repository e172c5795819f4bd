#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/Element.h"
#include "platform/report/Expression.h"

#include <QColor>
#include <QImage>
#include <QLineF>

#include <vector>

namespace vx::report {

// A caption: fixed, or set by the window through the element's name before printing.
class VXPLATFORM_EXPORT TextElement : public TextualElement {
public:
    TextElement(const QRectF &rectMm, const QString &caption);

    QString caption() const { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

protected:
    QString text(const LayoutContext &context) const override;

private:
    QString m_caption;
};

// A text element whose value goes through a display mask ("0.00", "#,##0.00", "dd/mm/yyyy").
class VXPLATFORM_EXPORT MaskedElement : public TextualElement {
public:
    using TextualElement::TextualElement;

    QString mask() const { return m_mask; }
    void setMask(const QString &mask) { m_mask = mask; }

private:
    QString m_mask;
};

// A field of the current row, or a product of fields, through the mask.
class VXPLATFORM_EXPORT FieldElement : public MaskedElement {
public:
    FieldElement(const QRectF &rectMm, const Expression &expression);

    void bind(BindContext &context) override;

protected:
    QString text(const LayoutContext &context) const override;
    QString what() const override;

private:
    Expression m_expression;
    BoundExpression m_bound;
};

// The running sums and counts of a report, accumulated row by row while it is laid out.
class VXPLATFORM_EXPORT Aggregates {
public:
    enum class Kind { Sum, Count };

    // Registers one aggregate and returns its slot.
    int add(Kind kind, const BoundExpression &expression, Over over);
    // Adds the current row of the detail or sub-detail rows to every aggregate over them.
    void accumulate(Over over);
    double value(int slot) const { return m_entries[size_t(slot)].total; }

private:
    struct Entry {
        Kind kind;
        BoundExpression expression;
        Over over;
        double total = 0;
    };
    std::vector<Entry> m_entries;
};

// A sum of an expression or a count of rows, over every detail row or every sub-detail row.
class VXPLATFORM_EXPORT AggregateElement : public MaskedElement {
public:
    AggregateElement(const QRectF &rectMm, Aggregates::Kind kind, const Expression &expression, Over over);

    void bind(BindContext &context) override;

protected:
    QString text(const LayoutContext &context) const override;
    QString what() const override;

private:
    Aggregates::Kind m_kind;
    Expression m_expression;
    Over m_over;
    int m_slot = -1;
};

// The moment of printing or the page number, through a pattern in which %1 stands for the value
// (and, for page numbers, %2 for the number of pages).
class VXPLATFORM_EXPORT SystemElement : public MaskedElement {
public:
    enum class Kind { Date, Time, DateTime, PageNumber };

    SystemElement(const QRectF &rectMm, Kind kind, const QString &pattern);

    double layout(LayoutContext &context, double shiftMm) const override;
    bool stretches() const override { return false; }
    // Lays out a page-count text once the number of pages is known.
    void placeDeferred(LayoutContext &context, const DeferredText &deferred, int pageCount) const;

protected:
    QString text(const LayoutContext &context) const override;

private:
    bool needsPageCount() const;
    QString pageText(int pageNumber, int pageCount) const;

    Kind m_kind;
    QString m_pattern;
};

class VXPLATFORM_EXPORT LineElement : public Element {
public:
    LineElement(const QLineF &lineMm, double widthMm);

    double layout(LayoutContext &context, double shiftMm) const override;

private:
    QLineF m_line;
    double m_width;
};

class VXPLATFORM_EXPORT BoxElement : public Element {
public:
    BoxElement(const QRectF &rectMm, double penMm);

    void setFill(const QColor &fill) { m_fill = fill; }
    double layout(LayoutContext &context, double shiftMm) const override;

private:
    double m_pen;
    QColor m_fill;
};

// A picture scaled to fit its box keeping its proportions, placed by the element's alignment.
// An empty picture prints nothing.
class VXPLATFORM_EXPORT PictureElement : public Element {
public:
    PictureElement(const QRectF &rectMm, const QImage &image);

    void setImage(const QImage &image) { m_image = image; }
    QImage image() const { return m_image; }
    double layout(LayoutContext &context, double shiftMm) const override;

private:
    QImage m_image;
};

} // namespace vx::report
