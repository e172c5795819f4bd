#include "catalogue/StockTotals.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/Table.h"

#include <QSqlDriver>
#include <QSqlQuery>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace catalogue {

namespace {

using Wide = __int128;

// The most decimals the SQLite sum keeps: a product of two 15-digit values may have more, and
// what lies beyond the 20th decimal cannot move a total rounded to cents.
constexpr int maxScale = 20;

Wide power10(int exponent)
{
    Wide out = 1;
    for (int i = 0; i < exponent; ++i)
        out *= 10;
    return out;
}

// A decimal number: units of 10^-scale.
struct Decimal {
    Wide units = 0;
    int scale = 0;
};

// The 15-significant-digit decimal a stored double stands for (as PostgreSQL casts it to numeric):
// the only decimal of at most 15 digits that reads back as the same double.
Decimal decimalOf(double value)
{
    // Shop figures have few decimals: find the one that reads back without formatting text.
    double scaled = value;
    for (int scale = 0; scale <= 15; ++scale, scaled = value * double(power10(scale))) {
        const double whole = std::nearbyint(scaled);
        if (std::fabs(whole) >= 1e15)
            break;
        if (whole / double(power10(scale)) == value)
            return {Wide(whole), scale};
    }
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", value);  // d.dddddddddddddde±x: 15 digits
    Decimal out;
    const char *c = text;
    const bool negative = *c == '-';
    if (negative)
        ++c;
    for (; *c && *c != 'e'; ++c) {
        if (*c >= '0' && *c <= '9')
            out.units = out.units * 10 + (*c - '0');
    }
    const int exponent = std::atoi(c + 1);
    out.scale = 14 - exponent;
    if (negative)
        out.units = -out.units;
    if (out.scale < 0) {
        out.units *= power10(-out.scale);
        out.scale = 0;
    }
    return out;
}

struct ExactSum {
    Wide units = 0;
    int scale = 0;
    bool overflow = false;

    void add(Decimal term)
    {
        if (term.scale > maxScale) {
            // Rounded half away from zero at the last kept decimal.
            const Wide divisor = power10(term.scale - maxScale);
            const Wide half = divisor / 2;
            term.units = term.units >= 0 ? (term.units + half) / divisor : (term.units - half) / divisor;
            term.scale = maxScale;
        }
        if (term.scale > scale) {
            if (__builtin_mul_overflow(units, power10(term.scale - scale), &units))
                overflow = true;
            scale = term.scale;
        } else if (term.scale < scale && __builtin_mul_overflow(term.units, power10(scale - term.scale), &term.units)) {
            overflow = true;
        }
        if (__builtin_add_overflow(units, term.units, &units))
            overflow = true;
    }

    QByteArray text() const
    {
        Wide magnitude = units < 0 ? -units : units;
        QByteArray digits;
        do {
            digits.prepend(char('0' + int(magnitude % 10)));
            magnitude /= 10;
        } while (magnitude > 0);
        while (digits.size() <= scale)
            digits.prepend('0');
        if (scale > 0)
            digits.insert(digits.size() - scale, '.');
        if (units < 0)
            digits.prepend('-');
        return digits;
    }
};

// The sum of an aggregate's rows, in the zeroed memory SQLite keeps for it (aligned here: SQLite
// aligns to 8 bytes, a 128-bit integer needs 16). Null before the first row when `bytes` is 0.
ExactSum *sumOf(sqlite3_context *context, int bytes)
{
    void *raw = sqlite3_aggregate_context(context, bytes);
    if (!raw)
        return nullptr;
    const auto at = (reinterpret_cast<quintptr>(raw) + alignof(ExactSum) - 1) & ~quintptr(alignof(ExactSum) - 1);
    return reinterpret_cast<ExactSum *>(at);
}

// vx_exact_sum(a, b): the exact sum of a x b over the rows, as decimal text; rows where either is
// null add nothing.
void exactSumStep(sqlite3_context *context, int, sqlite3_value **argv)
{
    ExactSum *sum = sumOf(context, int(sizeof(ExactSum) + alignof(ExactSum)));
    if (!sum || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return;
    const Decimal a = decimalOf(sqlite3_value_double(argv[0]));
    const Decimal b = decimalOf(sqlite3_value_double(argv[1]));
    Decimal product;
    if (__builtin_mul_overflow(a.units, b.units, &product.units))
        sum->overflow = true;
    product.scale = a.scale + b.scale;
    sum->add(product);
}

void exactSumFinal(sqlite3_context *context)
{
    const ExactSum *sum = sumOf(context, 0);
    if (sum && sum->overflow) {
        sqlite3_result_error(context, "El total excede lo que se puede sumar con exactitud.", -1);
        return;
    }
    const QByteArray text = sum ? sum->text() : QByteArrayLiteral("0");
    sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void registerExactSum(vx::Connection &connection)
{
    const QVariant handle = connection.database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return;
    sqlite3 *raw = *static_cast<sqlite3 *const *>(handle.data());
    sqlite3_create_function_v2(raw, "vx_exact_sum", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                               &exactSumStep, &exactSumFinal, nullptr);
}

}  // namespace

QString decimalAsAmount(const QString &decimal)
{
    const QString text = decimal.trimmed();
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString magnitude = negative ? text.mid(1) : text;
    const qsizetype point = magnitude.indexOf(QLatin1Char('.'));
    QString whole = point < 0 ? magnitude : magnitude.left(point);
    QString fraction = point < 0 ? QString() : magnitude.mid(point + 1);
    fraction = (fraction + QStringLiteral("000")).left(qMax<qsizetype>(fraction.size(), 3));
    // Half away from zero: the third decimal decides.
    qint64 cents = (whole.isEmpty() ? 0 : whole.toLongLong()) * 100 + fraction.left(2).toLongLong();
    if (fraction.at(2) >= QLatin1Char('5'))
        ++cents;
    const bool shownNegative = negative && cents != 0;
    return QStringLiteral("%1%2%3%4")
        .arg(shownNegative ? QStringLiteral("-") : QString())
        .arg(cents / 100)
        .arg(vx::shopformat::decimalSeparator)
        .arg(cents % 100, 2, 10, QLatin1Char('0'));
}

QString decimalAsUnits(const QString &decimal)
{
    return vx::shopformat::formatGeneral(decimal.trimmed().toDouble());
}

StockTotals stockTotals(vx::Table &stock)
{
    vx::Connection &connection = *stock.connection();
    const bool sqlite = connection.dialect().engine() == vx::SqlDialect::Engine::SQLite;
    if (sqlite)
        registerExactSum(connection);
    const auto sum = [sqlite](const char *quantity, const char *price) {
        const QString q = QString::fromLatin1(quantity);
        if (sqlite)
            return QStringLiteral("vx_exact_sum(%1, %2)").arg(q, price ? QString::fromLatin1(price) : QStringLiteral("1"));
        const QString term = price ? QStringLiteral("CAST(%1 AS numeric) * CAST(%2 AS numeric)").arg(q, QString::fromLatin1(price))
                                   : QStringLiteral("CAST(%1 AS numeric)").arg(q);
        return QStringLiteral("CAST(COALESCE(SUM(%1), 0) AS text)").arg(term);
    };
    vx::SqlCondition where;
    if (stock.filtered() && !stock.filter().trimmed().isEmpty())
        where = vx::FilterExpression::parse(stock.filter())
                    .toSql(
                        [&stock](const QString &name) -> std::optional<vx::FilterExpression::Column> {
                            if (const vx::Field *f = stock.findField(name))
                                return vx::FilterExpression::Column{f->fieldName(), f->dataType()};
                            return std::nullopt;
                        },
                        connection.dialect());
    const QString sql = QStringLiteral("SELECT %1, %2, %3, %4, %5, %6 FROM STOCK%7")
                            .arg(sum("ARTEX1", "ARTCOS1"), sum("ARTEX2", "ARTCOS2"), sum("ARTEX1", "ARTVEN1"),
                                 sum("ARTEX2", "ARTVEN2"), sum("ARTEX1", nullptr), sum("ARTEX2", nullptr),
                                 where.sql.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.sql);
    QSqlQuery query = connection.execute(sql, where.params);
    query.next();
    const auto text = [&query](int column) { return query.value(column).toString(); };
    return {decimalAsAmount(text(0)), decimalAsAmount(text(1)), decimalAsAmount(text(2)),
            decimalAsAmount(text(3)), decimalAsUnits(text(4)), decimalAsUnits(text(5))};
}

}  // namespace catalogue
