#include "stock/GoodsIssue.h"

#include "data/RowWriter.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "stock/StockUpdate.h"

namespace stock {

namespace {

class IssueWriter {
public:
    IssueWriter(vx::Connection &connection, const IssueEntry &entry, const MovementProgress &progress)
        : m_connection(connection), m_rows(connection), m_entry(entry), m_progress(progress), m_now(vx::naiveNow())
    {
    }

    RecordedMovement write()
    {
        const QDateTime date = documentDate(m_entry.dateText);
        const RecordedMovement recorded = decideNumber(m_connection, issueSeries, m_entry.number);
        const QString journalText = QStringLiteral("Egreso Comprob.No.: %1").arg(recorded.number);
        const QVariant storedDate = m_connection.dialect().toDatabase(date, vx::FieldType::DateTime);
        for (const IssueLine &line : m_entry.lines) {
            say("Grabando Egresos...");
            m_rows.insert(QStringLiteral("EGRESOS"),
                          {QStringLiteral("EGRNRO"), QStringLiteral("EGRNIV"), QStringLiteral("EGROPE"),
                           QStringLiteral("EGRCLI"), QStringLiteral("EGROBS"), QStringLiteral("EGRFEC"),
                           QStringLiteral("EGRHOR"), QStringLiteral("EGRCMCT"), QStringLiteral("EGRCAN1"),
                           QStringLiteral("EGRCOS1"), QStringLiteral("EGRCAN2"), QStringLiteral("EGRCOS2")},
                          {recorded.number, m_entry.accessLevel, m_entry.operatorCode, m_entry.receiverCode,
                           m_entry.purpose, date, m_now, line.articleCode, line.quantity1, line.price1,
                           line.quantity2, line.price2});
            say("Actualizando en Stock...");
            StockChange change;
            change.code = line.articleCode;
            change.description = line.description;
            change.quantity1 = line.quantity1;
            change.quantity2 = line.quantity2;
            issueStock(m_connection, change, storedDate, line.price2);
            say("Actualizando en Movimientos...");
            writeJournalLine(m_rows, {"E", line.articleCode, line.quantity1, line.quantity2, recorded.number, journalText,
                                      m_entry.operatorCode},
                             m_now);
        }
        return recorded;
    }

private:
    void say(const char *text) const
    {
        if (m_progress)
            m_progress(QString::fromLatin1(text));
    }

    vx::Connection &m_connection;
    data::RowWriter m_rows;
    const IssueEntry &m_entry;
    const MovementProgress &m_progress;
    const QDateTime m_now;
};

}  // namespace

RecordedMovement recordIssue(vx::Connection &connection, const IssueEntry &entry, const MovementProgress &progress)
{
    if (entry.lines.isEmpty())
        throw MovementRecordingError::failed(QStringLiteral("El egreso no tiene artículos."));
    return recordInTransaction(connection, [&] { return IssueWriter(connection, entry, progress).write(); });
}

}  // namespace stock
