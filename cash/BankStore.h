#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace vx {
class Connection;
}

// The reference data behind card crediting: banks, the shop's own accounts and the card file.
namespace cash {

// Why nothing was stored; the message is the operator's, with the cause when there is one.
class BankError : public std::runtime_error {
public:
    explicit BankError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// A whole number typed into a code or days box; nothing when the text is not one.
std::optional<int> wholeNumber(const QString &text);

// The highest bank code + 1; 1 when there is no bank.
int nextBankCode(vx::Connection &connection);
// The name of the first bank with exactly this code.
std::optional<QString> bankName(vx::Connection &connection, int code);
// The lowest bank code whose digits begin with the typed digits.
std::optional<int> firstBankCodeStartingWith(vx::Connection &connection, const QString &digits);
// Adds a bank, even under a code that exists. Throws BankError.
void addBank(vx::Connection &connection, int code, const QString &name);

struct OwnAccount {
    int bank = 0;   // CTABCO
    int code = 0;   // CTACOD
    QString name;   // CTADES
    QString number; // CTANRO
};

// The highest account code + 1; 1 when the shop has no account.
int nextAccountCode(vx::Connection &connection);
// Adds an own account. Throws BankError.
void addAccount(vx::Connection &connection, const OwnAccount &account);
// Every own account number, in order of bank code.
QStringList accountNumbers(vx::Connection &connection);
// The name of the bank of the first own account with exactly this number; empty when there is
// no such account or its bank is not in the list.
QString accountBankName(vx::Connection &connection, const QString &accountNumber);

struct CardEntry {
    int code = 0;    // TARCOD
    QString name;    // TARNOM
    QString account; // TARCTA, an own account number or empty
    int days = 0;    // TARDIA
};

// The highest card code + 1; 1 for an empty card file.
int nextCardCode(vx::Connection &connection);
// Adds a card in one transaction; its bank is the bank of the account it credits, read in the
// same transaction. Throws BankError.
void addCard(vx::Connection &connection, const CardEntry &card);

} // namespace cash
