#include "sales/SaleTotals.h"

#include "platform/core/ShopFormat.h"

#include <cmath>

QString sales::blankOwnCode()
{
    return QString(ownCodeLength, QLatin1Char('0'));
}

QString sales::padOwnCode(const QString &typed)
{
    const QString code = typed.trimmed();
    if (code.isEmpty() || code == QLatin1String("0"))
        return code;
    return code.rightJustified(ownCodeLength, QLatin1Char('0'));
}

bool sales::isCompleteOwnCode(const QString &code)
{
    return code.size() >= ownCodeLength && code != blankOwnCode();
}

double sales::toCents(double amount)
{
    // Counted in whole cents, so that sums of many lines carry no binary residue.
    return double(std::llround(amount * 100)) / 100;
}

sales::Discount sales::applyDiscount(double subtotal, double percentage)
{
    const qint64 subtotalCents = std::llround(subtotal * 100);
    const qint64 discountCents = percentage == 0 ? 0 : std::llround(double(subtotalCents) * percentage / 100);
    return {double(discountCents) / 100, double(subtotalCents - discountCents) / 100};
}

double sales::lineAmount(double quantity, double unitPrice)
{
    return toCents(quantity * unitPrice);
}

double sales::changeDue(double cash, double card, double total)
{
    return cash + card - total;
}

QString sales::amountText(double value)
{
    // A change of -0.001 shows as "0,00", not "-0,00".
    if (std::abs(value) < 0.005)
        value = 0;
    return vx::shopformat::formatFixed(value, 2);
}

std::optional<double> sales::boxAmount(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0;
    return vx::shopformat::parseNumber(trimmed);
}
