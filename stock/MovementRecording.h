#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <stdexcept>

namespace vx {
class Connection;
}
namespace data {
class RowWriter;
}

// What the goods receipt and the goods issue share: how a document gets its number, how a
// failure is told, and how the wait window follows the work.
namespace stock {

// The Spanish reason a receipt or an issue could not be recorded; nothing of it was stored.
class MovementRecordingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // "No se pudo completar el proceso." for the operator, with the underlying cause kept (a
    // date that is none, an article deleted meanwhile, a database error); the engine's Spanish
    // cause, when there is one, follows the message.
    static MovementRecordingError failed(const QString &cause, const QString &engineCause = {});
    QString cause() const { return m_cause; }

private:
    QString m_cause;
};

// Receives the wait window's progress texts while a document is recorded.
using MovementProgress = std::function<void(const QString &)>;

struct RecordedMovement {
    int number = 0;
    // The proposed number had been taken by another workstation meanwhile; the document carries
    // the next free number instead.
    bool numberChanged = false;
};

// A document's number box as the window hands it over.
struct NumberBox {
    QString text;            // EdNro; empty: the next free number
    bool proposed = false;   // EdNro holds the number the window proposed, untouched
};

// Where a kind of document keeps its numbers: the table and its number column.
struct NumberSeries {
    const char *table;
    const char *column;
};
inline constexpr NumberSeries receiptSeries{"INGRESOS", "INGNRO"};
// Sale lines are issue rows too, under the sale's number: the next issue number counts them.
inline constexpr NumberSeries issueSeries{"EGRESOS", "EGRNRO"};

// The highest number stored in the series + 1 (1 for an empty table).
int nextNumber(vx::Connection &connection, const NumberSeries &series);

// The number a document is recorded with, decided inside the caller's write transaction: a typed
// number as typed, a proposed one unless another document took it meanwhile (then the next free
// one), an empty box the next free one. Throws vx::DbError for a text that is no whole number.
RecordedMovement decideNumber(vx::Connection &connection, const NumberSeries &series, const NumberBox &box);

// Runs `write` in one write transaction and turns any failure into a MovementRecordingError after
// the rollback.
RecordedMovement recordInTransaction(vx::Connection &connection, const std::function<RecordedMovement()> &write);

// One line of the stock journal (MOVIM): type "I" for goods in, "E" for goods out, stamped with
// the day and time of the recording.
struct JournalLine {
    const char *type;
    QString articleCode;
    double quantity1 = 0;
    double quantity2 = 0;
    int number = 0;
    QString text;          // MOVOBS
    int operatorCode = 0;
};
void writeJournalLine(data::RowWriter &rows, const JournalLine &line, const QDateTime &now);

// The stored form of a date box; throws vx::DbError for a text that is not a date.
QDateTime documentDate(const QString &text);

}  // namespace stock
