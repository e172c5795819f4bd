#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace vx {
class Connection;
class Table;
}  // namespace vx

// A delivery note: the lines recorded under one receipt or issue number, with the units per
// location, as the note window shows them and its printout prints them.
namespace stock {

enum class NoteMode { Issues, Receipts };

struct NoteLine {
    QDate date;
    int number = 0;
    QString code;
    QString description;
    QString brand;
    QString colour;
    QString size;
    double quantity1 = 0;
    double quantity2 = 0;
};

struct DeliveryNote {
    QList<NoteLine> lines;  // in the order they were recorded
    double total1 = 0;
    double total2 = 0;
};

// The note of a number typed by the operator; nullopt when the text is no whole number or nothing
// was recorded under it. A sale's lines are issue rows under the sale's number, and sales and
// issues number apart: in issue mode the goods-issue lines of a number are its note, and a number
// with sale lines only prints those. Throws vx::DbError.
std::optional<DeliveryNote> loadDeliveryNote(vx::Connection &connection, NoteMode mode, const QString &numberText);

// The rows a note window or its printout works on: its own view of the work table TMP1. The note
// window and the printout share the workstation's TMP1, so each keeps a marker of its own in
// TM1CHR11 and sees, writes and deletes only its own rows.
class NoteStaging {
public:
    NoteStaging(vx::Connection &connection, QString marker);
    ~NoteStaging();
    NoteStaging(const NoteStaging &) = delete;
    NoteStaging &operator=(const NoteStaging &) = delete;

    // The view, open on this staging's rows in the order they were written.
    vx::Table &view();
    // Deletes this staging's rows.
    void clear();
    // Replaces this staging's rows with the lines in one commit. Brand, colour and size, which
    // the note does not show, are cut to their columns' 30 characters.
    void stage(const QList<NoteLine> &lines);
    // The lines staged, in their order.
    QList<NoteLine> lines();
    void close();

private:
    vx::Connection &m_connection;
    QString m_marker;
    std::unique_ptr<vx::Table> m_view;
};

// A quantity as the note shows it: whole units without decimals, fractions as recorded.
QString quantityText(double value);

}  // namespace stock
