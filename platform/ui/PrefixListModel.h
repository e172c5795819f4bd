#pragma once

#include "platform/VxPlatformExport.h"

#include <QAbstractListModel>
#include <QStringList>

namespace vx {
class Connection;
}

namespace vx::ui {

// Where a pick list's texts come from: one text column of one table, read through its index.
struct PickSource {
    QString table;
    QString column;
};

// The texts of one column that begin with a prefix, asked of the database a page at a time:
// distinct, non-empty, in the column's order (by code point, as every list of the program sorts).
// Nothing but the page shown is held, so a list of a million articles costs what one of fifty
// does, and a text another workstation has just written is there the next time the prefix is set.
// Scrolling to the end of the page reads the next one. Database failures throw DbError.
class VXPLATFORM_EXPORT PrefixListModel : public QAbstractListModel {
    Q_OBJECT
public:
    PrefixListModel(Connection *connection, PickSource source, QObject *parent = nullptr);

    Connection *connection() const { return m_connection; }
    const PickSource &source() const { return m_source; }

    // Reads the first page of texts that begin with `prefix` (all texts for an empty prefix).
    void setPrefix(const QString &prefix);
    QString prefix() const { return m_prefix; }
    // Reads the first page for the same prefix again.
    void refresh() { setPrefix(m_prefix); }
    // Drops the texts held; nothing is read until the prefix is set again.
    void forget();

    QStringList texts() const { return m_texts; }
    int pageSize() const { return m_pageSize; }
    void setPageSize(int rows) { m_pageSize = rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    // Up to a page of texts that begin with `prefix`: those after `after`, or the first ones when
    // `after` is empty.
    QStringList readPage(const QString &prefix, const QString &after) const;

    Connection *m_connection;
    PickSource m_source;
    QString m_prefix;
    QStringList m_texts;
    bool m_more = false;
    int m_pageSize = 50;
};

}  // namespace vx::ui
