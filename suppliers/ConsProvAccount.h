#pragma once

#include "platform/db/DayRange.h"


namespace vx {
class Connection;
}

// A supplier's account over a range of days, as "Consulta de Proveedores" lists it: the balance
// before the first day, then the invoices (owed), credits (in the shop's favour) and payments in
// date order, each with the balance after it. The payments are the payment receipts ("10", the
// money that left the cash); the credit an overpayment left is part of its payment and is not
// listed again. Cancelled documents are listed, marked, and move nothing.
namespace suppliers {

// The scratch list (TMP1) the account is written to, one row per line:
//   TM1NUM1 line number, 0 for the opening balance     TM1DAT1 date
//   TM1CHR8 "FAC.", "CRE.", "PAGO" (empty: opening)     TM1NUM2 document number
//   TM1PRE1 owed (Debe)   TM1PRE2 paid or credited (Haber)   TM1PRE3 balance after the line
//   TM1PRE4 what the line moves (0 when cancelled)      TM1CHR10 "Anulado", "Saldo Anterior", the
//   note or the documents a payment paid                 TM1NUM3 the PROCOM row (COMUNO)
struct AccountColumn {
    static constexpr const char *line = "TM1NUM1";
    static constexpr const char *date = "TM1DAT1";
    static constexpr const char *kind = "TM1CHR8";
    static constexpr const char *number = "TM1NUM2";
    static constexpr const char *owed = "TM1PRE1";
    static constexpr const char *paid = "TM1PRE2";
    static constexpr const char *balance = "TM1PRE3";
    static constexpr const char *moves = "TM1PRE4";
    static constexpr const char *note = "TM1CHR10";
};

// What the account's totals say: the opening balance, what the range added and took away, and
// the balance at its end (in the shop's favour when negative).
struct AccountTotals {
    double opening = 0;
    double owed = 0;
    double paid = 0;
    double closing = 0;
};

// Empties the connection's TMP1 and writes the supplier's account over the days into it in one
// statement; returns the number of lines, the opening balance's included.
int writeAccount(vx::Connection &connection, int supplierCode, const vx::DayRange &days);

// The totals of the account TMP1 holds now, in one aggregate to the cent.
AccountTotals accountTotals(vx::Connection &connection);

} // namespace suppliers
