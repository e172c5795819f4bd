#include "barcode/TBarPanel.h"

#include "barcode/StoreIfChanged.h"

#include <QPaintEvent>
#include <QPainter>

namespace zebrune {

namespace {

// Draws a `width`-pixel edge inside `rect`: `topLeft` on the top and left sides, `bottomRight`
// on the bottom and right ones; `rect` shrinks by the edge.
void paintEdge(QPainter &canvas, QRect &rect, int width, const QColor &topLeft, const QColor &bottomRight)
{
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        canvas.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
        canvas.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
        canvas.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
        canvas.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
        rect.adjust(1, 1, -1, -1);
    }
}

} // namespace

TBarPanel::TBarPanel(QWidget *parent) : QWidget(parent), color_(palette().color(QPalette::Button)) {}

void TBarPanel::SetAlignment(TAlignment value)
{
    if (storeIfChanged(alignment_, value))
        PanelChanged();
}

void TBarPanel::SetBevelInner(TBevelCut value)
{
    if (storeIfChanged(bevelInner_, value))
        PanelChanged();
}

void TBarPanel::SetBevelOuter(TBevelCut value)
{
    if (storeIfChanged(bevelOuter_, value))
        PanelChanged();
}

void TBarPanel::SetBevelWidth(int value)
{
    if (value >= 1 && storeIfChanged(bevelWidth_, value))
        PanelChanged();
}

void TBarPanel::SetBorderWidth(int value)
{
    if (value >= 0 && storeIfChanged(borderWidth_, value))
        PanelChanged();
}

void TBarPanel::SetBorderStyle(TBorderStyle value)
{
    if (storeIfChanged(borderStyle_, value))
        PanelChanged();
}

void TBarPanel::SetCtl3D(bool value)
{
    if (storeIfChanged(ctl3D_, value))
        PanelChanged();
}

void TBarPanel::SetColor(const QColor &value)
{
    if (storeIfChanged(color_, value))
        PanelChanged();
}

int TBarPanel::Border() const
{
    int border = borderWidth_;
    if (bevelInner_ != bvNone)
        border += bevelWidth_;
    if (bevelOuter_ != bvNone)
        border += bevelWidth_;
    return border;
}

int TBarPanel::Frame() const
{
    if (borderStyle_ == bsNone)
        return 0;
    return ctl3D_ ? 4 : 2;
}

void TBarPanel::PanelChanged()
{
    update();
}

void TBarPanel::paintEvent(QPaintEvent *)
{
    QPainter canvas(this);
    PaintFrame(canvas);
    canvas.translate(Frame() / 2, Frame() / 2);
    Paint(canvas);
}

void TBarPanel::PaintFrame(QPainter &canvas) const
{
    QRect rect = this->rect();
    if (borderStyle_ == bsNone)
        return;
    const QPalette &p = palette();
    if (ctl3D_) {
        paintEdge(canvas, rect, 1, p.color(QPalette::Mid), p.color(QPalette::Light));
        paintEdge(canvas, rect, 1, p.color(QPalette::Shadow), p.color(QPalette::Button));
    } else {
        paintEdge(canvas, rect, 1, p.color(QPalette::Shadow), p.color(QPalette::Shadow));
    }
}

void TBarPanel::PaintBevel(QPainter &canvas, QRect &rect, TBevelCut cut) const
{
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Mid);
    switch (cut) {
    case bvNone:
        return;
    case bvRaised:
        return paintEdge(canvas, rect, bevelWidth_, light, shadow);
    case bvLowered:
        return paintEdge(canvas, rect, bevelWidth_, shadow, light);
    case bvSpace:
        return paintEdge(canvas, rect, bevelWidth_, color_, color_);
    }
}

void TBarPanel::Paint(QPainter &canvas)
{
    QRect client(0, 0, width() - Frame(), height() - Frame());
    canvas.fillRect(client, color_);
    PaintBevel(canvas, client, bevelOuter_);
    client.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    PaintBevel(canvas, client, bevelInner_);
}

} // namespace zebrune
