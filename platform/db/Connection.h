#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/db/ResultStream.h"
#include "platform/db/SchemaTypes.h"
#include "platform/db/SqlDialect.h"

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

#include <memory>

namespace vx {

class DataLink;

// The one database connection of a process. Opens from a data-link file, knows the engine's
// dialect and the schema, runs statements and transactions, and counts writes so that datasets
// know when rows they hold may have changed.
class VXPLATFORM_EXPORT Connection : public QObject {
    Q_OBJECT
public:
    ~Connection() override;

    // Opens the database the data-link file names. Throws DbError naming the file and the cause
    // when the file is missing or broken, the provider is unknown or the database won't open. An
    // SQLite file that does not exist is not created.
    static std::unique_ptr<Connection> open(const DataLink &link, const Schema *schema);
    // Opens (and with `create`, creates) an SQLite database file.
    static std::unique_ptr<Connection> openSqlite(const QString &path, const Schema *schema, bool create);
    // A second connection to the same database, e.g. for a tool working beside the program.
    std::unique_ptr<Connection> openAnother() const;

    QSqlDatabase database() const { return m_db; }
    const SqlDialect &dialect() const { return *m_dialect; }
    const Schema *schema() const { return m_schema; }
    QString description() const { return m_description; }

    // Creates every table and index of the schema, in one transaction (the caller's, if open).
    void createSchema();
    bool tableExists(const QString &table) const;
    // Gives this connection an empty private copy of a schema table that stands in for the shared
    // one in every statement of this connection, until the connection closes. Scratch rows that
    // each workstation composes for itself then never meet another workstation's.
    void usePrivateCopy(const QString &table);

    // Runs a statement with bound values; throws DbError with the engine's reason on failure.
    QSqlQuery execute(const QString &sql, const QVariantList &params = {});
    // The first column of the first row, or a null value when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // Runs a statement the data layer repeats often (a locate, a page of rows) through a prepared
    // statement kept for the next time. The result must be read before the same text runs again.
    QSqlQuery &executeCached(const QString &sql, const QVariantList &params);
    // The rows of a select statement, from the given row on, read while other statements run.
    std::unique_ptr<ResultStream> openStream(const QString &sql, const QVariantList &params, qint64 fromRow);

    void beginTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // Increases with every write through this connection (and every rollback).
    quint64 dataVersion() const { return m_dataVersion; }
    void noteWrite() { ++m_dataVersion; }

    // The operator-facing text for a failed statement.
    static QString errorText(const QSqlError &error);

private:
    Connection(QSqlDatabase db, std::unique_ptr<SqlDialect> dialect, const Schema *schema, QString description);
    void configureSqlite();
    QString inlineValues(const QString &sql, const QVariantList &params) const;
    static std::unique_ptr<Connection> openDatabase(QSqlDatabase db, SqlDialect::Engine engine, const Schema *schema,
                                                    const QString &description);

    QSqlDatabase m_db;
    std::unique_ptr<SqlDialect> m_dialect;
    const Schema *m_schema = nullptr;
    QString m_description;
    bool m_inTransaction = false;
    quint64 m_dataVersion = 0;
    QHash<QString, QSqlQuery> m_prepared;
};

// A transaction that rolls back when it goes out of scope without commit(), so that no early
// return or exception leaves one open.
class VXPLATFORM_EXPORT Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Connection &m_connection;
    bool m_done = false;
};

}  // namespace vx
