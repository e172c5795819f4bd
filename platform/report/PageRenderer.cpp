#include "platform/report/PageRenderer.h"

#include "platform/report/Overloaded.h"

#include <QPainter>

namespace vx::report {

PageRenderer::PageRenderer(const PreparedReport &report, double dotsPerMm) : m_report(report), m_scale(dotsPerMm) {}

QRectF PageRenderer::toDevice(const QRectF &mm) const
{
    return QRectF(toDevice(mm.topLeft()), mm.size() * m_scale);
}

void PageRenderer::render(QPainter &painter, int pageIndex) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QColor ink = Qt::black;
    int currentFont = -1;
    const auto visitor = Overloaded{
        [&](const TextOp &op) {
            if (op.font != currentFont) {
                painter.setFont(m_report.fonts.at(op.font));
                currentFont = op.font;
            }
            painter.drawText(toDevice(op.baseline), op.text);
        },
        [&](const LineOp &op) {
            painter.setPen(QPen(ink, op.widthMm * m_scale, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(QLineF(toDevice(op.line.p1()), toDevice(op.line.p2())));
            painter.setPen(ink);
        },
        [&](const BoxOp &op) {
            painter.setPen(op.penMm > 0 ? QPen(ink, op.penMm * m_scale) : QPen(Qt::NoPen));
            painter.setBrush(op.fill.isValid() ? QBrush(op.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(toDevice(op.rect));
            painter.setPen(ink);
            painter.setBrush(Qt::NoBrush);
        },
        [&](const ImageOp &op) { painter.drawImage(toDevice(op.rect), op.image); },
    };
    painter.setPen(ink);
    for (const PageOp &op : m_report.pages[size_t(pageIndex)].ops)
        std::visit(visitor, op);
    painter.restore();
}

} // namespace vx::report
