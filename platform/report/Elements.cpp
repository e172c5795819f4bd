#include "platform/report/Elements.h"

#include "platform/core/ShopFormat.h"
#include "platform/report/ValueFormat.h"

namespace vx::report {

TextElement::TextElement(const QRectF &rectMm, const QString &caption) : TextualElement(rectMm), m_caption(caption) {}

QString TextElement::text(const LayoutContext &) const
{
    return m_caption;
}

FieldElement::FieldElement(const QRectF &rectMm, const Expression &expression)
    : MaskedElement(rectMm), m_expression(expression)
{
}

void FieldElement::bind(BindContext &context)
{
    MaskedElement::bind(context);
    m_bound = BoundExpression(m_expression, context.dataset);
}

QString FieldElement::text(const LayoutContext &) const
{
    if (mask().isEmpty())
        return m_bound.displayText();
    return formatValue(m_bound.value(), mask());
}

QString FieldElement::what() const
{
    return QStringLiteral("campo ") + m_expression.fieldNames().join(QStringLiteral(" x "));
}

int Aggregates::add(Kind kind, const BoundExpression &expression, Over over)
{
    m_entries.push_back(Entry{kind, expression, over});
    return int(m_entries.size() - 1);
}

void Aggregates::accumulate(Over over)
{
    for (Entry &entry : m_entries) {
        if (entry.over == over)
            entry.total += entry.kind == Kind::Count ? 1.0 : entry.expression.number();
    }
}

AggregateElement::AggregateElement(const QRectF &rectMm, Aggregates::Kind kind, const Expression &expression, Over over)
    : MaskedElement(rectMm), m_kind(kind), m_expression(expression), m_over(over)
{
}

void AggregateElement::bind(BindContext &context)
{
    MaskedElement::bind(context);
    const Dataset *rows = m_over == Over::Detail ? context.detail : context.subDetail;
    m_slot = context.aggregates->add(m_kind, BoundExpression(m_expression, rows), m_over);
}

QString AggregateElement::text(const LayoutContext &context) const
{
    return formatValue(context.aggregates->value(m_slot), mask());
}

QString AggregateElement::what() const
{
    if (m_kind == Aggregates::Kind::Count)
        return QStringLiteral("cuenta de filas");
    return QStringLiteral("suma de ") + m_expression.fieldNames().join(QStringLiteral(" x "));
}

SystemElement::SystemElement(const QRectF &rectMm, Kind kind, const QString &pattern)
    : MaskedElement(rectMm), m_kind(kind), m_pattern(pattern)
{
}

bool SystemElement::needsPageCount() const
{
    return m_kind == Kind::PageNumber && m_pattern.contains(QLatin1String("%2"));
}

QString SystemElement::pageText(int pageNumber, int pageCount) const
{
    QString out = m_pattern;
    out.replace(QLatin1String("%1"), QString::number(pageNumber));
    return out.replace(QLatin1String("%2"), QString::number(pageCount));
}

QString SystemElement::text(const LayoutContext &context) const
{
    const QDateTime &now = context.printedAt;
    QString value;
    switch (m_kind) {
    case Kind::Date:
        value = mask().isEmpty() ? shopformat::formatDate(now.date()) : formatDateTime(now, mask());
        break;
    case Kind::Time:
        value = mask().isEmpty() ? shopformat::formatTime(now.time()) : formatDateTime(now, mask());
        break;
    case Kind::DateTime:
        value = mask().isEmpty()
                    ? shopformat::formatDate(now.date()) + QLatin1Char(' ') + shopformat::formatTime(now.time())
                    : formatDateTime(now, mask());
        break;
    case Kind::PageNumber:
        return pageText(context.pageNumber, 0);
    }
    QString out = m_pattern;
    return out.replace(QLatin1String("%1"), value);
}

double SystemElement::layout(LayoutContext &context, double shiftMm) const
{
    if (!needsPageCount())
        return MaskedElement::layout(context, shiftMm);
    context.deferred->push_back(DeferredText{this, rect().translated(0, shiftMm), context.pageNumber});
    return rect().height();
}

void SystemElement::placeDeferred(LayoutContext &context, const DeferredText &deferred, int pageCount) const
{
    placeText(context, pageText(deferred.pageNumber, pageCount), deferred.box);
}

LineElement::LineElement(const QLineF &lineMm, double widthMm)
    : Element(QRectF(lineMm.p1(), lineMm.p2()).normalized()), m_line(lineMm), m_width(widthMm)
{
}

double LineElement::layout(LayoutContext &context, double shiftMm) const
{
    context.ops->emplace_back(std::in_place_type<LineOp>, m_line.translated(0, shiftMm), m_width);
    return rect().height();
}

BoxElement::BoxElement(const QRectF &rectMm, double penMm) : Element(rectMm), m_pen(penMm) {}

double BoxElement::layout(LayoutContext &context, double shiftMm) const
{
    context.ops->push_back(BoxOp{rect().translated(0, shiftMm), m_pen, m_fill});
    return rect().height();
}

PictureElement::PictureElement(const QRectF &rectMm, const QImage &image) : Element(rectMm), m_image(image) {}

double PictureElement::layout(LayoutContext &context, double shiftMm) const
{
    const QRectF box = rect().translated(0, shiftMm);
    if (m_image.isNull() || box.isEmpty())
        return box.height();
    const QSizeF size = QSizeF(m_image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    double x = box.left();
    double y = box.top();
    const Qt::Alignment align = alignment();
    if (align & Qt::AlignRight)
        x = box.right() - size.width();
    else if (align & Qt::AlignHCenter)
        x += (box.width() - size.width()) / 2;
    if (align & Qt::AlignBottom)
        y = box.bottom() - size.height();
    else if (align & Qt::AlignVCenter)
        y += (box.height() - size.height()) / 2;
    context.ops->push_back(ImageOp{QRectF(QPointF(x, y), size), m_image});
    return box.height();
}

} // namespace vx::report
