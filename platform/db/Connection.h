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

#include <functional>
#include <memory>

namespace vx {

class DataLink;
class DbError;

// The one database connection of a process. Opens from a data-link file, knows the engine's
// dialect and the schema, runs statements and transactions, and counts writes so that datasets
// know when rows they hold may have changed.
//
// A server connection that breaks is opened again: a statement outside a transaction is retried
// once on the new connection; inside a transaction the work is rolled back and the caller told it
// was not recorded (DbError::Kind::NotRecorded), and every statement of that transaction fails
// until it is rolled back. The connection-private tables are made again, empty.
class VXPLATFORM_EXPORT Connection : public QObject {
    Q_OBJECT
public:
    // What a database must be to be opened.
    enum class Expect {
        AnyDatabase,  // any database of the engine (tools that create or fill one)
        // The tables of the schema, at the schema's version. Checked before anything is written,
        // so that another program's file is refused untouched.
        Shop,
    };

    ~Connection() override;

    // Opens the database the data-link file names. Throws DbError naming the file and the cause
    // when the file is missing or broken, the provider is unknown or the database won't open. An
    // SQLite file that does not exist is not created.
    static std::unique_ptr<Connection> open(const DataLink &link, const Schema *schema,
                                            Expect expect = Expect::AnyDatabase);
    // Opens (and with `create`, creates) an SQLite database file.
    static std::unique_ptr<Connection> openSqlite(const QString &path, const Schema *schema, bool create,
                                                  Expect expect = Expect::AnyDatabase);
    // A second connection to the same database, e.g. for a tool working beside the program.
    std::unique_ptr<Connection> openAnother() const;

    QSqlDatabase database() const { return m_db; }
    const SqlDialect &dialect() const { return *m_dialect; }
    const Schema *schema() const { return m_schema; }
    QString description() const { return m_description; }
    // True when the database can be read but nothing can be recorded in it (a read-only file or
    // medium, a read-only server).
    bool readOnly() const { return m_readOnly; }

    // Creates every table and index of the schema, in one transaction (the caller's, if open),
    // and records the schema's version.
    void createSchema();
    // The version the database records; 0 when it records none.
    int storedVersion();
    // Records the schema's version in the database (after its tables were brought to it).
    void recordVersion();
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
    // Throws the DbError for a statement that failed on this connection, `what` saying what was
    // being done. A broken server connection is opened again first (see above). Returns, for the
    // caller to run the statement once more, only when the connection broke outside a
    // transaction, `mayRetry` is set and the server is back.
    void failed(const QSqlError &error, const QString &what, bool mayRetry = false);

    // The server's address as the operator knows it ("host:port"); empty for a file.
    QString serverAddress() const { return m_serverAddress; }

signals:
    // The server connection broke and was opened again: rows in the connection-private tables
    // were lost with it.
    void reconnected();

private:
    using MakeDatabase = std::function<QSqlDatabase(const QString &connectionName)>;
    Connection(QSqlDatabase db, std::unique_ptr<SqlDialect> dialect, const Schema *schema, QString description);
    void configureSqlite();
    void startSession();
    void checkShop();
    bool reopen();
    QString lostMessage() const;
    void createPrivateCopy(const TableDef &definition);
    QString inlineValues(const QString &sql, const QVariantList &params) const;
    static std::unique_ptr<Connection> openDatabase(const MakeDatabase &make, SqlDialect::Engine engine,
                                                    const Schema *schema, const QString &description,
                                                    const QString &address, Expect expect);
    // Refuses any statement while the open transaction is lost, and opens a server connection
    // that could not be opened again before.
    void checkUsable();

    QSqlDatabase m_db;
    std::unique_ptr<SqlDialect> m_dialect;
    const Schema *m_schema = nullptr;
    QString m_description;
    QString m_serverAddress;
    bool m_inTransaction = false;
    // The server went away inside the open transaction: nothing of it reaches the database, and
    // every statement fails until the transaction is rolled back.
    bool m_transactionLost = false;
    bool m_readOnly = false;
    bool m_reopening = false;
    quint64 m_dataVersion = 0;
    QHash<QString, QSqlQuery> m_prepared;
    QStringList m_privateCopies;
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
