#include "platform/report/TextPlacer.h"

#include <QLoggingCategory>

#include <cmath>

namespace vx::report {

Q_LOGGING_CATEGORY(lcReportLayout, "vx.report.layout")

namespace {

// The measuring resolution, that of PDF files and high-resolution printing.
constexpr double referenceDpi = 1200;
constexpr double mmPerDot = 25.4 / referenceDpi;
// Sizes a figure is shrunk by, in points.
constexpr double shrinkStep = 0.1;

const QString ellipsis = QString(QChar(0x2026));

} // namespace

bool TextPlacer::isFigure(const QString &text)
{
    static const QString signs = QStringLiteral("+-.,%$/:()' ");
    bool digit = false;
    for (const QChar c : text) {
        if (c.isDigit())
            digit = true;
        else if (!signs.contains(c))
            return false;
    }
    return digit;
}

TextPlacer::TextPlacer(FontTable &fonts) : m_fonts(fonts), m_reference(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMeter = qRound(referenceDpi / 0.0254);
    m_reference.setDotsPerMeterX(dotsPerMeter);
    m_reference.setDotsPerMeterY(dotsPerMeter);
}

const TextPlacer::Measures &TextPlacer::measures(int font)
{
    while (int(m_measures.size()) <= font) {
        auto measures =
            std::make_unique<Measures>(Measures{QFontMetricsF(m_fonts.at(int(m_measures.size())), &m_reference), {}});
        for (int c = 0; c < 256; ++c)
            measures->advances[size_t(c)] = measures->metrics.horizontalAdvance(QChar(c));
        m_measures.push_back(std::move(measures));
    }
    return *m_measures[size_t(font)];
}

double TextPlacer::lineHeight(int font)
{
    return metrics(font).lineSpacing() * mmPerDot;
}

double TextPlacer::ascent(int font)
{
    return metrics(font).ascent() * mmPerDot;
}

double TextPlacer::descent(int font)
{
    return metrics(font).descent() * mmPerDot;
}

double TextPlacer::width(const QString &text, int font)
{
    const Measures &m = measures(font);
    double dots = 0;
    for (const QChar c : text) {
        if (c.unicode() > 255)
            return m.metrics.horizontalAdvance(text) * mmPerDot;
        dots += m.advances[c.unicode()];
    }
    return dots * mmPerDot;
}

qsizetype TextPlacer::fittingLength(const QString &text, int font, double maxWidth)
{
    qsizetype low = 1;
    qsizetype high = text.size();
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (width(text.left(mid), font) <= maxWidth)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

TextPlacer::Line TextPlacer::clipped(const QString &line, int font, double maxWidth, const QString &what)
{
    const double whole = width(line, font);
    if (line.isEmpty() || whole <= maxWidth)
        return Line{line, whole, font};
    if (isFigure(line))
        return shrunk(line, font, maxWidth, what);
    // The ellipsis tells the reader that the text goes on.
    QString kept = line.left(fittingLength(line, font, maxWidth - width(ellipsis, font)));
    while (kept.size() > 1 && kept.endsWith(QLatin1Char(' ')))
        kept.chop(1);
    kept += ellipsis;
    return Line{kept, width(kept, font), font};
}

TextPlacer::Line TextPlacer::shrunk(const QString &figure, int font, double maxWidth, const QString &what)
{
    const QFont &original = m_fonts.at(font);
    const double points = original.pointSizeF();
    // Widths grow with the size, so the size that fits is close to this one; the loop makes sure.
    double size = std::floor(points * maxWidth / width(figure, font) / shrinkStep) * shrinkStep;
    for (; size >= smallestFigurePoints - 1e-9 && size < points; size -= shrinkStep) {
        QFont smaller = original;
        smaller.setPointSizeF(size);
        const int index = m_fonts.indexOf(smaller);
        const double wide = width(figure, index);
        if (wide <= maxWidth)
            return Line{figure, wide, index};
    }
    const QString note = QStringLiteral("%1: \"%2\" no cabe en %3 mm; se imprime %4")
                             .arg(what.isEmpty() ? QStringLiteral("(sin nombre)") : what, figure)
                             .arg(maxWidth, 0, 'f', 1)
                             .arg(tooWide);
    qCWarning(lcReportLayout).noquote() << note;
    m_overflows << note;
    return Line{tooWide, width(tooWide, font), font};
}

QStringList TextPlacer::wrapped(const QString &paragraph, int font, double maxWidth)
{
    if (width(paragraph, font) <= maxWidth)
        return {paragraph};
    QStringList lines;
    QString line;
    // Splitting on single spaces keeps runs of blanks the writer typed on purpose.
    const QStringList words = paragraph.split(QLatin1Char(' '));
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString candidate = i == 0 ? words[i] : line + QLatin1Char(' ') + words[i];
        if (width(candidate, font) <= maxWidth) {
            line = candidate;
            continue;
        }
        if (i > 0 && !line.trimmed().isEmpty())
            lines << line;
        line = words[i];
        // A word wider than the box is broken where it reaches the edge.
        while (line.size() > 1 && width(line, font) > maxWidth) {
            const qsizetype fits = fittingLength(line, font, maxWidth);
            lines << line.left(fits);
            line = line.mid(fits);
        }
    }
    lines << line;
    return lines;
}

double TextPlacer::place(const QString &text, int font, const QRectF &box, Qt::Alignment alignment, Overflow overflow,
                         std::vector<PageOp> &out, const QString &what)
{
    // A width of -1 is one not measured yet; left-aligned lines that need no cutting never are.
    std::vector<Line> lines;
    const bool measured = overflow == Overflow::Clip || (alignment & (Qt::AlignRight | Qt::AlignHCenter));
    for (QString paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.endsWith(QLatin1Char('\r')))
            paragraph.chop(1);
        switch (overflow) {
        case Overflow::Wrap:
            for (const QString &line : wrapped(paragraph, font, box.width()))
                lines.push_back(Line{line, -1, font});
            break;
        case Overflow::Clip:
            lines.push_back(clipped(paragraph, font, box.width(), what));
            break;
        case Overflow::Spill:
            lines.push_back(Line{paragraph, -1, font});
            break;
        }
    }
    const QFontMetricsF &fm = metrics(font);
    const double step = fm.lineSpacing() * mmPerDot;
    const double textHeight = step * double(lines.size());
    double top = box.top();
    if (alignment & Qt::AlignBottom)
        top = box.bottom() - textHeight;
    else if (alignment & Qt::AlignVCenter)
        top = box.top() + (box.height() - textHeight) / 2;
    if (overflow == Overflow::Wrap)
        top = qMax(top, box.top());
    // A shrunk figure keeps the baseline of its row, so that it still lines up with its neighbours.
    const double ascent = fm.ascent() * mmPerDot;
    for (size_t i = 0; i < lines.size(); ++i) {
        Line &line = lines[i];
        if (line.text.isEmpty())
            continue;
        double x = box.left();
        if (measured && (alignment & (Qt::AlignRight | Qt::AlignHCenter))) {
            if (line.width < 0)
                line.width = width(line.text, line.font);
            const double room = box.width() - line.width;
            x += (alignment & Qt::AlignRight) ? room : room / 2;
        }
        out.emplace_back(std::in_place_type<TextOp>, QPointF(x, top + ascent + step * double(i)), line.font,
                         std::move(line.text));
    }
    return qMax(box.height(), top - box.top() + textHeight);
}

} // namespace vx::report
