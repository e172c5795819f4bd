#pragma once

#include <QString>

class QWidget;

namespace sales {

// The sale still on the sales window's screen, as its boxes show it. Its lines are the rows of the
// work table TMP1, which keeps them while the sale prints.
struct SaleOnScreen {
    QString receiptNumber;  // EdNro
    QString date;           // EdFec
    QString customer;       // CBCliente
    QString subtotal;       // EdSTot
    QString percentage;     // EdPor
    QString discount;       // EdDcto
    QString total;          // EdTotal
};

// After a recorded sale whose receipt the operator asked for: lets the operator choose the kind of
// receipt and prints the sale on screen as chosen. A printing failure is thrown as an exception
// with a Spanish message; the sale stays recorded whatever happens here.
void printRecordedSale(QWidget *parent, const SaleOnScreen &sale);

}  // namespace sales
