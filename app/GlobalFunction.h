#pragma once

#include "platform/db/DbError.h"

#include <QDate>
#include <QString>
#include <QTime>

// Helpers every window shares. Numbers, dates and times always follow the shop's notation
// (decimal comma, dd/mm/yyyy, hh:mm:ss) whatever the machine's locale.
namespace GlobalFunction {

// A text that is not a number or a date where one was expected; the message is the operator's.
class ConvertError : public vx::DbError {
public:
    using vx::DbError::DbError;
};

// The text preceded by `fill` up to `width` characters; longer texts are left as they are.
QString padLeft(const QString &text, int width, QChar fill = QLatin1Char(' '));
// An article's own code as stored: the typed text left-padded with "0" to 13 characters.
QString articleCode(const QString &typed);
constexpr int articleCodeLength = 13;

// Throws ConvertError for a text that is not a number in the shop's notation.
double strToFloat(const QString &text);
// The shortest text that reads back as the value ("12,5", "3").
QString floatToStr(double value);
// Fixed notation with `digits` decimals, never in exponent notation ("1234,50").
QString floatToFixed(double value, int digits);
// Through a picture such as "0.00" or "#,##0.00".
QString formatFloat(const QString &picture, double value);

QString dateToStr(const QDate &date);
QString timeToStr(const QTime &time);
// Throws ConvertError for a text that is not a date dd/mm/yyyy.
QDate strToDate(const QString &text);

// The nearest whole number, a half going to the even neighbour (2,5 -> 2; 3,5 -> 4).
qint64 roundHalfEven(double value);

}  // namespace GlobalFunction
