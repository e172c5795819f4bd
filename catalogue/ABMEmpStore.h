#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

namespace vx {
class Connection;
}

namespace catalogue {

// What tells the brand, colour and size catalogues apart; the windows and the recordings follow
// one pattern over it.
struct CatalogueKind {
    QString table;        // MARCAS
    QString codeField;    // MARCOD
    QString descField;    // MARDES
    QString issueField;   // EGRESOS.EGRMAR
    QString receiptField; // INGRESOS.INGMAR
    QString articleField; // STOCK.ARTMAR
    QString caption;      // the window's caption
    QString newCaption;   // the caption over the new-entry line
    QString gridTitle;    // the description column's title
    QString objectName;   // the window's object name
    // Leaving the code box: the width the code is padded to with "0", and whether an empty box
    // stays empty (brands) or becomes all zeros (colours, sizes).
    int padWidth = 2;
    bool emptyStaysEmpty = false;
    // Brands only: leaving CB1 sorts the table; the navigator upper-cases the grid's field.
    bool sortOnSearchField = false;
    bool upperCaseOnNavigate = false;
    // What "&cerrar" resets: the code and description boxes too, and the search field chosen.
    bool closeClearsEntry = true;
    QString closeSearchField = QStringLiteral("Codigo");
};

const CatalogueKind &brandKind();
const CatalogueKind &colourKind();
const CatalogueKind &sizeKind();

// A refusal or failure of a catalogue recording, worded for the operator.
class CatalogueError : public std::runtime_error {
public:
    explicit CatalogueError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// The code box's text as the kind pads it on leaving the box.
QString padCode(const CatalogueKind &kind, const QString &text);
// The code a text names ("007" and "7" are one code); nothing when it is not a whole number
// from 0 up.
std::optional<int> codeOf(const QString &text);
// The highest stored code + 1; 1 on an empty table.
int nextCode(vx::Connection &connection, const CatalogueKind &kind);

struct SavedEntry {
    int code = 0;
    bool replaced = false;      // an entry with the code was there and got the new description
    bool movedToFreeCode = false; // the proposed code was taken meanwhile; stored under `code`
};

// Stores an entry in one short transaction. A code typed by the operator replaces the
// description of the entry that has it; a code the window proposed that another workstation took
// meanwhile moves to the next free code instead of replacing that entry. Throws CatalogueError:
// "Archivos ocupados, ..." while a transaction is open or the tables are locked, the save
// failure otherwise; nothing is written then.
SavedEntry saveCatalogueEntry(vx::Connection &connection, const CatalogueKind &kind, int code,
                              const QString &description, bool proposed);

// Where an entry is used, checked in this order: issues, receipts, articles. The operator's
// message for the first use found, or nothing when it is free.
std::optional<QString> catalogueEntryUse(vx::Connection &connection, const CatalogueKind &kind, int code);

// Checks the uses and deletes every entry with the code, in one transaction, so that no issue,
// receipt or article can take it up in between. Throws CatalogueError with the use found, the
// busy message or the failure.
void deleteCatalogueEntry(vx::Connection &connection, const CatalogueKind &kind, int code);

} // namespace catalogue
