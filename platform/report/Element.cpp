#include "platform/report/Element.h"

namespace vx::report {

Element::Element(const QRectF &rectMm) : m_rect(rectMm) {}

Element::~Element() = default;

void Element::bind(BindContext &) {}

QFont FontChoice::resolve(const QFont &base) const
{
    QFont font = base;
    if (family)
        font.setFamily(*family);
    if (pointSize)
        font.setPointSizeF(*pointSize);
    if (bold)
        font.setBold(*bold);
    if (italic)
        font.setItalic(*italic);
    if (underline)
        font.setUnderline(*underline);
    return font;
}

void TextualElement::bind(BindContext &context)
{
    m_font = context.fonts->indexOf(m_fontChoice.resolve(context.defaultFont));
}

double TextualElement::placeText(LayoutContext &context, const QString &text, const QRectF &box) const
{
    return context.placer->place(text, m_font, box, alignment(), m_overflow, *context.ops, what());
}

double TextualElement::layout(LayoutContext &context, double shiftMm) const
{
    return placeText(context, text(context), rect().translated(0, shiftMm));
}

} // namespace vx::report
