#include "platform/db/Connection.h"

#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace vx {

namespace {

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("vx-connection-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Upper case by Unicode rules, so that case-insensitive comparisons treat "ñ" and "Ñ" alike on
// SQLite as they are on other engines.
void sqliteUpper(sqlite3_context *context, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto *text = static_cast<const char16_t *>(sqlite3_value_text16(argv[0]));
    const int bytes = sqlite3_value_bytes16(argv[0]);
    const QString upper = QString::fromUtf16(text, bytes / 2).toUpper();
    sqlite3_result_text16(context, upper.utf16(), int(upper.size() * 2), SQLITE_TRANSIENT);
}

QString databaseFailure(const QString &what, const QString &cause)
{
    return QStringLiteral("No se pudo abrir la base de datos %1: %2").arg(what, cause);
}

}  // namespace

Connection::Connection(QSqlDatabase db, std::unique_ptr<SqlDialect> dialect, const Schema *schema,
                       QString description)
    : m_db(std::move(db)), m_dialect(std::move(dialect)), m_schema(schema), m_description(std::move(description))
{
}

Connection::~Connection()
{
    const QString name = m_db.connectionName();
    if (m_inTransaction)
        m_db.rollback();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

QString Connection::errorText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

std::unique_ptr<Connection> Connection::open(const DataLink &link, const Schema *schema)
{
    const QString provider = link.provider();
    const QString file = QDir::toNativeSeparators(link.filePath());
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        const QString path = link.resolvedDataSource();
        if (path.isEmpty())
            throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" no indica la base de datos (Data Source).")
                              .arg(file));
        try {
            return openSqlite(path, schema, false);
        } catch (const DbError &e) {
            throw DbError(e.message() + QStringLiteral(" (archivo de enlace de datos \"%1\")").arg(file));
        }
    }
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nextConnectionName());
        db.setHostName(link.value(QStringLiteral("Data Source")));
        if (link.contains(QStringLiteral("Port")))
            db.setPort(link.value(QStringLiteral("Port")).toInt());
        db.setDatabaseName(link.value(QStringLiteral("Initial Catalog")));
        db.setUserName(link.value(QStringLiteral("User ID")));
        if (link.contains(QStringLiteral("Password")))
            db.setPassword(link.value(QStringLiteral("Password")));
        const QString what = QStringLiteral("\"%1\" del servidor %2").arg(db.databaseName(), db.hostName());
        if (!db.open()) {
            const QString cause = errorText(db.lastError());
            const QString name = db.connectionName();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw DbError(databaseFailure(what, cause) + QStringLiteral(" (archivo de enlace de datos \"%1\")").arg(file));
        }
        return std::unique_ptr<Connection>(
            new Connection(db, SqlDialect::create(SqlDialect::Engine::PostgreSQL), schema, what));
    }
    if (provider.isEmpty())
        throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" no indica el proveedor (Provider).").arg(file));
    throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" indica el proveedor \"%2\", que este programa "
                                 "no admite (use SQLite o PostgreSQL).")
                      .arg(file, provider));
}

std::unique_ptr<Connection> Connection::openSqlite(const QString &path, const Schema *schema, bool create)
{
    const QString shown = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    const QFileInfo info(path);
    if (!create && !info.exists())
        throw DbError(databaseFailure(shown, QStringLiteral("el archivo no existe.")));
    if (info.exists() && !info.isFile())
        throw DbError(databaseFailure(shown, QStringLiteral("no es un archivo.")));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nextConnectionName());
    db.setDatabaseName(path);
    // Another process's momentary lock makes us wait, not fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
    if (!db.open()) {
        const QString cause = errorText(db.lastError());
        const QString name = db.connectionName();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw DbError(databaseFailure(shown, cause));
    }
    std::unique_ptr<Connection> connection(
        new Connection(db, SqlDialect::create(SqlDialect::Engine::SQLite), schema, shown));
    try {
        connection->configureSqlite();
    } catch (const DbError &e) {
        throw DbError(databaseFailure(shown, e.message()));
    }
    return connection;
}

void Connection::configureSqlite()
{
    // Reading the catalogue first tells a database from some other file.
    execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    // WAL lets readers and one writer work side by side; FULL makes a committed sale survive a
    // power cut.
    execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    execute(QStringLiteral("PRAGMA synchronous=FULL"));
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        sqlite3 *raw = *static_cast<sqlite3 *const *>(handle.data());
        if (raw)
            sqlite3_create_function_v2(raw, "vx_upper", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr,
                                       &sqliteUpper, nullptr, nullptr, nullptr);
    }
}

void Connection::createSchema()
{
    if (!m_schema)
        throw DbError(QStringLiteral("No hay un esquema de tablas para crear la base de datos."));
    Transaction transaction(*this);
    for (const TableDef &table : m_schema->tables()) {
        for (const QString &statement : m_dialect->createTableStatements(table))
            execute(statement);
    }
    if (m_dialect->engine() == SqlDialect::Engine::PostgreSQL)
        execute(QStringLiteral("CREATE TABLE vx_write_lock (id INTEGER)"));
    transaction.commit();
}

bool Connection::tableExists(const QString &table) const
{
    const QStringList tables = m_db.tables();
    for (const QString &t : tables) {
        if (t.compare(table, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QSqlQuery Connection::execute(const QString &sql, const QVariantList &params)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(QStringLiteral("Error de la base de datos: %1").arg(errorText(query.lastError())));
    for (const QVariant &p : params)
        query.addBindValue(p);
    if (!query.exec())
        throw DbError(QStringLiteral("Error de la base de datos: %1").arg(errorText(query.lastError())));
    if (!query.isSelect())
        noteWrite();
    return query;
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    QSqlQuery query = execute(sql, params);
    if (query.next())
        return query.value(0);
    return {};
}

void Connection::beginTransaction()
{
    if (m_inTransaction)
        throw DbError(QStringLiteral("Ya hay una transacción abierta en esta conexión."));
    for (const QString &statement : m_dialect->beginWriteTransaction())
        execute(statement);
    m_inTransaction = true;
}

void Connection::commit()
{
    if (!m_inTransaction)
        throw DbError(QStringLiteral("No hay una transacción abierta que confirmar."));
    execute(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void Connection::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    QSqlQuery query(m_db);
    query.exec(QStringLiteral("ROLLBACK"));
    noteWrite();
}

Transaction::Transaction(Connection &connection) : m_connection(connection)
{
    m_connection.beginTransaction();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_connection.rollback();
}

void Transaction::commit()
{
    m_connection.commit();
    m_done = true;
}

}  // namespace vx
