#pragma once

#include <QDate>
#include <QList>
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
    QDate dueDate;  // none: no due date
    QString note;   // up to 60 characters
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

// Cancels a document nothing was paid on or taken from, in one transaction: it stays in PROCOM
// marked cancelled with nothing open, and the supplier's balance loses what it had added (an SQL
// increment). A document with payments, one already cancelled, a receipt, or a credit that came
// from a payment are refused. Throws PaymentError; on failure nothing is changed.
void cancelSupplierDocument(vx::Connection &connection, qint64 key);

// A supplier's invoice or credit as the documents window lists it.
struct DocumentLine {
    qint64 key = 0;  // COMUNO
    DocumentType type = DocumentType::Invoice;
    double number = 0;
    QDate date;
    QDate dueDate;
    double total = 0;
    double balance = 0; // still open, as stored (positive for both types)
    bool cancelled = false;
    QString note;
};

// The supplier's invoices and credits (receipts left out), newest first.
QList<DocumentLine> documentsOf(vx::Connection &connection, int supplierCode);

// Adds a supplier under the next free code (the highest plus 1), with a balance of 0; a name
// already used is refused. Returns the code.
int createSupplier(vx::Connection &connection, const QString &name);
// The same inside the caller's transaction.
int writeSupplier(vx::Connection &connection, const QString &name);

} // namespace suppliers
