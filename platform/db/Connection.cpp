#include "platform/db/Connection.h"

#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

#include <optional>

#include <sqlite3.h>

namespace vx {

namespace {

// How long a statement waits for another workstation's write lock before it gives up, on every
// engine: long enough for any recording to finish, short enough for the operator to be told.
constexpr int lockWaitMilliseconds = 15000;

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
    m_prepared.clear();
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
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        const QString what = QStringLiteral("\"%1\" del servidor %2").arg(db.databaseName(), db.hostName());
        try {
            return openDatabase(db, SqlDialect::Engine::PostgreSQL, schema, what);
        } catch (const DbError &e) {
            throw DbError(e.message() + QStringLiteral(" (archivo de enlace de datos \"%1\")").arg(file));
        }
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
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMilliseconds));
    return openDatabase(db, SqlDialect::Engine::SQLite, schema, shown);
}

std::unique_ptr<Connection> Connection::openDatabase(QSqlDatabase db, SqlDialect::Engine engine, const Schema *schema,
                                                     const QString &description)
{
    if (!db.open()) {
        const QString cause = errorText(db.lastError());
        const QString name = db.connectionName();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw DbError(databaseFailure(description, cause));
    }
    std::unique_ptr<Connection> connection(new Connection(db, SqlDialect::create(engine), schema, description));
    try {
        if (engine == SqlDialect::Engine::SQLite)
            connection->configureSqlite();
        else
            connection->execute(QStringLiteral("SET lock_timeout = %1").arg(lockWaitMilliseconds));
    } catch (const DbError &e) {
        throw DbError(databaseFailure(description, e.message()));
    }
    return connection;
}

std::unique_ptr<Connection> Connection::openAnother() const
{
    return openDatabase(QSqlDatabase::cloneDatabase(m_db, nextConnectionName()), m_dialect->engine(), m_schema,
                        m_description);
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
    // Inside the caller's transaction when there is one, so that a shop is created whole or not at all.
    std::optional<Transaction> own;
    if (!m_inTransaction)
        own.emplace(*this);
    for (const TableDef &table : m_schema->tables()) {
        for (const QString &statement : m_dialect->createTableStatements(table))
            execute(statement);
    }
    if (own)
        own->commit();
}

void Connection::usePrivateCopy(const QString &table)
{
    const TableDef *definition = m_schema ? m_schema->table(table) : nullptr;
    if (!definition)
        throw DbError(QStringLiteral("La tabla %1 no existe en el esquema de la base de datos.").arg(table));
    for (const QString &statement :
         m_dialect->createTableStatements(*definition, SqlDialect::Lifetime::ConnectionPrivate))
        execute(statement);
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
    // Statements without values run directly: some engines cannot prepare BEGIN, LOCK or CREATE.
    if (params.isEmpty()) {
        if (!query.exec(sql))
            throw DbError(QStringLiteral("Error de la base de datos: %1").arg(errorText(query.lastError())));
        if (!query.isSelect())
            noteWrite();
        return query;
    }
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
    if (params.isEmpty()) {
        QSqlQuery query = execute(sql, params);
        return query.next() ? query.value(0) : QVariant();
    }
    QSqlQuery &query = executeCached(sql, params);
    const QVariant value = query.next() ? query.value(0) : QVariant();
    query.finish();
    return value;
}

QSqlQuery &Connection::executeCached(const QString &sql, const QVariantList &params)
{
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        // A bounded set: the statements the layer repeats are few; anything else comes and goes.
        if (m_prepared.size() > 128)
            m_prepared.clear();
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        if (!query.prepare(sql))
            throw DbError(QStringLiteral("Error de la base de datos: %1").arg(errorText(query.lastError())));
        it = m_prepared.insert(sql, query);
    }
    QSqlQuery &query = it.value();
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params[i]);
    if (!query.exec())
        throw DbError(QStringLiteral("Error de la base de datos: %1").arg(errorText(query.lastError())));
    if (!query.isSelect())
        noteWrite();
    return query;
}

namespace {

// SQLite lets a statement stay open while others run on the same connection.
class SqliteStream final : public ResultStream {
public:
    explicit SqliteStream(QSqlQuery query) : m_query(std::move(query)) {}
    bool next(QVariantList &values) override
    {
        if (!m_query.next())
            return false;
        const int columns = m_query.record().count();
        values.resize(columns);
        for (int c = 0; c < columns; ++c)
            values[c] = m_query.value(c);
        return true;
    }

private:
    QSqlQuery m_query;
};

// PostgreSQL delivers a result whole or one row at a time with nothing else running; a cursor
// held on the server lets the rows come in batches between other statements.
class ServerCursorStream final : public ResultStream {
public:
    ServerCursorStream(Connection &connection, const QString &name) : m_connection(connection), m_name(name) {}
    ~ServerCursorStream() override
    {
        QSqlQuery close(m_connection.database());
        close.exec(QStringLiteral("CLOSE ") + m_name);
    }

    bool next(QVariantList &values) override
    {
        if (m_buffer.isEmpty() && !m_done)
            fetch();
        if (m_buffer.isEmpty())
            return false;
        values = m_buffer.takeFirst();
        return true;
    }

private:
    void fetch()
    {
        QSqlQuery batch = m_connection.execute(QStringLiteral("FETCH FORWARD %1 FROM %2").arg(batchRows).arg(m_name));
        const int columns = batch.record().count();
        while (batch.next()) {
            QVariantList row(columns);
            for (int c = 0; c < columns; ++c)
                row[c] = batch.value(c);
            m_buffer << row;
        }
        m_done = m_buffer.size() < batchRows;
    }

    static constexpr int batchRows = 512;
    Connection &m_connection;
    QString m_name;
    QList<QVariantList> m_buffer;
    bool m_done = false;
};

}  // namespace

QString Connection::inlineValues(const QString &sql, const QVariantList &params) const
{
    // The statement of a server cursor cannot carry bound values: each "?" outside quotes
    // becomes the value written as an SQL literal by the driver, which escapes it.
    QString out;
    int next = 0;
    bool quoted = false;
    for (const QChar c : sql) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (c == QLatin1Char('?') && !quoted && next < params.size()) {
            const QVariant &value = params[next++];
            QSqlField field(QString(), value.metaType());
            field.setValue(value);
            out += m_db.driver()->formatValue(field);
            continue;
        }
        out += c;
    }
    return out;
}

std::unique_ptr<ResultStream> Connection::openStream(const QString &sql, const QVariantList &params, qint64 fromRow)
{
    if (m_dialect->engine() == SqlDialect::Engine::SQLite) {
        const QString statement = fromRow > 0 ? sql + m_dialect->offsetClause(fromRow) : sql;
        return std::make_unique<SqliteStream>(execute(statement, params));
    }
    static QAtomicInt cursors;
    const QString name = QStringLiteral("vx_cursor_%1").arg(cursors.fetchAndAddRelaxed(1));
    execute(QStringLiteral("DECLARE %1 NO SCROLL CURSOR WITH HOLD FOR %2").arg(name, inlineValues(sql, params)));
    auto stream = std::make_unique<ServerCursorStream>(*this, name);
    if (fromRow > 0)
        execute(QStringLiteral("MOVE FORWARD %1 FROM %2").arg(fromRow).arg(name));
    return stream;
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
