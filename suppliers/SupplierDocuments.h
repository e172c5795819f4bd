#pragma once

#include <QDate>
#include <QString>

namespace vx {
class Connection;
}

namespace suppliers {

enum class DocumentType { Invoice, Credit };

// A supplier's invoice (what the shop owes) or credit (in the shop's favour), as typed.
struct SupplierDocument {
    int supplierCode = 0;
    DocumentType type = DocumentType::Invoice;
    double number = 0;
    QDate date;
    double total = 0;
    int operatorCode = 0;
};

// Adds the document to the supplier's account in one transaction: its PROCOM row, open for its
// whole total, and the supplier's balance raised by an invoice or lowered by a credit (an SQL
// increment, to the cent). A number the supplier already has for the same type, an unknown
// supplier, a total that is not positive are refused. Throws PaymentError; on failure nothing is
// stored. Returns the document's COMUNO.
qint64 recordSupplierDocument(vx::Connection &connection, const SupplierDocument &document);

// The same inside the caller's transaction (for whole shops written at once): the same checks and
// rows; throws PaymentError or vx::DbError and leaves rolling back to the caller.
qint64 writeSupplierDocument(vx::Connection &connection, const SupplierDocument &document);

// Adds a supplier under the next free code (the highest plus 1), with a balance of 0; a name
// already used is refused. Returns the code.
int createSupplier(vx::Connection &connection, const QString &name);
// The same inside the caller's transaction.
int writeSupplier(vx::Connection &connection, const QString &name);

} // namespace suppliers
