#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/Dataset.h"

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

protected:
    QList<ColumnDef> describeColumns() override;
    void openRows() override;
    void closeRows() override;
    int rowCount() override { return int(m_keys.size()); }
    bool fetchRow(int position, QVariantList &values) override;
    int locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options) override;
    qint64 bookmarkAt(int position) const override { return m_keys[size_t(position)]; }
    int positionOf(qint64 bookmark) const override;
    void postEdit(int position, const QVariantList &values, const std::vector<bool> &modified) override;
    int postInsert(int position, bool append, const QVariantList &values) override;
    void deleteRow(int position) override;
    void refreshRow(int position) override;

private:
    void loadPage(int position);
    QString selectList() const;
    QString whereClause(const SqlCondition &condition) const;
    void dropKey(int position);

    QString m_tableName;
    TableDef m_def;
    QString m_keyColumn;
    std::vector<ColumnDef> m_selected;   // fields first, then the hidden key when there is one
    int m_keyIndex = -1;                  // the key's place among m_selected
    std::vector<qint64> m_keys;
    std::unordered_map<qint64, QVariantList> m_rows;
    quint64 m_rowsVersion = 0;
    int m_lastFetched = -1;
    int m_pageSize = 16;
};

}  // namespace vx
