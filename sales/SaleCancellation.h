#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <stdexcept>

namespace vx {
class Connection;
}

namespace sales {

// What the cancellation window read from its boxes and its questions.
struct CancellationRequest {
    double receiptNumber = 0;
    QDate date;          // EdFec: the refund's date
    bool refund = false; // the operator agreed to pay the amount back
    int operatorCode = 0;
    // COMUNO of the receipt the operator chose in the grid; -1: the first one of the number not
    // voided yet (a typed number may have been used for more than one receipt).
    qint64 receiptKey = -1;
};

// The receipt a number names, as the window needs it before asking its questions.
struct ReceiptToCancel {
    enum class State { Missing, Voided, Open };
    State state = State::Missing;
    qint64 key = -1;    // COMUNO
    double total = 0;   // COMTOT
    double balance = 0; // COMSAL
    // The amount the customer paid and may get back.
    double paid() const { return total - balance; }
    bool refundable() const { return total != balance; }
};

struct CancellationResult {
    int linesReturned = 0;
    bool refunded = false;
};

// Why a cancellation stored nothing; the message is the operator's.
class CancellationError : public std::runtime_error {
public:
    enum class Kind { Busy, Voided, Failed };
    CancellationError(Kind kind, const QString &message);
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
};

// The receipt the request names: the one of that key when given, else the first of the number not
// voided yet (or, when all are, the first, as Voided).
ReceiptToCancel findReceiptToCancel(vx::Connection &connection, double receiptNumber, qint64 receiptKey = -1);

// Voids one receipt in one transaction: the receipt and its own lines marked, each line's quantity
// returned to the article's stock as it was sold, one incoming movement per line and, on request,
// the refund: in cash what came in cash; a card coupon still pending is withdrawn (deleted, so it
// is never presented), one already credited goes back as a card refund. Lines voided before are
// not returned twice. Throws
// CancellationError (Busy when a transaction is already open or the database is locked, Voided
// when the receipt is missing or was voided meanwhile, Failed for anything else), after rolling
// everything back.
CancellationResult cancelSale(vx::Connection &connection, const CancellationRequest &request,
                              const std::function<void(const QString &)> &progress = {});

} // namespace sales
