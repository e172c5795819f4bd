#pragma once

#include "barcode/ZebruneExport.h"

#include <QColor>
#include <QWidget>

class QPainter;

namespace zebrune {

enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
enum TBevelCut : int { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle : int { bsNone, bsSingle };

// A panel: background colour, an outer and an inner bevel separated by a border, and an
// optional window frame around it all. Width() and Height() are the outer size, frame
// included; painting happens in the client area inside the frame.
class ZEBRUNE_EXPORT TBarPanel : public QWidget {
    Q_OBJECT

public:
    explicit TBarPanel(QWidget *parent = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    QColor Color() const { return color_; }
    void SetColor(const QColor &value);

    // Border width plus the width of each bevel that is drawn.
    int Border() const;
    // Both sides of the window frame together: 4 for a 3-D single border, 2 for a flat one.
    int Frame() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Paints background and bevels; the painter is already moved into the client area.
    virtual void Paint(QPainter &canvas);
    // Called after a property that changes the geometry or look has been stored.
    virtual void PanelChanged();

private:
    void PaintFrame(QPainter &canvas) const;
    void PaintBevel(QPainter &canvas, QRect &rect, TBevelCut cut) const;

    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    bool ctl3D_ = true;
    QColor color_;
};

} // namespace zebrune
