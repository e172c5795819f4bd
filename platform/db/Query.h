#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/Dataset.h"

#include "platform/db/QueryStatement.h"
#include "platform/db/ResultStream.h"

#include <map>
#include <memory>
#include <optional>

namespace vx {

// A read-only cursor over an SQL select statement, run as written. A filter or sort wraps the
// statement as a subquery; a statement given in parts (setStatement) takes them into its own WHERE
// and ORDER BY instead. Rows stream in pages from one open statement while the cursor moves
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
    // The statement in parts; replaces any text given before.
    void setStatement(const QueryStatement &statement);
    const QueryStatement &statement() const { return m_parts; }
    // With a statement in parts: its own condition and the dataset's, as last read.
    SqlCondition listedCondition() const override;
    // Whether a row listed now also meets the condition: one EXISTS over the statement's tables.
    bool holds(const SqlCondition &condition);
    // The statement that lists the rows, as last run, with its bound values (to read its plan).
    QString runningStatement() const { return m_statement; }
    // With a statement in parts: the statement that counts the rows listed (bound as listedCondition),
    // and sums them when sums are asked for.
    QString countStatement() const;
    // Sums the count also reads, so that a list's count and its totals are one pass over its rows
    // (each expression summed over the rows listed, 0 over none or over nulls only). Needs a
    // statement in parts.
    void setCountedSums(const QStringList &expressions);
    // The counted sums of the rows listed now; read with the count, or on their own when the
    // first page of rows already told the count.
    QList<double> countedSums();
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
    void readCount();
    QString composedStatement(const SqlCondition &condition) const;
    QString trimmedSql() const;
    void startStream(int fromRow);
    void readPage(int page);
    bool rowMatches(const QVariantList &row, const QList<int> &indexes, const QVariantList &values,
                    LocateOptions options) const;

    QString m_sql;
    QueryStatement m_parts;
    QString m_statement;
    QVariantList m_params;
    QList<FieldType> m_types;
    QStringList m_resultNames;  // the result's column names as the engine gives them
    std::unique_ptr<ResultStream> m_stream;
    int m_streamRow = 0;   // index of the row the stream gives next
    int m_count = -1;      // -1 while unknown
    QStringList m_sumExpressions;
    std::optional<QList<double>> m_sums;  // read with the count
    std::map<int, std::vector<QVariantList>> m_pages;
};

}  // namespace vx
