#pragma once

#include "stock/MovementRecording.h"

#include <QList>
#include <QString>

// Goods that arrive at the shop: each line adds its quantities to the article's two locations,
// replaces both costs, and leaves one receipt row and one movement row behind.
namespace stock {

struct ReceiptLine {
    QString articleCode;   // TM1CHR1, the own code
    QString description;   // names the article in a failure
    double quantity1 = 0;  // into location 1
    double cost1 = 0;
    double quantity2 = 0;  // into location 2
    double cost2 = 0;
};

// What the receipt window read from its boxes: quantities and costs already numbers, the number
// and the date as the boxes' texts, converted inside the recording so that a bad one stores
// nothing.
struct ReceiptEntry {
    NumberBox number;
    QString dateText;      // EdFec, short date
    QList<ReceiptLine> lines;
    int operatorCode = 0;
    int accessLevel = 0;
    int supplierCode = 0;  // INGCLI, the supplier the goods came from; 0: none named
    // The supplier's invoice for the goods, recorded with the receipt for its cost total; 0: none.
    double invoiceNumber = 0;
};

// What the goods cost: each line's quantities at their costs, in whole cents.
qint64 receiptCostCents(const QList<ReceiptLine> &lines);

// Records the receipt in one transaction. The quantities are added exactly to what the database
// holds at that moment (a missing stock counts as 0), the costs and the date of the last receipt
// replaced, in one statement per line on the first article under the code, so that another
// workstation receiving, issuing or selling the same article meanwhile loses nothing. Throws
// MovementRecordingError, after rolling back, for no lines, a bad date or number, an article no
// longer in the file, a supplier no longer in the file, or any database failure. With an invoice
// number, the supplier's invoice for the cost total is recorded in the same transaction, so that
// an invoice refused (a number the supplier already has) refuses the receipt too.
RecordedMovement recordReceipt(vx::Connection &connection, const ReceiptEntry &entry,
                               const MovementProgress &progress = {});

}  // namespace stock
