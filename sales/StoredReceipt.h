#pragma once

#include "sales/ReceiptStaging.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace vx {
class Connection;
}

namespace sales {

// A recorded receipt as the reprint window prints it again: its header values and its lines at
// list price, with the receipt's discount shown apart.
struct StoredReceipt {
    double number = 0;
    QDate date;
    int customerCode = 0;
    double subtotal = 0;
    double percentage = 0;
    double total = 0;
    QList<StagedLine> lines;

    // The discount amount: subtotal × percentage / 100, rounded to cents.
    double discount() const;
};

// The first receipt numbered `number`, in the order receipts were recorded, and its lines in
// the order they were written; nullopt when no receipt has that number.
std::optional<StoredReceipt> loadStoredReceipt(vx::Connection &connection, double number);

} // namespace sales
