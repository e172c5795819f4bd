#include "stock/MovementRecording.h"

#include "data/RowWriter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <cmath>

namespace stock {

namespace {

const char *const kFailedMessage = "No se pudo completar el proceso.";

QString failureCause(const std::exception &failure)
{
    if (const auto *db = dynamic_cast<const vx::DbError *>(&failure))
        return db->message();
    return QString::fromUtf8(failure.what());
}

bool numberTaken(vx::Connection &connection, const NumberSeries &series, int number)
{
    return connection
               .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?")
                           .arg(QLatin1String(series.table), QLatin1String(series.column)),
                       {number})
               .toLongLong() > 0;
}

}  // namespace

MovementRecordingError MovementRecordingError::failed(const QString &cause, const QString &engineCause)
{
    MovementRecordingError error(engineCause.isEmpty()
                                     ? std::string(kFailedMessage)
                                     : (QString::fromUtf8(kFailedMessage) + QLatin1Char('\n') + engineCause).toStdString());
    error.m_cause = cause;
    return error;
}

int nextNumber(vx::Connection &connection, const NumberSeries &series)
{
    // Asked once per document: kept prepared, as the recording's other statements are.
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT MAX(%1) FROM %2").arg(QLatin1String(series.column), QLatin1String(series.table)), {});
    const QVariant highest = query.next() ? query.value(0) : QVariant();
    query.finish();
    return highest.isNull() ? 1 : int(std::llround(highest.toDouble())) + 1;
}

RecordedMovement decideNumber(vx::Connection &connection, const NumberSeries &series, const NumberBox &box)
{
    RecordedMovement out;
    const QString text = box.text.trimmed();
    if (text.isEmpty()) {
        out.number = nextNumber(connection, series);
        return out;
    }
    bool ok = false;
    out.number = text.toInt(&ok);
    if (!ok)
        throw vx::DbError(QStringLiteral("El número de comprobante \"%1\" no es un número entero.").arg(box.text));
    // A number the operator typed is theirs to reuse; one the window proposed must stay free.
    if (box.proposed && numberTaken(connection, series, out.number)) {
        out.number = nextNumber(connection, series);
        out.numberChanged = true;
    }
    return out;
}

RecordedMovement recordInTransaction(vx::Connection &connection, const std::function<RecordedMovement()> &write)
{
    try {
        vx::Transaction transaction(connection);
        const RecordedMovement recorded = write();
        transaction.commit();
        return recorded;
    } catch (const MovementRecordingError &) {
        throw;
    } catch (const std::exception &failure) {
        throw MovementRecordingError::failed(failureCause(failure), vx::causeOf(failure));
    }
}

QDateTime documentDate(const QString &text)
{
    const std::optional<QDate> date = vx::shopformat::parseDate(text);
    if (!date)
        throw vx::DbError(vx::shopformat::notADateMessage(text));
    return vx::naiveDateTime(*date);
}

void writeJournalLine(data::RowWriter &rows, const JournalLine &line, const QDateTime &now)
{
    rows.insert(QStringLiteral("MOVIM"),
                {QStringLiteral("MOVFEC"), QStringLiteral("MOVHOR"), QStringLiteral("MOVCMCT"), QStringLiteral("MOVCAN1"),
                 QStringLiteral("MOVNRO"), QStringLiteral("MOVTIP"), QStringLiteral("MOVOBS"), QStringLiteral("MOVCAN2"),
                 QStringLiteral("MOVOPE")},
                {vx::naiveDateTime(now.date()), vx::shopformat::formatTime(now.time()), line.articleCode,
                 line.quantity1, line.number, QString::fromLatin1(line.type), line.text, line.quantity2,
                 line.operatorCode});
}

}  // namespace stock
