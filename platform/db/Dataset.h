#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/Field.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/SchemaTypes.h"

#include <QFlags>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

namespace vx {

class Connection;
class DataSource;

// The value of a column a row source has not read yet: a long walk reads only the columns the
// code has asked for, and the others on demand.
struct NotLoaded {
    bool operator==(const NotLoaded &) const { return true; }
};

// A position in a dataset that stays valid while the dataset is open.
struct Bookmark {
    qint64 value = -1;
    bool isValid() const { return value >= 0; }
};

enum class LocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)

// One sort term: a column and its direction.
struct SortTerm {
    QString column;
    bool descending = false;
};

// A cursor over rows of the database: membership and order come from SQL; rows are read in pages
// as navigation needs them. Table and Query fill in where the rows come from.
//
// Navigation follows the classic cursor rules: first() sets bof, last() sets eof, next() at the
// last row sets eof and stays, prior() at the first row sets bof and stays. Moving while a record
// is being edited posts it first.
class VXPLATFORM_EXPORT Dataset : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit Dataset(Connection *connection, QObject *parent = nullptr);
    ~Dataset() override;

    Connection *connection() const { return m_connection; }
    // The name used in messages: the table name or the query text's first words.
    virtual QString displayName() const = 0;

    void open();
    void close();
    bool active() const { return m_state != State::Inactive; }
    void setActive(bool active);
    State state() const { return m_state; }

    QList<Field *> fields() const;
    // Changes whenever the field objects are made anew or dropped (open, close), and no two
    // datasets share one: code that keeps Field pointers over a long walk checks it.
    quint64 fieldsGeneration() const { return m_fieldsGeneration; }
    int fieldCount() const { return int(m_fields.size()); }
    Field *field(int index) const { return m_fields[size_t(index)].get(); }
    // Throws DbError naming the dataset when there is no such field.
    Field *fieldByName(const QString &name) const;
    Field *findField(const QString &name) const;

    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    bool isEmpty() const;
    int recordCount() const;
    int recNo() const { return m_position + 1; }  // 1-based; 0 when empty
    void setRecNo(int recNo);

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark &bookmark) const;
    void gotoBookmark(const Bookmark &bookmark);

    // Moves to the first record, in the current order and filter, whose fields ("A;B") hold the
    // values. Returns false and stays put when none does.
    bool locate(const QString &fieldNames, const QVariant &values, LocateOptions options = {});

    // "ARTDES DESC", "ARTCMCT ASC, ARTDES DESC" or index field names "COMDIA;COMNRO".
    QString sort() const { return m_sortText; }
    void setSort(const QString &sort);
    QString filter() const { return m_filterText; }
    void setFilter(const QString &filter);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool filtered);
    // A condition in SQL over the dataset's columns that a record must meet while the dataset is
    // filtered, beside the filter text.
    QString recordFilter() const { return m_recordFilter; }
    void setRecordFilter(const QString &sqlPredicate);
    // The same with values bound to its "?" placeholders.
    void setRecordFilter(const SqlCondition &condition);
    // The condition the listed rows met when membership was last read: filter, record filter and
    // master link (and a query's own condition), for statements over the same rows (totals).
    virtual SqlCondition listedCondition() const { return m_where; }

    // Keeps this dataset to the records whose detail fields equal the master's current fields.
    void setMasterLink(DataSource *master, const QString &masterFields, const QString &detailFields);

    // Reads membership again, staying on the current record when it is still there.
    void refresh();

    // The values of the row at a 0-based position, one per field, without moving the cursor (a
    // grid paints rows other than the current one). False when the position is out of range or
    // the row was deleted elsewhere (it is then dropped and the count is one less).
    bool readRow(int position, QVariantList &values);
    // The values of some fields over every row, in the current order and filter, without moving
    // the cursor: one list per row, values in the order of `fieldNames`. Fills pick lists.
    virtual QList<QVariantList> columnValues(const QStringList &fieldNames);

    // A dataset whose rows cannot be changed (a query).
    virtual bool isReadOnly() const { return false; }

    virtual void append();
    virtual void insert();
    void edit();
    void post();
    void cancel();
    void deleteRecord();

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // The current record's values, for Field.
    QVariant recordValue(int index) const;
    void setRecordValue(int index, const QVariant &value);

    void attachDataSource(DataSource *source);
    void detachDataSource(DataSource *source);

signals:
    void afterOpen();
    void afterScroll();
    void afterPost();
    void newRecord();

protected:
    // What a row source provides.
    virtual QList<ColumnDef> describeColumns() = 0;
    virtual void openRows() = 0;            // read membership for the current order and filter
    virtual void closeRows() = 0;
    virtual int rowCount() = 0;
    // Values of the row at a position; false when the row no longer exists (it is then dropped).
    // With `complete` every field holds its value; otherwise fields not read so far may hold
    // NotLoaded.
    virtual bool fetchRow(int position, QVariantList &values, bool complete) = 0;
    // The fields read through Field objects since the dataset opened, by index.
    const std::vector<bool> &fieldsRead() const { return m_fieldsRead; }
    static QVariant notLoaded();
    static bool isNotLoaded(const QVariant &value);
    virtual int locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options) = 0;
    virtual qint64 bookmarkAt(int position) const = 0;
    virtual int positionOf(qint64 bookmark) const = 0;
    virtual void postEdit(int position, const QVariantList &values, const std::vector<bool> &modified);
    // Stores a new record and returns where it now stands.
    virtual int postInsert(int position, bool append, const QVariantList &values);
    virtual void deleteRow(int position);
    virtual void refreshRow(int position);

    // The WHERE condition of the current filter text, record filter and master link (empty when
    // none applies). Throws DbError for a filter that does not compile.
    SqlCondition whereCondition() const;
    // That condition as it was when membership was last read.
    const SqlCondition &currentWhere() const { return m_where; }
    // ORDER BY terms for the current sort, without the key that breaks ties.
    const QList<SortTerm> &sortTerms() const { return m_sortTerms; }
    QString orderByTerms() const;
    std::optional<FieldType> columnType(const QString &name) const;
    // Values bound for a locate: converted to each field's type.
    QVariant locateValue(const Field *field, const QVariant &value) const;

private:
    void checkActive() const;
    void checkBrowseMode();
    void checkModifiable() const;
    void setPosition(int position, bool bof, bool eof);
    void loadCurrent();
    void clearBuffer();
    void requery(bool keepPosition);
    void setState(State state);
    void notifyChanged();
    void notifyScrolled();
    void notifyState();
    void checkSizes() const;
    void masterMoved();
    QList<SortTerm> parseSort(const QString &text) const;

    Connection *m_connection;
    State m_state = State::Inactive;
    std::vector<std::unique_ptr<Field>> m_fields;
    quint64 m_fieldsGeneration = 0;
    // Field by name as written in the schema; code asks for fields by name inside long walks.
    QHash<QString, Field *> m_fieldsByName;
    mutable QVariantList m_record;
    std::vector<bool> m_modified;
    mutable std::vector<bool> m_fieldsRead;
    int m_position = -1;
    bool m_bof = true;
    bool m_eof = true;
    bool m_insertAppends = false;

    QString m_sortText;
    QList<SortTerm> m_sortTerms;
    QString m_filterText;
    bool m_filtered = false;
    QString m_recordFilter;
    QVariantList m_recordParams;

    QPointer<DataSource> m_master;
    QStringList m_masterFields;
    QStringList m_detailFields;
    mutable QVariantList m_masterValues;
    SqlCondition m_where;

    int m_disableCount = 0;
    bool m_changedWhileDisabled = false;
    QList<QPointer<DataSource>> m_sources;
};

}  // namespace vx

Q_DECLARE_OPERATORS_FOR_FLAGS(vx::LocateOptions)
Q_DECLARE_METATYPE(vx::NotLoaded)
