#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/report/PreparedReport.h"

#include <QFontMetricsF>
#include <QImage>

#include <array>
#include <memory>
#include <vector>

namespace vx::report {

// What a text does when it is wider than its box.
enum class Overflow {
    Clip,  // cut at the box's edge, one line
    Wrap,  // broken into lines at spaces; the box grows down to hold them
    Spill, // drawn whole, past the box's edge
};

// Turns texts into positioned lines. Texts are measured once, at a fixed high resolution, so a
// prepared page looks the same on the screen, in a PDF file and on paper.
class VXPLATFORM_EXPORT TextPlacer {
public:
    explicit TextPlacer(const FontTable &fonts);

    // Adds the lines of `text` in `box` to `out` and returns the height they take (at least the
    // box's height). A text with line breaks is several lines whatever the overflow.
    double place(const QString &text, int font, const QRectF &box, Qt::Alignment alignment, Overflow overflow,
                 std::vector<PageOp> &out);

    double lineHeight(int font);
    double width(const QString &text, int font);

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
    };

    const Measures &measures(int font);
    const QFontMetricsF &metrics(int font) { return measures(font).metrics; }
    QStringList wrapped(const QString &paragraph, int font, double width);
    Line clipped(const QString &line, int font, double width);
    // The longest start of `text` no wider than `width`, at least one character.
    qsizetype fittingLength(const QString &text, int font, double width);

    const FontTable &m_fonts;
    QImage m_reference;
    std::vector<std::unique_ptr<Measures>> m_measures;
};

} // namespace vx::report
