#include "suppliers/SupplierPayment.h"

#include "data/RowWriter.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "suppliers/SupplierText.h"

#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <optional>

namespace suppliers {

namespace {

const QString busyMessage = QStringLiteral("Archivos ocupados, intente en unos instantes.");
const QString failedMessage =
    QStringLiteral("No se pudo concluir el proceso. \nIntente nuevamente o aguarde unos instantes...");
const QString staleMessage =
    QStringLiteral("Otro puesto pagó o modificó alguno de los comprobantes marcados desde que se leyó la lista. "
                   "Nada se grabó: la lista fue actualizada, revise los importes y vuelva a grabar.");
const QString noMoneyMessage =
    QStringLiteral("No hay importe para pagar: ingrese el Efectivo o el importe de Tarjeta/Otros.");

// The sizes of the columns that hold lists of numbers.
constexpr int receiptsSize = 50;  // COMREC
constexpr int relatedSize = 45;   // COMREL
constexpr int conceptSize = 100;  // CAJCON

// An increment to the cent, so that 33,30 less 11,10 leaves 22,20 and not 22,199999999999996.
const QString lowerBalance = QStringLiteral("ROUND((COALESCE(%1, 0) - ?) * 100) / 100");

struct Document {
    qint64 key = 0;
    bool credit = false;
    double number = 0;
    QDateTime date;
    qint64 balanceCents = 0;
    QString paidBy; // COMREC
};

QStringList columns(std::initializer_list<const char *> names)
{
    QStringList out;
    for (const char *name : names)
        out << QString::fromLatin1(name);
    return out;
}

void say(const PaymentProgress &progress, const char *text)
{
    if (progress)
        progress(QString::fromUtf8(text));
}

// The first supplier entered under the code; nothing when there is none.
std::optional<qint64> supplierRow(vx::Connection &connection, int code)
{
    const QVariant key = connection.scalar(QStringLiteral("SELECT MIN(CLIUNO) FROM PROVEEDORES WHERE CLICOD = ?"), {code});
    if (key.isNull())
        return std::nullopt;
    return key.toLongLong();
}

// The highest receipt number PAGOS holds, read as a number: "9" comes before "00000010".
qint64 highestReceipt(vx::Connection &connection)
{
    const QVariant text = connection.scalar(
        QStringLiteral("SELECT LTRIM(COBREC, '0') FROM PAGOS WHERE COBREC <> '' AND RTRIM(COBREC, '0123456789') = '' "
                       "ORDER BY LENGTH(LTRIM(COBREC, '0')) DESC, LTRIM(COBREC, '0') DESC LIMIT 1"));
    if (text.toString().isEmpty())
        return 0;
    bool ok = false;
    const qint64 number = text.toString().toLongLong(&ok);
    if (!ok)
        throw vx::DbError(QStringLiteral("El último número de recibo de pagos (%1) es demasiado grande.").arg(text.toString()));
    return number;
}

bool receiptTaken(vx::Connection &connection, qint64 number)
{
    return connection
               .scalar(QStringLiteral("SELECT COUNT(*) FROM PAGOS WHERE LTRIM(COBREC, '0') = ?"), {QString::number(number)})
               .toLongLong() > 0;
}

QString padded(qint64 number)
{
    return QString::number(number).rightJustified(8, QLatin1Char('0'));
}

std::optional<qint64> typedReceipt(const QString &text)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number <= 0)
        return std::nullopt;
    return number;
}

// Writes one payment inside the caller's transaction.
class PaymentWriter {
public:
    PaymentWriter(vx::Connection &connection, const PaymentEntry &entry, const PaymentProgress &progress)
        : m_connection(connection), m_rows(connection), m_entry(entry), m_progress(progress)
    {
    }

    RecordedPayment write(const QDate &date)
    {
        m_date = vx::naiveDateTime(date);
        const std::optional<qint64> supplier = supplierRow(m_connection, *m_entry.supplierCode);
        if (!supplier)
            throw PaymentError(PaymentError::Kind::NoSupplier, noSupplierMessage());
        takeNumber();
        const QList<Document> documents = markedDocuments();
        qint64 money = m_paidCents;
        for (const Document &document : documents)
            if (document.credit)
                money += document.balanceCents;
        if (money <= 0)
            throw PaymentError(PaymentError::Kind::Invalid, noMoneyMessage);

        say(m_progress, "Actualizando Comprobantes...");
        for (const Document &document : documents)
            if (document.credit)
                useUpCredit(document);
        for (const Document &document : documents) {
            if (document.credit || money == 0)
                continue;
            const qint64 applied = std::min(document.balanceCents, money);
            money -= applied;
            payInvoice(document, applied);
        }
        if (money > 0)
            writeCredit(money);
        writeReceipt(documents.isEmpty() ? QString() : numberText(documents.last().number));
        say(m_progress, "Actualizando en Caja...");
        writeCash();
        say(m_progress, "Actualizando Proveedor...");
        m_connection.executeCached(QStringLiteral("UPDATE PROVEEDORES SET CLISAL = %1 WHERE CLIUNO = ?")
                                       .arg(lowerBalance.arg(QStringLiteral("CLISAL"))),
                                   {fromCents(m_paidCents), *supplier});
        m_connection.noteWrite();
        m_result.creditCents = money;
        return m_result;
    }

private:
    // Under the write lock, so that no other payment takes the same number meanwhile.
    void takeNumber()
    {
        const QString typed = m_entry.receiptNumberText.trimmed();
        if (typed.isEmpty()) {
            m_result.receiptNumber = highestReceipt(m_connection) + 1;
            m_result.receiptText = padded(m_result.receiptNumber);
            return;
        }
        const std::optional<qint64> number = typedReceipt(typed);
        if (!number)
            throw PaymentError(PaymentError::Kind::Invalid,
                               QStringLiteral("El número de recibo \"%1\" no es un número entero mayor que cero.").arg(typed));
        m_result.receiptNumber = *number;
        m_result.receiptText = typed;
        // A number the operator typed is theirs to reuse; one the window proposed must stay free.
        if (m_entry.receiptNumberProposed && receiptTaken(m_connection, *number)) {
            m_result.receiptNumber = highestReceipt(m_connection) + 1;
            m_result.receiptText = padded(m_result.receiptNumber);
            m_result.numberChanged = true;
        }
    }

    // The marked rows as PROCOM holds them now, under the lock: credits first, then the invoices
    // oldest first and by number. Any of them paid, changed or gone since the list was read stops
    // the payment, so that money meant for it never silently becomes a credit.
    QList<Document> markedDocuments()
    {
        QList<Document> out;
        QSet<qint64> seen;
        const QVariant notCancelled = m_connection.dialect().toDatabase(false, vx::FieldType::Boolean);
        for (const MarkedDocument &marked : m_entry.marked) {
            if (seen.contains(marked.key))
                continue;
            seen.insert(marked.key);
            QSqlQuery &query = m_connection.executeCached(
                QStringLiteral("SELECT COMTIP, COMNRO, COMDIA, COMSAL, COMREC FROM PROCOM WHERE COMUNO = ? AND COMCLI = ? "
                               "AND COMTIP IN ('13', '26') AND (COMANU IS NULL OR COMANU = ?)"),
                {marked.key, *m_entry.supplierCode, notCancelled});
            if (!query.next()) {
                query.finish();
                throw PaymentError(PaymentError::Kind::Stale, staleMessage);
            }
            Document document;
            document.key = marked.key;
            document.credit = query.value(0).toString() == QLatin1String("26");
            document.number = query.value(1).toDouble();
            document.date = m_connection.dialect().fromDatabase(query.value(2), vx::FieldType::DateTime).toDateTime();
            document.balanceCents = toCents(query.value(3).toDouble());
            document.paidBy = query.value(4).toString();
            query.finish();
            if (document.balanceCents != marked.shownCents || document.balanceCents <= 0)
                throw PaymentError(PaymentError::Kind::Stale, staleMessage);
            out << document;
        }
        std::stable_sort(out.begin(), out.end(), [](const Document &a, const Document &b) {
            if (a.credit != b.credit)
                return a.credit;
            if (a.date != b.date)
                return a.date < b.date;
            if (a.number != b.number)
                return a.number < b.number;
            return a.key < b.key;
        });
        return out;
    }

    QString receiptNumberText() const { return QString::number(m_result.receiptNumber); }

    void useUpCredit(const Document &document)
    {
        m_paidNumbers << numberText(document.number);
        m_connection.executeCached(
            QStringLiteral("UPDATE PROCOM SET COMSAL = %1, COMREC = ?, COMREL = ? WHERE COMUNO = ?")
                .arg(lowerBalance.arg(QStringLiteral("COMSAL"))),
            {fromCents(document.balanceCents), receiptNumberText(), fittedList({}, m_paidNumbers, relatedSize),
             document.key});
    }

    void payInvoice(const Document &document, qint64 applied)
    {
        const QString number = numberText(document.number);
        m_paidNumbers << number;
        QStringList paidBy = splitList(document.paidBy);
        paidBy << receiptNumberText();
        m_connection.executeCached(
            QStringLiteral("UPDATE PROCOM SET COMSAL = %1, COMANU = ?, COMREC = ?, COMREL = ? WHERE COMUNO = ?")
                .arg(lowerBalance.arg(QStringLiteral("COMSAL"))),
            {fromCents(applied), m_connection.dialect().toDatabase(false, vx::FieldType::Boolean),
             newestFitting(paidBy, receiptsSize), fittedList({}, m_paidNumbers, relatedSize), document.key});
        say(m_progress, "Grabando Pagos...");
        writeLine(QStringLiteral("13"), number, applied);
        m_result.applied << AppliedAmount{document.number, applied};
    }

    void writeLine(const QString &type, const QString &number, qint64 cents)
    {
        m_rows.insert(QStringLiteral("PAGOS"),
                      columns({"COBCOM", "COBREC", "COBTIP", "COBNRO", "COBPRO", "COBIMP", "COBFEC"}),
                      {QStringLiteral("10"), m_result.receiptText, type, number, *m_entry.supplierCode,
                       fromCents(cents), m_date});
    }

    void writeCredit(qint64 cents)
    {
        writeLine(QStringLiteral("26"), receiptNumberText(), cents);
        m_rows.insert(QStringLiteral("PROCOM"),
                      columns({"COMTIP", "COMCLI", "COMNRO", "COMTOT", "COMSAL", "COMDIA", "BON", "COMOPE"}),
                      {QStringLiteral("26"), *m_entry.supplierCode, double(m_result.receiptNumber), fromCents(cents),
                       fromCents(cents), m_date, QStringLiteral("N"), m_entry.operatorCode});
    }

    void writeReceipt(const QString &lastMarked)
    {
        const QString related =
            lastMarked.isEmpty() ? QString()
                                 : fittedList(QStringLiteral("FAC %1: ").arg(lastMarked), m_paidNumbers, relatedSize);
        m_rows.insert(QStringLiteral("PROCOM"),
                      columns({"COMTIP", "COMSN", "COMNRO", "COMCLI", "COMDIA", "COMTOT", "COMSAL", "BON", "COMREL",
                               "COMOPE"}),
                      {QStringLiteral("10"), receiptNumberText(), double(m_result.receiptNumber), *m_entry.supplierCode,
                       m_date, fromCents(m_paidCents), 0.0, QStringLiteral("N"), related, m_entry.operatorCode});
    }

    // The money out of the till (or the central cash): one row per means, both negative.
    void writeCash()
    {
        const QString table = m_entry.centralCash ? QStringLiteral("CAJAD") : QStringLiteral("CAJA");
        const QString code = QString::number(*m_entry.supplierCode);
        const auto row = [&](const QString &means, qint64 cents, const QString &head) {
            if (cents == 0)
                return;
            m_rows.insert(table, columns({"CAJMOV", "CAJCOM", "CAJTIP", "CAJIMP", "CAJFEC", "CAJSAL", "CAJCON"}),
                          {QStringLiteral("E"), receiptNumberText(), means, -fromCents(cents), m_date, m_date,
                           fittedList(head + code + QStringLiteral(" - FAC  "), m_paidNumbers, conceptSize)});
        };
        row(QStringLiteral("EF"), toCents(m_entry.cash), QStringLiteral("Pago Prov. "));
        row(QStringLiteral("TT"), toCents(m_entry.otherMeans), QStringLiteral("Pago Prov.: "));
    }

    vx::Connection &m_connection;
    data::RowWriter m_rows;
    const PaymentEntry &m_entry;
    const PaymentProgress &m_progress;
    const qint64 m_paidCents = toCents(m_entry.cash) + toCents(m_entry.otherMeans);
    QDateTime m_date;
    QStringList m_paidNumbers;
    RecordedPayment m_result;
};

PaymentError failure(const std::exception &error)
{
    const QString cause = vx::causeOf(error);
    const auto *db = dynamic_cast<const vx::DbError *>(&error);
    return PaymentError(PaymentError::Kind::Failed,
                        cause.isEmpty() ? failedMessage : failedMessage + QLatin1Char('\n') + cause,
                        db ? db->message() : QString::fromUtf8(error.what()));
}

// What can be told before anything is locked.
QDate checkedDate(const PaymentEntry &entry)
{
    if (!entry.supplierCode)
        throw PaymentError(PaymentError::Kind::NoSupplier, noSupplierMessage());
    if (entry.cash < 0 || entry.otherMeans < 0)
        throw PaymentError(PaymentError::Kind::Invalid,
                           QStringLiteral("El Efectivo y el importe de Tarjeta/Otros no pueden ser negativos."));
    if (entry.marked.isEmpty() && toCents(entry.cash) + toCents(entry.otherMeans) == 0)
        throw PaymentError(PaymentError::Kind::Invalid, noMoneyMessage);
    const QString text = entry.dateText.trimmed();
    if (text.isEmpty())
        return vx::naiveNow().date();
    const std::optional<QDate> date = vx::shopformat::parseDate(text);
    if (!date)
        throw PaymentError(PaymentError::Kind::Invalid, vx::shopformat::notADateMessage(text));
    return *date;
}

} // namespace

PaymentError::PaymentError(Kind kind, const QString &message, const QString &cause)
    : std::runtime_error(message.toStdString()), m_kind(kind), m_message(message), m_cause(cause)
{
}

QString noSupplierMessage()
{
    return QStringLiteral("Proveedor no encontrado...");
}

QString nextReceiptText(vx::Connection &connection)
{
    return padded(highestReceipt(connection) + 1);
}

RecordedPayment recordPayment(vx::Connection &connection, const PaymentEntry &entry, const PaymentProgress &progress)
{
    const QDate date = checkedDate(entry);
    if (connection.inTransaction())
        throw PaymentError(PaymentError::Kind::Busy, busyMessage);
    std::unique_ptr<vx::Transaction> transaction;
    try {
        transaction = std::make_unique<vx::Transaction>(connection);
    } catch (const vx::DbError &error) {
        // Only another workstation's lock is "busy"; a lost server or a full disk is said as such.
        if (error.kind() == vx::DbError::Kind::Locked)
            throw PaymentError(PaymentError::Kind::Busy, busyMessage, error.message());
        throw failure(error);
    }
    try {
        const RecordedPayment payment = PaymentWriter(connection, entry, progress).write(date);
        transaction->commit();
        return payment;
    } catch (const PaymentError &) {
        throw;
    } catch (const std::exception &error) {
        throw failure(error);
    }
}

} // namespace suppliers
