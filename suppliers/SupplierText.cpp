#include "suppliers/SupplierText.h"

#include "platform/core/ShopFormat.h"

#include <cmath>

namespace suppliers {

namespace {

const QString separator = QStringLiteral(" / ");

} // namespace

qint64 toCents(double amount)
{
    return std::llround(amount * 100.0);
}

double fromCents(qint64 cents)
{
    return double(cents) / 100.0;
}

QString numberText(double number)
{
    return vx::shopformat::formatGeneral(number);
}

QStringList splitList(const QString &text)
{
    QStringList out;
    for (const QString &part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString number = part.trimmed();
        if (!number.isEmpty())
            out << number;
    }
    return out;
}

QString fittedList(const QString &prefix, const QStringList &numbers, int size)
{
    QString out = prefix.left(size);
    bool first = true;
    for (const QString &number : numbers) {
        const QString next = first ? number : separator + number;
        if (out.size() + next.size() > size)
            break;
        out += next;
        first = false;
    }
    return out;
}

QString newestFitting(const QStringList &numbers, int size)
{
    QString out;
    for (qsizetype i = numbers.size() - 1; i >= 0; --i) {
        const QString next = out.isEmpty() ? numbers[i] : numbers[i] + separator;
        if (out.size() + next.size() > size)
            break;
        out.prepend(next);
    }
    return out;
}

} // namespace suppliers
