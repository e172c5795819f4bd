#pragma once

#include "platform/VxPlatformExport.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// The shop's conventions for numbers, dates and times, whatever the machine's locale: decimal
// comma, thousands point, short date dd/mm/yyyy, long time hh:mm:ss. Every conversion between
// values and text in the program goes through here.
namespace vx::shopformat {

constexpr QChar decimalSeparator = QLatin1Char(',');
constexpr QChar thousandSeparator = QLatin1Char('.');

// A number through a picture such as "0.00", "#,##0.00" or "0.00;-0.00;cero": '0' a digit always
// shown, '#' a digit shown when significant, '.' the decimal point, ',' thousands grouping,
// quoted text literal, up to three sections (positive; negative; zero). Rounds half away from
// zero, as pictures do. Never switches to exponent notation.
VXPLATFORM_EXPORT QString formatFloat(const QString &picture, double value);
// Fixed notation with the given decimals and no grouping ("1234,50").
VXPLATFORM_EXPORT QString formatFixed(double value, int decimals);
// The shortest text that reads back as the value, up to 15 significant digits ("12,5", "3").
VXPLATFORM_EXPORT QString formatGeneral(double value);

// Reads "1234,5", "-3", "1.234,50" (thousands points in groups of three). nullopt when the text is
// not a number in the shop's notation.
VXPLATFORM_EXPORT std::optional<double> parseNumber(const QString &text);

VXPLATFORM_EXPORT QString formatDate(const QDate &date);          // "08/12/2026"
VXPLATFORM_EXPORT QString formatTime(const QTime &time);          // "14:05:09"
// The date, followed by the time when it is not midnight.
VXPLATFORM_EXPORT QString formatDateTime(const QDateTime &value);
// Reads "8/12/2026", "08/12/26", optionally followed by a time "hh:mm" or "hh:mm:ss".
VXPLATFORM_EXPORT std::optional<QDateTime> parseDateTime(const QString &text);
VXPLATFORM_EXPORT std::optional<QDate> parseDate(const QString &text);

// The operator-facing message for a text that is not a number or not a date.
VXPLATFORM_EXPORT QString notANumberMessage(const QString &text);
VXPLATFORM_EXPORT QString notADateMessage(const QString &text);

}  // namespace vx::shopformat
