#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <stdexcept>

namespace vx {
class Connection;
}

namespace sales {

// One line of the sale, as the work table holds it.
struct SaleLine {
    QString articleCode;    // TM1CHR1, the own code
    double quantity = 0;    // TM1NUM1
    double unitPrice = 0;   // TM1PRE1, the price of the line's list before the discount
};

// What the sales window read from its boxes when the operator asked to record the sale. The
// amounts are already numbers (a box that does not convert never gets this far); the receipt
// number and the date are the boxes' texts, converted inside the recording so that a bad one
// rolls everything back. The subtotal, the discount and the total are not given: the recording
// computes them from the lines and the percentage, so that what is charged is what was sold.
struct SaleEntry {
    QString receiptNumberText;          // EdNro; empty: the next free number
    bool receiptNumberProposed = false; // EdNro holds the number the window proposed, untouched
    QString dateText;                   // EdFec, short date
    QString customerName;               // CBCliente
    double percentage = 0;              // EdPor, the discount on the whole sale
    double cash = 0;                    // EdEFE; with no card either, the whole total is cash
    double card = 0;                    // EdTar
    QList<SaleLine> lines;
    QList<qint64> couponIds;            // CUPONES.Id of the card coupons written for this sale
    int operatorCode = 0;
    int accessLevel = 0;
};

struct RecordedSale {
    int receiptNumber = 0;
    // The proposed number had been taken by another workstation meanwhile; the sale and its
    // coupons carry the next free number instead.
    bool numberChanged = false;
    // The amounts stored, to the cent: the window shows and prints these.
    double subtotal = 0;
    double percentage = 0;
    double discount = 0;
    double total = 0;
};

// The subtotal, discount and total the sale's lines and percentage give, to the cent: the figures
// the recording stores, and the window shows while the sale is composed.
struct SaleAmounts {
    double subtotal = 0;
    double discount = 0;
    double total = 0;
};
SaleAmounts saleAmounts(const QList<SaleLine> &lines, double percentage);

// Columns no other window reads that tie a sale's rows together, so that a cancellation finds
// exactly what one sale recorded even when a typed number was used twice: each receipt line
// carries its header's COMUNO (as text), and the header keeps the part of the tender paid by card.
inline constexpr const char *lineHeaderColumn = "ITESC";
inline constexpr const char *cardPaidColumn = "COMTUS";

// The Spanish reason a sale could not be recorded; nothing of it was stored.
class SaleRecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // The operator's message for a failed recording, keeping the underlying cause (a database
    // error, a box that does not convert) for the tests and anyone who looks deeper. The engine's
    // Spanish cause, when there is one, is added after the message.
    static SaleRecordingError failed(const QString &cause, const QString &engineCause = {});
    QString cause() const { return m_cause; }

private:
    QString m_cause;
};

// Receives the wait window's progress texts while a sale is recorded.
using RecordingProgress = std::function<void(const QString &)>;

// Records the sale in one transaction on the connection: per line the stock issue, the stock
// movement, the receipt line and the lowered stock; the receipt header; the cash-book rows of the
// tender. Throws SaleRecordingError when anything fails, after rolling everything back.
//
// The receipt number is decided inside the transaction, under the database's write lock (another
// workstation recording at the same moment waits for it): an empty number box gives the highest
// stored number + 1 over every receipt type; a typed number is used as it is, even when it
// exists; a proposed number another sale took meanwhile gives the next free one. The coupons in
// couponIds are given the number the sale was recorded with, in the same transaction. Sending no
// lines stores nothing and fails like any other fault.
RecordedSale recordSale(vx::Connection &connection, const SaleEntry &entry, const RecordingProgress &progress = {});

}  // namespace sales
