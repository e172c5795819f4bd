#pragma once

#include "app/ClienteRecord.h"

#include <QString>

#include <optional>
#include <stdexcept>

namespace vx {
class Connection;
}

namespace customers {

// A customer as the maintenance window's boxes hold it.
using Customer = app::ClienteRecord;

// The walk-in customer every sale to an unknown name is recorded against.
constexpr int walkInCustomer = 1;
// Codes are stored as small integers.
constexpr int highestCode = 32767;

// Why a recording stored nothing; the message is the operator's.
class CustomerError : public std::runtime_error {
public:
    enum class Kind { Busy, Refused, Failed };
    CustomerError(Kind kind, const QString &message) : std::runtime_error(message.toStdString()), m_kind(kind) {}
    Kind kind() const { return m_kind; }
    QString message() const { return QString::fromUtf8(what()); }

private:
    Kind m_kind;
};

// The first customer stored with the code.
std::optional<Customer> findCustomer(vx::Connection &connection, int code);
// The highest stored code + 1; 1 for an empty file.
int nextCustomerCode(vx::Connection &connection);
// The code of another customer (not `exceptCode`) whose name, trimmed, is the name given.
std::optional<int> namesakeCode(vx::Connection &connection, const QString &name, int exceptCode);

// The observations with the dated note a balance change leaves: an earlier note is replaced, so
// that repeated changes keep one note. Nothing when the result does not fit the 50 characters.
std::optional<QString> withBalanceNote(const QString &observations, const QString &dateText);

// What the window decided before the recording starts: every question is asked by then.
struct SaveRequest {
    Customer customer;
    enum class Origin { Typed, Proposed, Loaded };
    Origin origin = Origin::Typed;
    // The operator agreed to change the stored customer with the code.
    bool modify = false;
    // ... and its balance, with the observations already carrying the note.
    bool changeBalance = false;
};

using SaveResult = app::ClienteSaved;

// Stores the customer in one short transaction that looks the code up again: a new code is
// added; a code found is changed only when the operator agreed to modify it (without its balance
// unless asked); a proposed code another workstation took meanwhile moves to the next free code.
// A typed code that another workstation stored after the question is refused rather than
// overwritten. Throws CustomerError after rolling back.
SaveResult saveCustomer(vx::Connection &connection, const SaveRequest &request);

// Deletes the customer in one short transaction, after the checks that keep sales history with
// its customer: never the walk-in customer, never one with sales (voided ones too) or goods
// issued to it. Throws CustomerError with the reason after rolling back.
void deleteCustomer(vx::Connection &connection, int code);

// The first reason the customer may not be deleted, or nothing.
std::optional<QString> customerUse(vx::Connection &connection, int code);

// Stores only the observations of one customer. Throws CustomerError.
void storeObservations(vx::Connection &connection, int code, const QString &observations);

} // namespace customers
