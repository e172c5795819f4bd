#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/Dataset.h"

#include "platform/db/ResultStream.h"

#include <map>
#include <memory>

namespace vx {

// A read-only cursor over an SQL select statement, run as written. A filter or sort wraps the
// statement as a subquery. Rows stream in pages from one open statement while the cursor moves
// forward; a jump back far enough re-runs the statement from that row.
class VXPLATFORM_EXPORT Query : public Dataset {
    Q_OBJECT
public:
    explicit Query(Connection *connection, QObject *parent = nullptr);
    ~Query() override;

    QString sql() const { return m_sql; }
    void setSql(const QString &sql);
    // The statement given as lines, joined as one text.
    void setSqlLines(const QStringList &lines) { setSql(lines.join(QLatin1Char('\n'))); }
    QString displayName() const override;
    bool isReadOnly() const override { return true; }

protected:
    QList<ColumnDef> describeColumns() override;
    void openRows() override;
    void closeRows() override;
    int rowCount() override;
    bool fetchRow(int position, QVariantList &values, bool complete) override;
    int locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options) override;
    qint64 bookmarkAt(int position) const override { return position; }
    int positionOf(qint64 bookmark) const override;

private:
    QString selectList() const;
    QString trimmedSql() const;
    void startStream(int fromRow);
    void readPage(int page);
    bool rowMatches(const QVariantList &row, const QList<int> &indexes, const QVariantList &values,
                    LocateOptions options) const;

    QString m_sql;
    QString m_statement;
    QVariantList m_params;
    QList<FieldType> m_types;
    QStringList m_resultNames;  // the result's column names as the engine gives them
    std::unique_ptr<ResultStream> m_stream;
    int m_streamRow = 0;   // index of the row the stream gives next
    int m_count = -1;      // -1 while unknown
    std::map<int, std::vector<QVariantList>> m_pages;
};

}  // namespace vx
