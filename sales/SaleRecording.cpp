#include "sales/SaleRecording.h"

#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "sales/ReceiptNumbers.h"
#include "sales/SaleTotals.h"
#include "data/RowWriter.h"

#include <optional>

namespace sales {

namespace {

const char *const kFailedMessage = "No se pudo completar el proceso. Reingrese la transacción";

QStringList columns(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *name : names)
        out << QString::fromLatin1(name);
    return out;
}

// Who the sale is for, as CLIENTE knows the name in the customer box.
struct Customer {
    int code = 1;
    QString receiptType = QStringLiteral("1B");
};

// A customer found by name buys on an "A" receipt when registered for VAT. A name that is not in
// CLIENTE is a walk-in buyer: customer 1 on a "B" receipt.
Customer findCustomer(vx::Connection &connection, const QString &name)
{
    // Of two customers under one name, the one entered first.
    QSqlQuery &query =
        connection.executeCached(QStringLiteral("SELECT CLIUNO, CLICOD, CLIIVA FROM CLIENTE WHERE CLIAPE = ?"), {name});
    std::optional<qint64> first;
    Customer customer;
    while (query.next()) {
        const qint64 key = query.value(0).toLongLong();
        if (first && *first < key)
            continue;
        first = key;
        customer.code = query.value(1).toInt();
        const QString condition = query.value(2).toString();
        const bool registered =
            condition == QLatin1String("RESP. INSCRIPTO") || condition == QLatin1String("RESP. NO INSCRIPTO");
        customer.receiptType = registered ? QStringLiteral("1A") : QStringLiteral("1B");
    }
    query.finish();
    return customer;
}

// Lowers the stock of a line's article by the quantity sold and dates its last issue, by an
// increment in SQL, so that another workstation's sale of the same article is never overwritten.
// Returns the article's cost, or nothing when the article no longer exists. Of two articles under
// one code, the first entered is the one sold. ("+ 0" keeps the engine from walking the whole
// table in key order to find the lowest key; it looks the code up by its index instead.)
std::optional<double> lowerStock(vx::Connection &connection, const QString &code, double quantity,
                                 const QVariant &saleDate)
{
    QSqlQuery &query = connection.executeCached(
        QStringLiteral("UPDATE STOCK SET ARTFEC2 = ?, ARTEX1 = ARTEX1 - ? WHERE ARTUNO = "
                       "(SELECT MIN(ARTUNO + 0) FROM STOCK WHERE ARTCMCT = ?) RETURNING ARTCOS1"),
        {saleDate, quantity, code});
    connection.noteWrite();
    std::optional<double> cost;
    if (query.next())
        cost = query.value(0).toDouble();
    query.finish();
    return cost;
}

int parseReceiptNumber(const QString &text)
{
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok)
        throw vx::DbError(QStringLiteral("El número de comprobante \"%1\" no es un número entero.").arg(text));
    return number;
}

// Writes one sale inside the caller's transaction.
class SaleWriter {
public:
    SaleWriter(vx::Connection &connection, const SaleEntry &entry, const RecordingProgress &progress)
        : m_connection(connection), m_rows(connection), m_entry(entry), m_progress(progress), m_now(vx::naiveNow()),
          m_today(vx::naiveDateTime(m_now.date()))
    {
    }

    RecordedSale write()
    {
        const std::optional<QDate> date = vx::shopformat::parseDate(m_entry.dateText);
        if (!date)
            throw vx::DbError(vx::shopformat::notADateMessage(m_entry.dateText));
        m_saleDate = vx::naiveDateTime(*date);
        const RecordedSale sale = takeNumber();
        m_number = sale.receiptNumber;
        m_concept = QStringLiteral("Por Venta Nro. %1").arg(m_number);
        const Customer customer = findCustomer(m_connection, m_entry.customerName);
        const SaleAmounts amounts = saleAmounts(m_entry.lines, m_entry.percentage);
        // The header first: its key goes into every line, which ties the lines to this receipt.
        m_headerKey = QString::number(writeHeader(customer, amounts));
        for (const SaleLine &line : m_entry.lines)
            writeLine(line, customer);
        writeCashBook(amounts.total);
        renumberCoupons();
        RecordedSale out = sale;
        out.subtotal = amounts.subtotal;
        out.percentage = m_entry.percentage;
        out.discount = amounts.discount;
        out.total = amounts.total;
        return out;
    }

private:
    void say(const char *text) const
    {
        if (m_progress)
            m_progress(QString::fromLatin1(text));
    }

    // Under the write lock, so that no other workstation takes the same number meanwhile.
    RecordedSale takeNumber() const
    {
        RecordedSale sale;
        if (m_entry.receiptNumberText.trimmed().isEmpty()) {
            sale.receiptNumber = highestReceiptNumber(m_connection) + 1;
            return sale;
        }
        sale.receiptNumber = parseReceiptNumber(m_entry.receiptNumberText);
        // A number the operator typed is theirs to reuse; one the window proposed must stay free.
        if (m_entry.receiptNumberProposed && receiptNumberTaken(m_connection, sale.receiptNumber)) {
            sale.receiptNumber = highestReceiptNumber(m_connection) + 1;
            sale.numberChanged = true;
        }
        return sale;
    }

    double discounted(double price) const
    {
        return m_entry.percentage == 0 ? price : price - price * m_entry.percentage / 100.0;
    }

    void writeLine(const SaleLine &line, const Customer &customer)
    {
        say("Grabando Egresos...              ");
        const std::optional<double> cost =
            lowerStock(m_connection, line.articleCode, line.quantity,
                       m_connection.dialect().toDatabase(m_saleDate, vx::FieldType::DateTime));
        const double price = discounted(line.unitPrice);
        m_rows.insert(QStringLiteral("EGRESOS"),
                      columns({"EGRNRO", "EGRNIV", "EGROPE", "EGRFEC", "EGRHOR", "EGRCMCT", "EGRCAN1", "EGRCOS1",
                               "EGRVTA1", "EGROBS"}),
                      {m_number, m_entry.accessLevel, m_entry.operatorCode, m_saleDate, m_now, line.articleCode,
                       line.quantity, cost ? QVariant(*cost) : QVariant(), price, m_concept});
        if (cost)
            say("Actualizando en Stock...              ");
        say("Actualizando en Movimientos...              ");
        m_rows.insert(QStringLiteral("MOVIM"),
                      columns({"MOVFEC", "MOVHOR", "MOVCMCT", "MOVCAN1", "MOVNRO", "MOVTIP", "MOVOBS", "MOVOPE"}),
                      {m_today, vx::shopformat::formatTime(m_now.time()), line.articleCode, line.quantity, m_number,
                       QStringLiteral("E"), m_concept, m_entry.operatorCode});
        m_rows.insert(QStringLiteral("ITECLI"),
                      columns({"ITECOM", "ITECLI", "ITETIP", "ITECOD", "ITECAN", "ITEPOR", "ITEEDI", "ITEPRE", "ITEFEC",
                               "ITECAU", "ITEOPE", lineHeaderColumn}),
                      {double(m_number), customer.code, customer.receiptType, line.articleCode, line.quantity,
                       m_entry.percentage == 0 ? QVariant() : QVariant(m_entry.percentage), line.unitPrice, price,
                       m_saleDate, cost.value_or(0.0), m_entry.operatorCode, m_headerKey});
    }

    qint64 writeHeader(const Customer &customer, const SaleAmounts &amounts)
    {
        say("Actualizando en Totales...              ");
        return m_rows.insertReturningKey(
            QStringLiteral("CLICOM"),
            columns({"COMTIP", "COMNRO", "COMCLI", "COMTOT", "COMSUB", "COMPOR", "COMDIA", "COMSAL", "COMOPE",
                     cardPaidColumn}),
            {customer.receiptType, double(m_number), customer.code, amounts.total, amounts.subtotal,
             m_entry.percentage, m_saleDate, 0.0, m_entry.operatorCode, toCents(m_entry.card)});
    }

    // What came in cash is the total less the card: the change handed back never entered the till.
    // No tender at all counts as the whole total paid in cash.
    void writeCashBook(double total)
    {
        say("Actualizando en Caja...              ");
        if (m_entry.cash != 0 || (m_entry.card == 0 && total != 0))
            writeCashRow(QStringLiteral("EF"), toCents(total - m_entry.card));
        if (m_entry.card != 0)
            writeCashRow(QStringLiteral("TT"), toCents(m_entry.card));
    }

    void writeCashRow(const QString &means, double amount)
    {
        m_rows.insert(QStringLiteral("CAJA"),
                      columns({"CAJMOV", "CAJCOM", "CAJTIP", "CAJIMP", "CAJFEC", "CAJENT", "CAJCON"}),
                      {QStringLiteral("I"), QString::number(m_number), means, amount, m_today, m_saleDate, m_concept});
    }

    // The card coupons were written before the number was final; they follow the sale's number.
    void renumberCoupons()
    {
        for (const qint64 id : m_entry.couponIds)
            m_connection.executeCached(QStringLiteral("UPDATE CUPONES SET CUPCOM = ? WHERE Id = ?"),
                                       {QString::number(m_number), id});
    }

    vx::Connection &m_connection;
    data::RowWriter m_rows;
    const SaleEntry &m_entry;
    const RecordingProgress &m_progress;
    const QDateTime m_now;
    const QDateTime m_today;
    QDateTime m_saleDate;
    int m_number = 0;
    QString m_concept;
    QString m_headerKey;
};

QString causeOf(const std::exception &failure)
{
    if (const auto *db = dynamic_cast<const vx::DbError *>(&failure))
        return db->message();
    return QString::fromUtf8(failure.what());
}

} // namespace

SaleAmounts saleAmounts(const QList<SaleLine> &lines, double percentage)
{
    double subtotal = 0;
    for (const SaleLine &line : lines)
        subtotal += lineAmount(line.quantity, line.unitPrice);
    const Discount discount = applyDiscount(subtotal, percentage);
    return {toCents(subtotal), discount.amount, discount.total};
}

SaleRecordingError SaleRecordingError::failed(const QString &cause, const QString &engineCause)
{
    // The engine's reason in Spanish (a full disk, a lost server) follows the window's message.
    SaleRecordingError error(engineCause.isEmpty()
                                 ? std::string(kFailedMessage)
                                 : (QString::fromUtf8(kFailedMessage) + QLatin1Char('\n') + engineCause).toStdString());
    error.m_cause = cause;
    return error;
}

RecordedSale recordSale(vx::Connection &connection, const SaleEntry &entry, const RecordingProgress &progress)
{
    if (entry.lines.isEmpty())
        throw SaleRecordingError::failed(QStringLiteral("La venta no tiene artículos."));
    try {
        vx::Transaction transaction(connection);
        const RecordedSale sale = SaleWriter(connection, entry, progress).write();
        transaction.commit();
        return sale;
    } catch (const std::exception &failure) {
        throw SaleRecordingError::failed(causeOf(failure), vx::causeOf(failure));
    }
}

} // namespace sales
