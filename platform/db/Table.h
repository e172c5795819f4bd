#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/Dataset.h"

#include <QSqlQuery>

#include <unordered_map>
#include <vector>

namespace vx {

// A cursor over one table. Opening reads the row keys of the members in order (a few bytes per
// row); the rows themselves are read in pages by key as navigation reaches them, so a table of
// millions of rows opens without being copied into memory. Membership is fixed at open, as with
// a static cursor: rows other workstations add appear on refresh().
class VXPLATFORM_EXPORT Table : public Dataset {
    Q_OBJECT
public:
    explicit Table(Connection *connection, const QString &tableName = {}, QObject *parent = nullptr);

    QString tableName() const { return m_tableName; }
    void setTableName(const QString &name);
    QString displayName() const override { return QStringLiteral("La tabla %1").arg(m_tableName); }

    // Sort by index field names: "COMDIA;COMNRO" (each ascending).
    void setIndexFieldNames(const QString &names) { setSort(names); }
    QString indexFieldNames() const { return sort(); }

    QList<QVariantList> columnValues(const QStringList &fieldNames) override;

    // How many rows navigation and painting have read from the database so far.
    qint64 rowsFetched() const { return m_rowsFetched; }

protected:
    QList<ColumnDef> describeColumns() override;
    void openRows() override;
    void closeRows() override;
    int rowCount() override { return int(m_keys.size()); }
    bool fetchRow(int position, QVariantList &values, bool complete) override;
    int locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options) override;
    qint64 bookmarkAt(int position) const override { return m_keys[size_t(position)]; }
    int positionOf(qint64 bookmark) const override;
    void postEdit(int position, const QVariantList &values, const std::vector<bool> &modified) override;
    int postInsert(int position, bool append, const QVariantList &values) override;
    void deleteRow(int position) override;
    void refreshRow(int position) override;

private:
    // Reads the page around a row; a reader that wants complete rows gets every field.
    void loadPage(int position, bool complete);
    QString whereClause(const SqlCondition &condition) const;
    // A field as the select list names it (see SqlDialect::selectColumn).
    QString selectedColumn(int index) const;
    QString orderClause() const;
    void dropKey(int position);
    void loadRow(qint64 key);
    void storeRows(QSqlQuery &query, const QList<int> &fields);
    QList<int> fieldsToRead(bool complete) const;

    QString m_tableName;
    QString m_keyColumn;
    std::vector<qint64> m_keys;
    // The keys a page load asks for; kept to spare an allocation on every page of a walk.
    std::vector<qint64> m_wantedKeys;
    // Key to position, sorted by key, built when first needed and dropped when membership changes.
    mutable std::vector<std::pair<qint64, int>> m_positions;
    struct CachedRow {
        // One value per field; for a partial row, only those of `fields`, in that order: a long
        // walk keeps no place for the columns it does not read.
        QVariantList values;
        QList<int> fields;
        bool partial = false;
    };
    std::unordered_map<qint64, CachedRow> m_rows;
    // The row the query stands on; `fields` are the fields it selected after the key.
    CachedRow rowFrom(const QSqlQuery &query, const QList<int> &fields) const;
    // A partial row as a record, NotLoaded in the fields it lacks; reuses `values` when it can.
    // Takes the row's values.
    void expandRow(CachedRow &row, QVariantList &values) const;
    quint64 m_rowsVersion = 0;
    // The positions the last page (or locate) read; -1 before any.
    int m_pageFrom = -1;
    int m_pageTo = -1;
    qint64 m_rowsFetched = 0;
    int m_pageSize = 16;
};

}  // namespace vx
