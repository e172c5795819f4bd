#pragma once

#include "app/ClienteRecord.h"

#include <QString>

#include <optional>

namespace vx {
class Connection;
}

namespace suppliers {

// A supplier as the maintenance window's boxes hold it (the same boxes as a customer's). Its
// balance (CLISAL) is only ever moved by documents and payments.
using Supplier = app::ClienteRecord;

// Codes are stored in PAGOS as small integers.
constexpr int highestSupplierCode = 32767;

// The first supplier stored with the code.
std::optional<Supplier> findSupplier(vx::Connection &connection, int code);
// The code of the supplier with the name: the name as typed first, else one stored in other case.
std::optional<int> supplierCodeByName(vx::Connection &connection, const QString &name);
// The highest stored code + 1; 1 for an empty file.
int nextSupplierCode(vx::Connection &connection);

struct SupplierSave {
    Supplier supplier;
    // The code was proposed by the window: when another workstation took it meanwhile, the
    // supplier moves to the next free code instead of being refused.
    bool proposed = false;
    // The operator agreed to change the stored supplier with the code.
    bool modify = false;
};

using SupplierSaved = app::ClienteSaved;

// Stores the supplier in one short transaction that looks the code up again. The balance is never
// written here: it is the sum of the supplier's open documents, kept by their recordings. A name
// another supplier has is refused, because the payments window finds suppliers by name. Throws
// PaymentError after rolling back.
SupplierSaved saveSupplier(vx::Connection &connection, const SupplierSave &request);

// The reason the supplier may not be deleted (documents, payments or goods receipts), or nothing.
std::optional<QString> supplierUse(vx::Connection &connection, int code);

// Deletes the supplier in one short transaction after checking again that nothing refers to it.
// Throws PaymentError after rolling back.
void deleteSupplier(vx::Connection &connection, int code);

} // namespace suppliers
