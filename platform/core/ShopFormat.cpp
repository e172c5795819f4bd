#include "platform/core/ShopFormat.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace vx::shopformat {

namespace {

// A picture section split into what prints before the number, the number's layout, and after.
struct Picture {
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
    bool hasDigits = false;
};

QStringList splitSections(const QString &picture)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (const QChar c : picture) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            current += c;
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    return sections;
}

Picture parsePicture(const QString &section)
{
    Picture p;
    bool afterPoint = false;
    QChar quote;
    for (const QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                (p.hasDigits ? p.suffix : p.prefix) += c;
            continue;
        }
        switch (c.unicode()) {
        case '"':
        case '\'': quote = c; break;
        case '0':
        case '#':
            if (!p.suffix.isEmpty()) {
                // digits after literal text: keep the text where it stood
                p.prefix += p.suffix;
                p.suffix.clear();
            }
            p.hasDigits = true;
            if (afterPoint) {
                ++p.maxDecimals;
                if (c == QLatin1Char('0'))
                    p.minDecimals = p.maxDecimals;
            } else if (c == QLatin1Char('0')) {
                ++p.minIntegerDigits;
            }
            break;
        case '.':
            if (p.hasDigits || !afterPoint)
                afterPoint = true;
            break;
        case ',':
            if (!afterPoint)
                p.grouping = true;
            break;
        default: (p.hasDigits ? p.suffix : p.prefix) += c; break;
        }
    }
    return p;
}

// The decimal digits of |value| rounded half away from zero to `decimals` places, working on its
// 15 significant digits as a shop's calculator would (2,675 rounds to 2,68).
void roundedDigits(double value, int decimals, QString &integerPart, QString &fraction)
{
    const QString sci = QString::number(std::fabs(value), 'e', 14);  // d.dddddddddddddde+XX
    const int ePos = sci.indexOf(QLatin1Char('e'));
    const int exponent = sci.mid(ePos + 1).toInt();
    QString digits = sci.left(1) + sci.mid(2, ePos - 2);  // 15 digits
    int pointPos = exponent + 1;                             // digits before the point
    if (pointPos < 0) {
        digits = QString(-pointPos, QLatin1Char('0')) + digits;
        pointPos = 0;
    }
    if (digits.size() < pointPos + decimals + 1)
        digits += QString(pointPos + decimals + 1 - digits.size(), QLatin1Char('0'));

    QString kept = digits.left(pointPos + decimals);
    const bool roundUp = digits.at(pointPos + decimals) >= QLatin1Char('5');
    if (roundUp) {
        int i = kept.size() - 1;
        for (; i >= 0; --i) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    integerPart = kept.left(pointPos);
    fraction = kept.mid(pointPos);
}

QString groupThousands(const QString &digits)
{
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += thousandSeparator;
        out += digits[i];
    }
    return out;
}

// Formats |value| through one section; `isZero` tells whether it rounds to nothing.
QString applyPicture(const Picture &p, double value, bool *isZero)
{
    QString integerPart;
    QString fraction;
    roundedDigits(value, p.maxDecimals, integerPart, fraction);
    const auto nonZero = [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); };
    *isZero = std::none_of(integerPart.cbegin(), integerPart.cend(), nonZero) &&
              std::none_of(fraction.cbegin(), fraction.cend(), nonZero);

    while (fraction.size() > p.minDecimals && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    int firstSignificant = 0;
    while (firstSignificant < integerPart.size() && integerPart[firstSignificant] == QLatin1Char('0'))
        ++firstSignificant;
    integerPart = integerPart.mid(firstSignificant);
    if (integerPart.size() < p.minIntegerDigits)
        integerPart = QString(p.minIntegerDigits - integerPart.size(), QLatin1Char('0')) + integerPart;
    if (p.grouping)
        integerPart = groupThousands(integerPart);

    QString number = integerPart;
    if (!fraction.isEmpty())
        number += decimalSeparator + fraction;
    return p.prefix + number + p.suffix;
}

}  // namespace

QString formatFloat(const QString &picture, double value)
{
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    if (picture.isEmpty())
        return formatGeneral(value);
    const QStringList sections = splitSections(picture);
    const Picture positive = parsePicture(sections.value(0));
    if (!positive.hasDigits)
        return positive.prefix + positive.suffix;

    bool isZero = false;
    QString text = applyPicture(positive, value, &isZero);
    if (isZero) {
        if (sections.size() >= 3 && !sections[2].isEmpty()) {
            const Picture zero = parsePicture(sections[2]);
            return zero.hasDigits ? applyPicture(zero, 0.0, &isZero) : zero.prefix + zero.suffix;
        }
        return text;
    }
    if (value < 0) {
        if (sections.size() >= 2 && !sections[1].isEmpty()) {
            const Picture negative = parsePicture(sections[1]);
            return negative.hasDigits ? applyPicture(negative, value, &isZero) : negative.prefix + negative.suffix;
        }
        return QLatin1Char('-') + text;
    }
    return text;
}

QString formatFixed(double value, int decimals)
{
    QString picture = QStringLiteral("0");
    if (decimals > 0)
        picture += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    return formatFloat(picture, value);
}

QString formatGeneral(double value)
{
    QString text = QString::number(value, 'g', 15);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

std::optional<double> parseNumber(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([+-]?)(\\d{1,3}(?:\\.\\d{3})+|\\d*)(?:,(\\d*))?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    QString integerPart = m.captured(2);
    const QString fraction = m.captured(3);
    if (integerPart.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    integerPart.remove(thousandSeparator);
    bool ok = false;
    const double value = (QStringLiteral("0") + integerPart + QLatin1Char('.') + fraction + QLatin1Char('0'))
                             .toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return m.captured(1) == QLatin1String("-") ? -value : value;
}

QString formatDate(const QDate &date)
{
    return date.toString(QStringLiteral("dd/MM/yyyy"));
}

QString formatTime(const QTime &time)
{
    return time.toString(QStringLiteral("hh:mm:ss"));
}

QString formatDateTime(const QDateTime &value)
{
    if (!value.isValid())
        return {};
    if (value.time() == QTime(0, 0))
        return formatDate(value.date());
    return formatDate(value.date()) + QLatin1Char(' ') + formatTime(value.time());
}

std::optional<QDateTime> parseDateTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(
        "^\\s*(\\d{1,2})/(\\d{1,2})(?:/(\\d{1,4}))?(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    int year = QDate::currentDate().year();
    if (!m.captured(3).isEmpty()) {
        year = m.captured(3).toInt();
        if (m.captured(3).size() <= 2)
            year += year < 50 ? 2000 : 1900;
    }
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (!m.captured(4).isEmpty()) {
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time, Qt::UTC);
}

std::optional<QDate> parseDate(const QString &text)
{
    const auto value = parseDateTime(text);
    if (!value)
        return std::nullopt;
    return value->date();
}

QString notANumberMessage(const QString &text)
{
    return QStringLiteral("'%1' no es un valor numérico válido").arg(text);
}

QString notADateMessage(const QString &text)
{
    return QStringLiteral("'%1' no es una fecha válida").arg(text);
}

}  // namespace vx::shopformat
