#include "barcode/pBarCode.h"

#include "barcode/StoreIfChanged.h"

#include <QPainter>

#include <algorithm>

namespace zebrune {

namespace {

// The text without its leading and trailing blanks (and control characters).
QStringView withoutOuterBlanks(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= ' ')
        ++first;
    while (last > first && text.at(last - 1).unicode() <= ' ')
        --last;
    return QStringView(text).mid(first, last - first);
}

bool isDigitsAfterTrim(const QString &text)
{
    const QStringView digits = withoutOuterBlanks(text);
    return std::all_of(digits.begin(), digits.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

bool isDigitsOnly(TBarType type)
{
    return type >= 0 && type < BarTypeCount && BCData[type].digitsOnly;
}

} // namespace

TBarCode::TBarCode(QWidget *parent) : TBarPanel(parent) {}

QString TBarCode::About()
{
    return QStringLiteral("Zebrune barcode components");
}

// A digits-only text is stored with the blanks the caller put around it, but the blanks are not
// part of the number the bars carry.
QString TBarCode::EncodedText() const
{
    if (isDigitsOnly(barType_))
        return withoutOuterBlanks(barCode_).toString();
    return barCode_;
}

void TBarCode::RaiseNotNumeric(const QString &text)
{
    throw BarcodeError((text + QStringLiteral(": Barcode must be numeric.")).toStdString());
}

void TBarCode::SetBarcode(const QString &value)
{
    if (value == barCode_)
        return;
    if (isDigitsOnly(barType_))
        StoreAndCheckDigits(value);
    else
        StoreAndCheck(value);
}

// Digits-only types: the text is corrected before it is stored.
void TBarCode::StoreAndCheckDigits(const QString &value)
{
    QString text = value;
    while (!isDigitsAfterTrim(text)) {
        const QString offered = text;
        if (onInvalidChar_)
            onInvalidChar_(this, text);
        if (text == offered)
            RaiseNotNumeric(offered);
    }
    barCode_ = text;
    DoChange();
}

// Other types: the text is stored and tried; an encoder error asks for a correction. A handler
// that hands back the text it was given ends the loop, so it cannot spin for ever.
void TBarCode::StoreAndCheck(const QString &value)
{
    QString text = value;
    for (;;) {
        barCode_ = text;
        try {
            DoChange();
            return;
        } catch (const BarcodeError &) {
            const QString offered = text;
            if (onInvalidChar_)
                onInvalidChar_(this, text);
            if (text == offered)
                RaiseNotNumeric(offered);
        }
    }
}

void TBarCode::SetBarType(TBarType value)
{
    barType_ = value;
    try {
        DoChange();
    } catch (const BarcodeError &) {
        if (!onInvalidChar_)
            throw;
        const QString before = barCode_;
        onInvalidChar_(this, barCode_);
        if (barCode_ != before)
            DoChange();
    }
}

bool TBarCode::Vertical() const
{
    return orientation_ == toTopBottom || orientation_ == toBottomTop;
}

int TBarCode::AvailableLength() const
{
    return (Vertical() ? width() : height()) - 2 * Border() - Frame() - 1;
}

int TBarCode::BarHeight() const
{
    const int available = AvailableLength();
    if (barHeight_ == 0 || barHeight_ >= available) {
        barHeight_ = 0;
        return available;
    }
    return barHeight_;
}

void TBarCode::SetBarHeight(int value)
{
    const int stored = value < 0 || value > AvailableLength() ? 0 : value;
    if (storeIfChanged(barHeight_, stored))
        DoChange();
}

void TBarCode::SetModul(int value)
{
    if (value >= 1 && value <= 49 && storeIfChanged(modul_, value))
        DoChange();
}

void TBarCode::SetRatio(double value)
{
    if (storeIfChanged(ratio_, value))
        DoChange();
}

void TBarCode::SetCheckSum(TCheckSum value)
{
    if (storeIfChanged(checkSum_, value))
        DoChange();
}

void TBarCode::SetColorSpc(const QColor &value)
{
    if (storeIfChanged(colorSpc_, value))
        DoChange();
}

void TBarCode::SetColorBar(const QColor &value)
{
    if (storeIfChanged(colorBar_, value))
        DoChange();
}

void TBarCode::SetOrientation(TOrientation value)
{
    if (storeIfChanged(orientation_, value))
        DoChange();
}

void TBarCode::SetTextShow(TTextShow value)
{
    if (storeIfChanged(textShow_, value))
        DoChange();
}

void TBarCode::SetTextPosition(TTextPosition value)
{
    if (storeIfChanged(textPosition_, value))
        DoChange();
}

void TBarCode::SetTextColor(const QColor &value)
{
    if (storeIfChanged(textColor_, value))
        DoChange();
}

void TBarCode::SetAutoWidth(bool value)
{
    if (storeIfChanged(autoWidth_, value))
        DoChange();
}

void TBarCode::SetHMargin(int value)
{
    if (storeIfChanged(hMargin_, value) && autoWidth_)
        DoChange();
}

void TBarCode::Assign(const QObject *source)
{
    const auto *other = qobject_cast<const TBarCode *>(source);
    if (other == nullptr || other == this)
        return;
    orientation_ = other->orientation_;
    modul_ = other->modul_;
    ratio_ = other->ratio_;
    colorSpc_ = other->colorSpc_;
    colorBar_ = other->colorBar_;
    barType_ = other->barType_;
    barCode_ = other->barCode_;
    barHeight_ = other->barHeight_;
    checkSum_ = other->checkSum_;
    textColor_ = other->textColor_;
    textShow_ = other->textShow_;
    textPosition_ = other->textPosition_;
    hMargin_ = other->hMargin_;
    onChange_ = other->onChange_;
    DoChange();
}

void TBarCode::DoChange()
{
    if (autoWidth_)
        AutoSetWidth(hMargin_);
    else
        GetBarWidth();
    update();
    if (onChange_)
        onChange_(this);
}

void TBarCode::ShowUnchecked(const QString &text)
{
    barCode_ = text;
    update();
}

void TBarCode::PanelChanged()
{
    if (autoWidth_)
        AutoSetWidth(hMargin_);
    update();
}

void TBarCode::resizeEvent(QResizeEvent *event)
{
    TBarPanel::resizeEvent(event);
    if (!autoWidth_)
        return;
    try {
        AutoSetWidth(hMargin_);
    } catch (const BarcodeError &) {
        // A text that does not encode has no size to keep; its setter has raised already.
    }
}

double TBarCode::GetAngle() const
{
    switch (orientation_) {
    case toRightLeft:
        return 180.0;
    case toTopBottom:
        return 270.0;
    case toBottomTop:
        return 90.0;
    case toLeftRight:
        break;
    }
    return 0.0;
}

BarFont TBarCode::TextFont() const
{
    return BarFont(font(), palette().color(QPalette::WindowText));
}

void TBarCode::Draw(QPainter &canvas, int left, int top, int height) const
{
    Draw(canvas, left, top, height, GetAngle());
}

void TBarCode::Draw(QPainter &canvas, int left, int top, int height, double angle) const
{
    H_DrawBar(canvas, barType_, EncodedText(), modul_, ratio_, checkSum_, left, top, height, TextFont(), textShow_,
              textPosition_, colorBar_, colorSpc_, textColor_, angle);
}

void TBarCode::Print(QPainter &printer, TUnits units, double left, double top, double height, double modul) const
{
    Print(printer, units, left, top, height, modul, GetAngle());
}

void TBarCode::Print(QPainter &printer, TUnits units, double left, double top, double height, double modul,
                     double angle) const
{
    H_PrintBar(printer, units, barType_, EncodedText(), modul, ratio_, checkSum_, left, top, height, TextFont(), textShow_,
               textPosition_, colorBar_, colorSpc_, textColor_, angle);
}

int TBarCode::GetBarWidth() const
{
    return H_GetBarWidth(barType_, EncodedText(), modul_, ratio_, checkSum_);
}

int TBarCode::GetCanvasWidth(int height) const
{
    return GetCanvasWidth(height, GetAngle());
}

int TBarCode::GetCanvasWidth(int height, double angle) const
{
    return H_GetCanvasWidth(barType_, EncodedText(), modul_, ratio_, checkSum_, height, angle);
}

int TBarCode::GetCanvasHeight(int height) const
{
    return GetCanvasHeight(height, GetAngle());
}

int TBarCode::GetCanvasHeight(int height, double angle) const
{
    return H_GetCanvasHeight(barType_, EncodedText(), modul_, ratio_, checkSum_, height, angle);
}

int TBarCode::GetPrnBarWidth(const QPaintDevice &printer, TUnits units, double modul) const
{
    return H_GetPrnBarWidth(printer, units, barType_, EncodedText(), modul, ratio_, checkSum_);
}

int TBarCode::GetPrnCanvasWidth(const QPaintDevice &printer, TUnits units, double height, double modul) const
{
    return GetPrnCanvasWidth(printer, units, height, modul, GetAngle());
}

int TBarCode::GetPrnCanvasWidth(const QPaintDevice &printer, TUnits units, double height, double modul,
                                double angle) const
{
    return H_PrnCanvasWidth(printer, units, barType_, EncodedText(), modul, ratio_, checkSum_, height, angle);
}

int TBarCode::GetPrnCanvasHeight(const QPaintDevice &printer, TUnits units, double height, double modul) const
{
    return GetPrnCanvasHeight(printer, units, height, modul, GetAngle());
}

int TBarCode::GetPrnCanvasHeight(const QPaintDevice &printer, TUnits units, double height, double modul,
                                 double angle) const
{
    return H_PrnCanvasHeight(printer, units, barType_, EncodedText(), modul, ratio_, checkSum_, height, angle);
}

QString TBarCode::GetBarTypeName() const
{
    return H_GetBarTypeName(barType_);
}

void TBarCode::AutoSetWidth(int margin)
{
    const int size = GetBarWidth() + 2 * (margin + Border() + Frame());
    if (Vertical())
        resize(width(), size);
    else
        resize(size, height());
}

void TBarCode::Paint(QPainter &canvas)
{
    TBarPanel::Paint(canvas);
    const int h = BarHeight();
    const bool vertical = Vertical();
    const int panelLength = vertical ? height() : width();
    const int panelExtent = vertical ? width() : height();
    const bool reversed = orientation_ == toRightLeft || orientation_ == toBottomTop;
    try {
        const int w = GetBarWidth();
        int along = (panelLength - Frame() - w) / 2;
        if (Alignment() == taLeftJustify)
            along = Border() - (reversed ? 1 : 0);
        else if (Alignment() == taRightJustify)
            along = panelLength - Border() - Frame() - w - (reversed ? 1 : 0);
        const int across = (panelExtent - h - Frame()) / 2;
        Draw(canvas, vertical ? across : along, vertical ? along : across, h);
    } catch (const BarcodeError &) {
        // The setter that stored this text has already raised the error; the panel stays empty.
    }
}

} // namespace zebrune
