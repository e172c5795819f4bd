#include "app/GlobalFunction.h"

#include "platform/core/ShopFormat.h"

#include <cmath>

namespace GlobalFunction {

QString padLeft(const QString &text, int width, QChar fill)
{
    return text.rightJustified(width, fill, false);
}

QString articleCode(const QString &typed)
{
    return padLeft(typed, articleCodeLength, QLatin1Char('0'));
}

double strToFloat(const QString &text)
{
    const auto value = vx::shopformat::parseNumber(text);
    if (!value)
        throw ConvertError(vx::shopformat::notANumberMessage(text));
    return *value;
}

QString floatToStr(double value)
{
    return vx::shopformat::formatGeneral(value);
}

QString floatToFixed(double value, int digits)
{
    return vx::shopformat::formatFixed(value, digits);
}

QString formatFloat(const QString &picture, double value)
{
    return vx::shopformat::formatFloat(picture, value);
}

QString dateToStr(const QDate &date)
{
    return vx::shopformat::formatDate(date);
}

QString timeToStr(const QTime &time)
{
    return vx::shopformat::formatTime(time);
}

QDate strToDate(const QString &text)
{
    const auto date = vx::shopformat::parseDate(text);
    if (!date)
        throw ConvertError(vx::shopformat::notADateMessage(text));
    return *date;
}

qint64 roundHalfEven(double value)
{
    return static_cast<qint64>(std::nearbyint(value));
}

}  // namespace GlobalFunction
