#include "sales/FilColStore.h"

#include "platform/db/Connection.h"
#include "platform/db/Table.h"

#include <QSqlQuery>

namespace sales::filcol {

namespace {

const QString typeField = QStringLiteral("FCTIPO");
const QString invoiceType = QStringLiteral("1C");
const QString ticketType = QStringLiteral("TK");
const QString ticketName = QStringLiteral("TICKET");

QString rowField(int item)
{
    return QStringLiteral("FCFILA%1").arg(item, 2, 10, QLatin1Char('0'));
}

QString columnField(int item)
{
    return QStringLiteral("FCCOL%1").arg(item, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<InvoiceLayout> invoiceLayout(vx::Table &filcol)
{
    if (!filcol.locate(typeField, invoiceType))
        return std::nullopt;
    InvoiceLayout out;
    for (int item = 1; item <= 11; ++item) {
        out.rows[size_t(item - 1)] = filcol.fieldByName(rowField(item))->asInteger();
        out.columns[size_t(item - 1)] = filcol.fieldByName(columnField(item))->asInteger();
    }
    out.spacing = filcol.fieldByName(QStringLiteral("FCESPACIO"))->asInteger();
    return out;
}

void saveInvoiceLayout(vx::Table &filcol, const InvoiceLayout &layout)
{
    if (filcol.locate(typeField, invoiceType))
        filcol.edit();
    else
        filcol.append();
    try {
        filcol.fieldByName(typeField)->setValue(invoiceType);
        filcol.fieldByName(QStringLiteral("FCCOMPRO"))->setValue(QStringLiteral("Factura_C"));
        for (int item = 1; item <= 11; ++item) {
            filcol.fieldByName(rowField(item))->setValue(layout.rows[size_t(item - 1)]);
            filcol.fieldByName(columnField(item))->setValue(layout.columns[size_t(item - 1)]);
        }
        filcol.fieldByName(QStringLiteral("FCESPACIO"))->setValue(layout.spacing);
        filcol.post();
    } catch (...) {
        filcol.cancel();
        throw;
    }
}

void showTicketRow(vx::Table &filcol)
{
    if (filcol.locate(typeField, ticketType)) {
        filcol.locate(QStringLiteral("FCCOMPRO"), ticketName);
        return;
    }
    filcol.append();
    try {
        filcol.fieldByName(typeField)->setValue(ticketType);
        filcol.fieldByName(QStringLiteral("FCCOMPRO"))->setValue(ticketName);
        filcol.fieldByName(QStringLiteral("FCESPACIO"))->setValue(defaultTicketSpacing);
        filcol.fieldByName(rowField(1))->setValue(defaultTicketTop);
        filcol.fieldByName(columnField(1))->setValue(defaultTicketLeft);
        filcol.post();
    } catch (...) {
        filcol.cancel();
        throw;
    }
}

bool saveTicketSpacing(vx::Table &filcol, int spacing)
{
    if (filcol.state() != vx::Dataset::State::Browse)
        filcol.post();
    if (!filcol.locate(typeField, ticketType))
        return false;
    filcol.edit();
    try {
        filcol.fieldByName(QStringLiteral("FCESPACIO"))->setValue(spacing);
        filcol.post();
    } catch (...) {
        filcol.cancel();
        throw;
    }
    return true;
}

std::optional<TicketPositions> ticketPositions(vx::Connection &connection)
{
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT FCFILA01, FCCOL01 FROM FILCOL WHERE FCCOMPRO = ? ORDER BY FCUNO"), {ticketName});
    if (!query.next())
        return std::nullopt;
    return TicketPositions{query.value(0).toInt(), query.value(1).toInt()};
}

} // namespace sales::filcol
