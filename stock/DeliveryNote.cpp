#include "stock/DeliveryNote.h"

#include "data/RowInserter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/Table.h"

#include <QSqlQuery>

#include <cmath>
#include <optional>

namespace stock {

namespace {

const QString markerColumn = QStringLiteral("TM1CHR11");
constexpr int shortText = 30;

// Sums of recorded quantities carry the binary noise of their parts; the note shows what was
// recorded, to the millionth.
double exact(double value)
{
    return std::round(value * 1e6) / 1e6;
}

}  // namespace

std::optional<DeliveryNote> loadDeliveryNote(vx::Connection &connection, NoteMode mode, const QString &numberText)
{
    bool ok = false;
    const int number = numberText.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    const bool issues = mode == NoteMode::Issues;
    const QString p = issues ? QStringLiteral("EGR") : QStringLiteral("ING");
    const QString table = issues ? QStringLiteral("EGRESOS") : QStringLiteral("INGRESOS");
    // A receipt has no sale lines: its "sale price" column is a constant null.
    const QString saleColumn = issues ? QStringLiteral("m.EGRVTA1") : QStringLiteral("NULL");
    // The article of a line is the first entered under its code, as the recordings take it.
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("SELECT m.%1FEC, m.%1NRO, m.%1CMCT, m.%1CAN1, m.%1CAN2, %3, s.ARTDES, s.ARTMARD, s.ARTCOLD, "
                       "s.ARTTALD FROM %2 m LEFT JOIN STOCK s ON s.ARTUNO = (SELECT MIN(ARTUNO) FROM STOCK "
                       "WHERE ARTCMCT = m.%1CMCT) WHERE m.%1NRO = ? ORDER BY m.%1UNO")
            .arg(p, table, saleColumn),
        {number});
    QList<NoteLine> issueLines;
    QList<NoteLine> saleLines;
    while (query.next()) {
        NoteLine line;
        line.date = connection.dialect().fromDatabase(query.value(0), vx::FieldType::DateTime).toDateTime().date();
        line.number = query.value(1).toInt();
        line.code = query.value(2).toString();
        line.quantity1 = query.value(3).toDouble();
        line.quantity2 = query.value(4).toDouble();
        line.description = query.value(6).toString();
        line.brand = query.value(7).toString();
        line.colour = query.value(8).toString();
        line.size = query.value(9).toString();
        (query.value(5).isNull() ? issueLines : saleLines).append(line);
    }
    query.finish();
    DeliveryNote note;
    note.lines = issueLines.isEmpty() ? saleLines : issueLines;
    if (note.lines.isEmpty())
        return std::nullopt;
    for (const NoteLine &line : std::as_const(note.lines)) {
        note.total1 += line.quantity1;
        note.total2 += line.quantity2;
    }
    note.total1 = exact(note.total1);
    note.total2 = exact(note.total2);
    return note;
}

NoteStaging::NoteStaging(vx::Connection &connection, QString marker)
    : m_connection(connection), m_marker(std::move(marker))
{
}

NoteStaging::~NoteStaging() = default;

vx::Table &NoteStaging::view()
{
    if (!m_view) {
        m_view = std::make_unique<vx::Table>(&m_connection, QStringLiteral("TMP1"));
        m_view->setObjectName(QStringLiteral("TMP1") + m_marker);
        m_view->setFilter(QStringLiteral("%1 = '%2'").arg(markerColumn, m_marker));
        m_view->setFiltered(true);
        m_view->setIndexFieldNames(QStringLiteral("TM1UNO"));
    }
    if (!m_view->active()) {
        m_view->open();
        for (const char *quantity : {"TM1NUM2", "TM1NUM3"})
            m_view->fieldByName(QLatin1String(quantity))->setDisplayFormat(QStringLiteral("0.######"));
    }
    return *m_view;
}

void NoteStaging::clear()
{
    m_connection.execute(QStringLiteral("DELETE FROM TMP1 WHERE %1 = ?").arg(markerColumn), {m_marker});
    if (m_view && m_view->active())
        m_view->refresh();
}

void NoteStaging::stage(const QList<NoteLine> &lines)
{
    {
        std::optional<vx::Transaction> transaction;
        if (!m_connection.inTransaction())
            transaction.emplace(m_connection);
        m_connection.execute(QStringLiteral("DELETE FROM TMP1 WHERE %1 = ?").arg(markerColumn), {m_marker});
        data::RowInserter rows(m_connection, QStringLiteral("TMP1"),
                               {markerColumn, QStringLiteral("TM1DAT1"), QStringLiteral("TM1NUM1"),
                                QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"), QStringLiteral("TM1NUM2"),
                                QStringLiteral("TM1NUM3"), QStringLiteral("TM1CHR5"), QStringLiteral("TM1CHR6"),
                                QStringLiteral("TM1CHR7")});
        for (const NoteLine &line : lines) {
            const QVariant day = line.date.isValid() ? QVariant(QDateTime(line.date, QTime(0, 0))) : QVariant();
            rows.insert({m_marker, day, line.number, line.code, line.description.left(100), line.quantity1,
                         line.quantity2, line.brand.left(shortText), line.colour.left(shortText),
                         line.size.left(shortText)});
        }
        if (transaction)
            transaction->commit();
    }
    vx::Table &table = view();
    table.refresh();
    table.first();
}

QList<NoteLine> NoteStaging::lines()
{
    QList<NoteLine> out;
    const QList<QVariantList> rows = view().columnValues(
        {QStringLiteral("TM1DAT1"), QStringLiteral("TM1NUM1"), QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"),
         QStringLiteral("TM1NUM2"), QStringLiteral("TM1NUM3"), QStringLiteral("TM1CHR5"), QStringLiteral("TM1CHR6"),
         QStringLiteral("TM1CHR7")});
    for (const QVariantList &row : rows) {
        NoteLine line;
        line.date = row[0].toDateTime().date();
        line.number = row[1].toInt();
        line.code = row[2].toString();
        line.description = row[3].toString();
        line.quantity1 = row[4].toDouble();
        line.quantity2 = row[5].toDouble();
        line.brand = row[6].toString();
        line.colour = row[7].toString();
        line.size = row[8].toString();
        out.append(line);
    }
    return out;
}

void NoteStaging::close()
{
    clear();
    if (m_view)
        m_view->close();
}

QString quantityText(double value)
{
    return vx::shopformat::formatGeneral(exact(value));
}

}  // namespace stock
