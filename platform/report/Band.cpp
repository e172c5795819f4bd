#include "platform/report/Band.h"

#include <algorithm>
#include <stdexcept>

namespace vx::report {

Band::Band(BandKind kind, double heightMm, const QString &name) : m_kind(kind), m_name(name), m_height(heightMm) {}

Band::~Band() = default;

Band &Band::setHeight(double heightMm)
{
    m_height = heightMm;
    return *this;
}

Band &Band::setEnabled(bool enabled)
{
    m_enabled = enabled;
    return *this;
}

Band &Band::add(std::unique_ptr<Element> element)
{
    m_elements.push_back(std::move(element));
    return *this;
}

// A modifier that does not fit the last element is a mistake in the report's definition, found
// the first time the report is built.
template<class T> T &Band::last(const char *what)
{
    T *element = m_elements.empty() ? nullptr : dynamic_cast<T *>(m_elements.back().get());
    if (!element)
        throw std::logic_error(std::string("report definition: ") + what + " does not apply to the last element");
    return *element;
}

Band &Band::text(const QRectF &rectMm, const QString &caption)
{
    return add(std::make_unique<TextElement>(rectMm, caption));
}

Band &Band::label(const QString &name, const QRectF &rectMm, const QString &caption)
{
    auto element = std::make_unique<TextElement>(rectMm, caption);
    element->setName(name);
    return add(std::move(element));
}

Band &Band::field(const QRectF &rectMm, const QString &fieldName)
{
    return value(rectMm, Expression::field(fieldName));
}

Band &Band::product(const QRectF &rectMm, const QString &leftField, const QString &rightField)
{
    return value(rectMm, Expression::product(leftField, rightField));
}

Band &Band::value(const QRectF &rectMm, const Expression &expression)
{
    return add(std::make_unique<FieldElement>(rectMm, expression));
}

Band &Band::sum(const QRectF &rectMm, const Expression &expression, Over over)
{
    return add(std::make_unique<AggregateElement>(rectMm, Aggregates::Kind::Sum, expression, over));
}

Band &Band::sum(const QRectF &rectMm, const QString &fieldName, Over over)
{
    return sum(rectMm, Expression::field(fieldName), over);
}

Band &Band::count(const QRectF &rectMm, Over over)
{
    return add(std::make_unique<AggregateElement>(rectMm, Aggregates::Kind::Count, Expression(), over));
}

Band &Band::date(const QRectF &rectMm, const QString &pattern)
{
    return add(std::make_unique<SystemElement>(rectMm, SystemElement::Kind::Date, pattern));
}

Band &Band::time(const QRectF &rectMm, const QString &pattern)
{
    return add(std::make_unique<SystemElement>(rectMm, SystemElement::Kind::Time, pattern));
}

Band &Band::dateTime(const QRectF &rectMm, const QString &pattern)
{
    return add(std::make_unique<SystemElement>(rectMm, SystemElement::Kind::DateTime, pattern));
}

Band &Band::pageNumber(const QRectF &rectMm, const QString &pattern)
{
    return add(std::make_unique<SystemElement>(rectMm, SystemElement::Kind::PageNumber, pattern));
}

Band &Band::line(const QLineF &lineMm, double widthMm)
{
    return add(std::make_unique<LineElement>(lineMm, widthMm));
}

Band &Band::hline(double yMm, double fromXMm, double toXMm, double widthMm)
{
    return line(QLineF(fromXMm, yMm, toXMm, yMm), widthMm);
}

Band &Band::box(const QRectF &rectMm, double penMm)
{
    return add(std::make_unique<BoxElement>(rectMm, penMm));
}

Band &Band::memo(const QString &name, const QRectF &rectMm, const QStringList &lines)
{
    auto element = std::make_unique<TextElement>(rectMm, lines.join(QLatin1Char('\n')));
    element->setName(name);
    element->setOverflow(Overflow::Wrap);
    return add(std::move(element));
}

Band &Band::picture(const QString &name, const QRectF &rectMm, const QImage &image)
{
    auto element = std::make_unique<PictureElement>(rectMm, image);
    element->setName(name);
    return add(std::move(element));
}

Band &Band::font(const QFont &font)
{
    FontChoice &choice = last<TextualElement>("font").fontChoice();
    choice.family = font.family();
    choice.pointSize = font.pointSizeF();
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    return *this;
}

Band &Band::family(const QString &family)
{
    last<TextualElement>("family").fontChoice().family = family;
    return *this;
}

Band &Band::size(double points)
{
    last<TextualElement>("size").fontChoice().pointSize = points;
    return *this;
}

Band &Band::bold(bool on)
{
    last<TextualElement>("bold").fontChoice().bold = on;
    return *this;
}

Band &Band::italic(bool on)
{
    last<TextualElement>("italic").fontChoice().italic = on;
    return *this;
}

Band &Band::underline(bool on)
{
    last<TextualElement>("underline").fontChoice().underline = on;
    return *this;
}

Band &Band::align(Qt::Alignment alignment)
{
    last<Element>("align").setAlignment(alignment);
    return *this;
}

Band &Band::horizontal(Qt::Alignment alignment)
{
    Element &element = last<Element>("alignment");
    element.setAlignment((element.alignment() & ~Qt::AlignHorizontal_Mask) | alignment);
    return *this;
}

Band &Band::mask(const QString &mask)
{
    last<MaskedElement>("mask").setMask(mask);
    return *this;
}

Band &Band::wrap()
{
    last<TextualElement>("wrap").setOverflow(Overflow::Wrap);
    return *this;
}

Band &Band::spill()
{
    last<TextualElement>("spill").setOverflow(Overflow::Spill);
    return *this;
}

Band &Band::fill(const QColor &color)
{
    last<BoxElement>("fill").setFill(color);
    return *this;
}

std::vector<const Element *> Band::elementsTopDown() const
{
    std::vector<const Element *> out;
    out.reserve(m_elements.size());
    for (const auto &element : m_elements)
        out.push_back(element.get());
    std::stable_sort(out.begin(), out.end(),
                     [](const Element *a, const Element *b) { return a->rect().top() < b->rect().top(); });
    return out;
}

std::vector<Element *> Band::elementsNamed(const QString &name) const
{
    std::vector<Element *> out;
    for (const auto &element : m_elements) {
        if (!name.isEmpty() && element->name() == name)
            out.push_back(element.get());
    }
    return out;
}

double Band::naturalHeight() const
{
    double height = m_height;
    for (const auto &element : m_elements)
        height = std::max(height, element->rect().bottom());
    return height;
}

} // namespace vx::report
