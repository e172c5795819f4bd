#pragma once

#include "cash/CashFigures.h"

#include <QDate>
#include <QString>

namespace vx {
class Connection;
}

namespace cash {

// What the adjustment window read from its boxes.
struct Adjustment {
    bool moneyIn = false; // "INGRESA"; otherwise "RETIRA"
    double amount = 0;    // EdImp, typed positive: the direction comes from the choice
    QDate date;           // EdFec: the day the money came in or went out
    QString text;         // EdCon, the concept
};

// Appends the adjustment row "J" of the cash: the amount to the cent, positive in, negative out;
// written today, dated in or out by the date given. Throws CashError: Invalid for a negative
// amount or a missing date, Failed (nothing stored) when the database refuses.
void recordAdjustment(vx::Connection &connection, const Adjustment &adjustment);

// Takes the card rows ("TT") written from `from` to `to` (whole days) out of the cash book, all or
// none. Returns how many went.
qint64 clearCardRows(vx::Connection &connection, const QDate &from, const QDate &to);

} // namespace cash
