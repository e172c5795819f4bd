#pragma once

#include "barcode/HBarCode.h"
#include "barcode/TBarPanel.h"

#include <functional>

class QPaintDevice;

namespace zebrune {

using TNotifyEvent = std::function<void(QObject *sender)>;
// Called when a text is rejected; the handler may correct `text` in place.
using TInvalidChar = std::function<void(QObject *sender, QString &text)>;

// A panel that shows a barcode and can draw or print it elsewhere. Every setter stores a new
// value only when it differs and then calls DoChange, which checks that the settings encode,
// repaints and calls OnChange. The text is written in the widget's font and text colour
// (QPalette::WindowText).
class ZEBRUNE_EXPORT TBarCode : public TBarPanel {
    Q_OBJECT

public:
    explicit TBarCode(QWidget *parent = nullptr);

    TBarType BarType() const { return barType_; }
    // Stores the type and calls DoChange; when the current text does not encode in the new type,
    // OnInvalidChar may correct the stored text in place, otherwise the error goes through.
    void SetBarType(TBarType value);

    QString BarCode() const { return barCode_; }
    // Rejected texts go to OnInvalidChar until it leaves one unchanged, which raises
    // "<text>: Barcode must be numeric.".
    virtual void SetBarcode(const QString &value);

    // The bar height; when none is set, or the one set no longer fits, the available length.
    int BarHeight() const;
    // 0 (fill the panel) for a value below 0 or beyond the available length.
    void SetBarHeight(int value);

    int Modul() const { return modul_; }
    // Only 1..49 is accepted; other values are ignored.
    void SetModul(int value);
    double Ratio() const { return ratio_; }
    void SetRatio(double value);
    TCheckSum CheckSum() const { return checkSum_; }
    void SetCheckSum(TCheckSum value);
    QColor ColorSpc() const { return colorSpc_; }
    void SetColorSpc(const QColor &value);
    QColor ColorBar() const { return colorBar_; }
    void SetColorBar(const QColor &value);
    TOrientation Orientation() const { return orientation_; }
    void SetOrientation(TOrientation value);
    TTextShow TextShow() const { return textShow_; }
    void SetTextShow(TTextShow value);
    TTextPosition TextPosition() const { return textPosition_; }
    void SetTextPosition(TTextPosition value);
    // Colour of the box behind the text.
    QColor TextColor() const { return textColor_; }
    void SetTextColor(const QColor &value);
    bool AutoWidth() const { return autoWidth_; }
    void SetAutoWidth(bool value);
    int HMargin() const { return hMargin_; }
    // Repaints only when AutoWidth is on, since only then does the margin show.
    void SetHMargin(int value);
    static QString About();

    const TNotifyEvent &OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }
    const TInvalidChar &OnInvalidChar() const { return onInvalidChar_; }
    void SetOnInvalidChar(TInvalidChar handler) { onInvalidChar_ = std::move(handler); }

    // Copies every barcode setting and OnChange (not AutoWidth, not OnInvalidChar) from another
    // TBarCode; any other source is ignored.
    virtual void Assign(const QObject *source);

    // 0, 180, 270 or 90 degrees for the four orientations.
    double GetAngle() const;

    void Draw(QPainter &canvas, int left, int top, int height) const;
    void Draw(QPainter &canvas, int left, int top, int height, double angle) const;
    // `printer` is the painter of a job the caller has begun; lengths in `units`.
    void Print(QPainter &printer, TUnits units, double left, double top, double height, double modul) const;
    void Print(QPainter &printer, TUnits units, double left, double top, double height, double modul,
               double angle) const;

    int GetBarWidth() const;
    int GetCanvasWidth(int height) const;
    int GetCanvasWidth(int height, double angle) const;
    int GetCanvasHeight(int height) const;
    int GetCanvasHeight(int height, double angle) const;
    int GetPrnBarWidth(const QPaintDevice &printer, TUnits units, double modul) const;
    int GetPrnCanvasWidth(const QPaintDevice &printer, TUnits units, double height, double modul) const;
    int GetPrnCanvasWidth(const QPaintDevice &printer, TUnits units, double height, double modul, double angle) const;
    int GetPrnCanvasHeight(const QPaintDevice &printer, TUnits units, double height, double modul) const;
    int GetPrnCanvasHeight(const QPaintDevice &printer, TUnits units, double height, double modul, double angle) const;
    QString GetBarTypeName() const;

    // Resizes the panel across the bars' length: bar width + 2 x (margin + border + frame)
    // becomes the Height for the vertical orientations, the Width otherwise.
    void AutoSetWidth(int margin);

protected:
    // Checks that the settings encode (raising if not), fits the panel when AutoWidth is on,
    // repaints and calls OnChange.
    virtual void DoChange();
    // Holds `text` as the barcode without checking it: the panel draws no bars while it does not
    // encode. For a text that comes from elsewhere (a record) and must not be refused.
    void ShowUnchecked(const QString &text);

    void Paint(QPainter &canvas) override;
    void PanelChanged() override;
    // With AutoWidth on, a panel resized by hand or by a layout returns to the barcode's size.
    void resizeEvent(QResizeEvent *event) override;

private:
    bool Vertical() const;
    // Length across the bars inside border and frame.
    int AvailableLength() const;
    BarFont TextFont() const;
    void StoreAndCheckDigits(const QString &value);
    void StoreAndCheck(const QString &value);
    QString EncodedText() const;
    [[noreturn]] static void RaiseNotNumeric(const QString &text);

    TBarType barType_ = bcCode39;
    QString barCode_;
    mutable int barHeight_ = 0;
    int modul_ = 1;
    double ratio_ = 2.0;
    TCheckSum checkSum_ = csNone;
    QColor colorSpc_ = Qt::white;
    QColor colorBar_ = Qt::black;
    TOrientation orientation_ = toLeftRight;
    TTextShow textShow_ = tsNone;
    TTextPosition textPosition_ = tpBottomCenter;
    QColor textColor_ = Qt::white;
    bool autoWidth_ = false;
    int hMargin_ = 0;
    TNotifyEvent onChange_;
    TInvalidChar onInvalidChar_;
};

} // namespace zebrune
