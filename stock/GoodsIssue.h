#pragma once

#include "stock/MovementRecording.h"

#include <QList>
#include <QString>

// Goods taken out of stock outside the counter: each line subtracts its quantities from the
// article's two locations and leaves one issue row and one movement row behind.
namespace stock {

struct IssueLine {
    QString articleCode;   // TM1CHR1, the own code
    QString description;   // names the article in a failure
    double quantity1 = 0;  // from location 1
    double quantity2 = 0;  // from location 2
    double price1 = 0;     // list-1 sale price, kept on the issue row
    double price2 = 0;     // list-2 sale price: kept on the issue row, and the article's new one
};

struct IssueEntry {
    NumberBox number;
    QString dateText;      // EdFec, short date
    int receiverCode = 0;  // CLICOD of who receives, 0 when none was chosen
    QString purpose;       // EdConcepto, what the goods are for
    QList<IssueLine> lines;
    int operatorCode = 0;
    int accessLevel = 0;
};

// Records the issue in one transaction, the quantities subtracted exactly in one statement per
// line (stock may go below zero: nothing stops an issue). Throws MovementRecordingError, after
// rolling back, for no lines, a bad date or number, an article no longer in the file, or any
// database failure.
RecordedMovement recordIssue(vx::Connection &connection, const IssueEntry &entry, const MovementProgress &progress = {});

}  // namespace stock
