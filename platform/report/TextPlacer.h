#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"

#include <QFontMetricsF>
#include <QImage>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

namespace vx::report {

// What a text does when it is wider than its box.
enum class Overflow {
    Clip,  // one line: a figure shrinks to fit (or shows "###"), any other text ends in "…"
    Wrap,  // broken into lines at spaces; the box grows down to hold them
    Spill, // drawn whole, past the box's edge
};

// Turns texts into positioned lines. Texts are measured once, at a fixed high resolution, so a
// prepared page looks the same on the screen, in a PDF file and on paper.
//
// A figure (an amount, a quantity, a code of digits, a date) is never cut, since a cut figure
// reads as another one: a figure too wide for its box is set in a smaller size, down to
// `smallestFigurePoints`, and past that the box shows "###" and the placer notes which field
// it was (overflows(), and the log).
class VXPLATFORM_EXPORT TextPlacer {
public:
    static constexpr double smallestFigurePoints = 6;
    static inline const QString tooWide = QStringLiteral("###");

    explicit TextPlacer(FontTable &fonts);

    // Adds the lines of `text` in `box` to `out` and returns the height they take (at least the
    // box's height). A text with line breaks is several lines whatever the overflow. `what`
    // names the field for the note of a figure that does not fit.
    double place(const QString &text, int font, const QRectF &box, Qt::Alignment alignment, Overflow overflow,
                 std::vector<PageOp> &out, const QString &what = {});

    double lineHeight(int font);
    double ascent(int font);
    double descent(int font);
    double width(const QString &text, int font);
    // True for a text made only of digits, signs, separators and the like ("1.234,56", "-3",
    // "10 %", "08/12/2026"), with at least one digit.
    static bool isFigure(const QString &text);

    // One line per figure shown as "###" since the placer was made.
    const QStringList &overflows() const { return m_overflows; }

private:
    // What is known of one font at the measuring resolution: its metrics, and the advance of
    // each Latin-1 character, which is what shop texts are made of and adds up without shaping.
    struct Measures {
        QFontMetricsF metrics;
        std::array<double, 256> advances;
    };

    struct Line {
        QString text;
        double width; // millimetres; -1 until measured
        int font;
    };

    const Measures &measures(int font);
    const QFontMetricsF &metrics(int font) { return measures(font).metrics; }
    QStringList wrapped(const QString &paragraph, int font, double width);
    Line clipped(const QString &line, int font, double width, const QString &what);
    Line shrunk(const QString &figure, int font, double width, const QString &what);
    // The longest start of `text` no wider than `width`, at least one character.
    qsizetype fittingLength(const QString &text, int font, double width);

    FontTable &m_fonts;
    QImage m_reference;
    std::vector<std::unique_ptr<Measures>> m_measures;
    QStringList m_overflows;
};

} // namespace vx::report
