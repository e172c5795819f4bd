#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <stdexcept>

namespace vx {
class Connection;
}

namespace suppliers {

// A document the operator marked in the list: which PROCOM row it is, and the balance the list
// showed for it (as stored, positive for invoices and credits alike), in cents.
struct MarkedDocument {
    qint64 key = 0;        // PROCOM.COMUNO
    qint64 shownCents = 0;
};

// What the payments window read from its boxes when the operator pressed Grabar.
struct PaymentEntry {
    std::optional<int> supplierCode;   // none: no supplier chosen
    QList<MarkedDocument> marked;
    double cash = 0;                   // EdEFE
    double otherMeans = 0;             // EdTAR
    QString dateText;                  // EdFec; empty: today
    QString receiptNumberText;         // EdNro; empty: the next free number
    bool receiptNumberProposed = false; // EdNro holds the number the window proposed, untouched
    bool centralCash = false;          // "Caja Central": the money leaves CAJAD instead of CAJA
    int operatorCode = 0;
};

// An invoice the money reached, and how much of it was applied.
struct AppliedAmount {
    double number = 0;
    qint64 cents = 0;
};

struct RecordedPayment {
    qint64 receiptNumber = 0;
    QString receiptText;       // the number as PAGOS keeps it ("00000012", or as typed)
    bool numberChanged = false; // the proposed number was taken meanwhile; the next free one was used
    QList<AppliedAmount> applied;
    qint64 creditCents = 0;    // the new credit in the shop's favour; 0 when none was created
};

// Why a payment was not recorded; nothing of it was stored.
class PaymentError : public std::runtime_error {
public:
    enum class Kind {
        NoSupplier,  // no supplier chosen, or it is no longer there
        Invalid,     // a box that does not convert, no amount to pay
        Busy,        // another recording holds the files
        Stale,       // a marked document changed since the list was read: the list must be read again
        Failed,      // the database refused: the two-line message, the engine's cause after it
    };
    PaymentError(Kind kind, const QString &message, const QString &cause = {});
    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }
    // The underlying reason (a database error) for the tests and whoever looks deeper.
    QString cause() const { return m_cause; }

private:
    Kind m_kind;
    QString m_message;
    QString m_cause;
};

// "Proveedor no encontrado...": no supplier chosen, or a name no supplier has.
QString noSupplierMessage();

using PaymentProgress = std::function<void(const QString &)>;

// The receipt number the window proposes for an empty box: the highest numeric PAGOS.COBREC as a
// number, plus 1, left-padded with "0" to 8 characters ("00000001" when there is none).
QString nextReceiptText(vx::Connection &connection);

// Records a supplier payment in one transaction: the marked credits are used up and add their
// balance to the money; the money pays the marked invoices oldest first, then by number; each
// invoice reached gets a PAGOS line with what was applied to it; what remains becomes a new
// credit; a receipt document is added; the money leaves the daily or the central cash; the
// supplier's balance falls by the payment. Balances are changed by increments in SQL, to the
// cent. A marked document whose balance is not the one the list showed (another counter paid
// it) stops everything (Kind::Stale). Throws PaymentError; on failure nothing is stored.
RecordedPayment recordPayment(vx::Connection &connection, const PaymentEntry &entry,
                              const PaymentProgress &progress = {});

} // namespace suppliers
