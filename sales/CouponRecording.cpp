#include "sales/CouponRecording.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "data/RowWriter.h"

#include <optional>

namespace sales {

namespace {

// The card as the catalogue describes it.
struct Card {
    QVariant code;
    QVariant days;
    QVariant account;
};

std::optional<Card> findCard(vx::Connection &connection, const QString &name)
{
    // Of two cards under one name, the first entered.
    QSqlQuery &query =
        connection.executeCached(QStringLiteral("SELECT Id, TARCOD, TARDIA, TARCTA FROM TARJETAS WHERE TARNOM = ?"), {name});
    std::optional<Card> card;
    qint64 first = 0;
    while (query.next()) {
        const qint64 key = query.value(0).toLongLong();
        if (card && first < key)
            continue;
        first = key;
        card = Card{query.value(1), query.value(2), query.value(3)};
    }
    query.finish();
    return card;
}

qint64 writeCoupon(vx::Connection &connection, const CouponEntry &entry)
{
    const std::optional<QDate> date = vx::shopformat::parseDate(entry.dateText);
    if (!date)
        throw vx::DbError(vx::shopformat::notADateMessage(entry.dateText));
    const std::optional<double> amount = vx::shopformat::parseNumber(entry.amountText.trimmed());
    if (!amount)
        throw vx::DbError(vx::shopformat::notANumberMessage(entry.amountText));

    vx::Transaction transaction(connection);
    QStringList columns{QStringLiteral("CUPTARD"), QStringLiteral("CUPFEC"), QStringLiteral("CUPNRO"),
                        QStringLiteral("CUPCOM"),  QStringLiteral("CUPEST"), QStringLiteral("CUPIMP")};
    // With no receipt number yet the coupon has none; recording the sale gives it the sale's.
    const QString receipt = entry.receiptNumber.trimmed();
    QVariantList values{entry.cardName,      vx::naiveDateTime(*date),
                        entry.couponNumber,  receipt.isEmpty() ? QVariant() : QVariant(receipt),
                        QStringLiteral("P"), *amount};
    // A card that is not in the catalogue gives the coupon no code, term, account or crediting date.
    if (const std::optional<Card> card = findCard(connection, entry.cardName)) {
        columns << QStringLiteral("CUPTARC") << QStringLiteral("CUPDIA") << QStringLiteral("CUPCTA")
                << QStringLiteral("CUPFAC");
        values << (card->code.isNull() ? QVariant() : QVariant(qRound64(card->code.toDouble()))) << card->days
               << card->account << vx::naiveDateTime(date->addDays(card->days.toInt()));
    }
    const qint64 id = data::RowWriter(connection).insertReturningKey(QStringLiteral("CUPONES"), columns, values);
    transaction.commit();
    return id;
}

} // namespace

CouponRecordingError CouponRecordingError::failed(const QString &cause)
{
    CouponRecordingError error("No se pudo completar el proceso...");
    error.m_cause = cause;
    return error;
}

qint64 recordCoupon(vx::Connection &connection, const CouponEntry &entry)
{
    try {
        return writeCoupon(connection, entry);
    } catch (const vx::DbError &failure) {
        throw CouponRecordingError::failed(failure.message());
    } catch (const std::exception &failure) {
        throw CouponRecordingError::failed(QString::fromUtf8(failure.what()));
    }
}

} // namespace sales
