#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"
#include "platform/report/TextPlacer.h"

#include <QDateTime>
#include <QFont>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace vx {
class Dataset;
}

namespace vx::report {

class Aggregates;
class SystemElement;

// Which rows an aggregate runs over.
enum class Over { Detail, SubDetail };

// What an element needs to find its data when the report is prepared.
struct BindContext {
    const Dataset *dataset = nullptr;   // the rows of the element's band
    const Dataset *detail = nullptr;    // the report's dataset
    const Dataset *subDetail = nullptr; // the lines linked to each detail row
    FontTable *fonts = nullptr;
    QFont defaultFont;
    Aggregates *aggregates = nullptr;
};

// A text whose value is known only once every page is laid out ("Página 2 de 7").
struct DeferredText {
    const SystemElement *element = nullptr;
    QRectF box;
    int pageNumber = 0;
};

// What an element draws into and reads while a band is laid out.
struct LayoutContext {
    TextPlacer *placer = nullptr;
    int pageNumber = 1;
    QDateTime printedAt;
    const Aggregates *aggregates = nullptr;
    std::vector<PageOp> *ops = nullptr;
    std::vector<DeferredText> *deferred = nullptr;
};

// One thing printed in a band, placed in millimetres from the band's top-left corner (the left
// margin of the page).
class VXPLATFORM_EXPORT Element {
public:
    explicit Element(const QRectF &rectMm);
    virtual ~Element();
    Element(const Element &) = delete;
    Element &operator=(const Element &) = delete;

    QRectF rect() const { return m_rect; }
    Qt::Alignment alignment() const { return m_alignment; }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    // The name a window uses to set the element's caption, lines or picture; empty for none.
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    // Finds fields, fonts and aggregates; throws ReportError for what does not exist.
    virtual void bind(BindContext &context);
    // Adds the element's drawing for the current row, its box moved down by `shiftMm`, and
    // returns the height it takes.
    virtual double layout(LayoutContext &context, double shiftMm) const = 0;
    // True when the element may grow taller than its box and push what lies below it down.
    virtual bool stretches() const { return false; }

private:
    QRectF m_rect;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    QString m_name;
};

// Font settings that override the report's default font one by one.
struct FontChoice {
    std::optional<QString> family;
    std::optional<double> pointSize;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<bool> underline;

    QFont resolve(const QFont &base) const;
};

// An element that prints one text in its box, in its font.
class VXPLATFORM_EXPORT TextualElement : public Element {
public:
    using Element::Element;

    FontChoice &fontChoice() { return m_fontChoice; }
    Overflow overflow() const { return m_overflow; }
    void setOverflow(Overflow overflow) { m_overflow = overflow; }

    void bind(BindContext &context) override;
    double layout(LayoutContext &context, double shiftMm) const override;
    bool stretches() const override { return m_overflow == Overflow::Wrap; }

protected:
    virtual QString text(const LayoutContext &context) const = 0;
    // How the layout's notes name the element: the field it shows, or its name.
    virtual QString what() const { return name(); }
    double placeText(LayoutContext &context, const QString &text, const QRectF &box) const;

private:
    FontChoice m_fontChoice;
    Overflow m_overflow = Overflow::Clip;
    int m_font = 0;
};

} // namespace vx::report
