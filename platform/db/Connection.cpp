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
#include <QUrl>

#include <QSet>

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

// The engine's text on one line: libpq's explanations come over several.
QString oneLine(const QString &text)
{
    return text.simplified();
}

// Why a database would not open: the Spanish cause when it is a known one, with the engine's own
// words after it for whoever looks deeper.
QString openCause(const QSqlError &error, const QString &address)
{
    const EngineCause cause = engineCause(error);
    const QString engineText = oneLine(Connection::errorText(error));
    if (cause.text.isEmpty())
        return engineText;
    QString text = cause.text;
    if (!address.isEmpty() && text.endsWith(QLatin1String("servidor de datos.")))
        text.insert(text.size() - 1, QStringLiteral(" (%1)").arg(address));
    return QStringLiteral("%1 (%2)").arg(text, engineText);
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
    if (m_inTransaction && !m_transactionLost)
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

std::unique_ptr<Connection> Connection::open(const DataLink &link, const Schema *schema, Expect expect)
{
    const QString provider = link.provider();
    const QString file = QDir::toNativeSeparators(link.filePath());
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        const QString path = link.resolvedDataSource();
        if (path.isEmpty())
            throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" no indica la base de datos (Data Source).")
                              .arg(file));
        try {
            return openSqlite(path, schema, false, expect);
        } catch (const DbError &e) {
            if (e.kind() == DbError::Kind::NotAShop)
                throw;
            throw DbError(e.message() + QStringLiteral(" (archivo de enlace de datos \"%1\")").arg(file), e.kind(),
                          e.cause());
        }
    }
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        const QString host = link.value(QStringLiteral("Data Source"));
        const QString port = link.contains(QStringLiteral("Port")) ? link.value(QStringLiteral("Port")) : QString();
        const QString address = QStringLiteral("%1:%2").arg(host, port.isEmpty() ? QStringLiteral("5432") : port);
        const QString what =
            QStringLiteral("\"%1\" del servidor %2").arg(link.value(QStringLiteral("Initial Catalog")), host);
        const auto make = [&link, host, port](const QString &name) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(host);
            if (!port.isEmpty())
                db.setPort(port.toInt());
            db.setDatabaseName(link.value(QStringLiteral("Initial Catalog")));
            db.setUserName(link.value(QStringLiteral("User ID")));
            if (link.contains(QStringLiteral("Password")))
                db.setPassword(link.value(QStringLiteral("Password")));
            db.setConnectOptions(QStringLiteral("connect_timeout=10"));
            return db;
        };
        try {
            return openDatabase(make, SqlDialect::Engine::PostgreSQL, schema, what, address, expect);
        } catch (const DbError &e) {
            if (e.kind() == DbError::Kind::NotAShop)
                throw;
            throw DbError(e.message() + QStringLiteral(" (archivo de enlace de datos \"%1\")").arg(file), e.kind(),
                          e.cause());
        }
    }
    if (provider.isEmpty())
        throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" no indica el proveedor (Provider).").arg(file));
    throw DbError(QStringLiteral("El archivo de enlace de datos \"%1\" indica el proveedor \"%2\", que este programa "
                                 "no admite (use SQLite o PostgreSQL).")
                      .arg(file, provider));
}

std::unique_ptr<Connection> Connection::openSqlite(const QString &path, const Schema *schema, bool create,
                                                   Expect expect)
{
    const QString shown = QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
    const QFileInfo info(path);
    if (!create && !info.exists())
        throw DbError(databaseFailure(shown, QStringLiteral("el archivo no existe.")));
    if (info.exists() && !info.isFile())
        throw DbError(databaseFailure(shown, QStringLiteral("no es un archivo.")));

    // On a medium nothing can be written to (a read-only disk, a CD) not even the WAL's index
    // beside the file can be made: the file is read as one that cannot change.
    const bool frozen = !create && !info.isWritable() && !QFileInfo(info.absolutePath()).isWritable();
    const auto make = [path, frozen](const QString &name) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        // Another process's momentary lock makes us wait, not fail.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(lockWaitMilliseconds);
        if (frozen) {
            db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"));
            options += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
        } else {
            db.setDatabaseName(path);
        }
        db.setConnectOptions(options);
        return db;
    };
    return openDatabase(make, SqlDialect::Engine::SQLite, schema, shown, QString(), expect);
}

std::unique_ptr<Connection> Connection::openDatabase(const MakeDatabase &make, SqlDialect::Engine engine,
                                                     const Schema *schema, const QString &description,
                                                     const QString &address, Expect expect)
{
    const QString name = nextConnectionName();
    std::unique_ptr<Connection> connection;
    {
        // This scope holds the only handle besides the connection's, so that a failed open can
        // remove the database without Qt finding it still in use.
        QSqlDatabase db = make(name);
        if (!db.open()) {
            const QSqlError error = db.lastError();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw DbError(databaseFailure(description, openCause(error, address)), engineCause(error).kind,
                          engineCause(error).text);
        }
        connection.reset(new Connection(db, SqlDialect::create(engine), schema, description));
    }
    connection->m_serverAddress = address;
    if (expect == Expect::Shop)
        connection->checkShop();
    try {
        connection->startSession();
    } catch (const DbError &e) {
        throw DbError(databaseFailure(description, e.message()), e.kind(), e.cause());
    }
    return connection;
}

std::unique_ptr<Connection> Connection::openAnother() const
{
    const QSqlDatabase source = m_db;
    return openDatabase([source](const QString &name) { return QSqlDatabase::cloneDatabase(source, name); },
                        m_dialect->engine(), m_schema, m_description, m_serverAddress, Expect::AnyDatabase);
}

void Connection::startSession()
{
    if (m_dialect->engine() == SqlDialect::Engine::SQLite) {
        configureSqlite();
        return;
    }
    execute(QStringLiteral("SET lock_timeout = %1").arg(lockWaitMilliseconds));
    m_readOnly = scalar(QStringLiteral("SHOW transaction_read_only")).toString() == QLatin1String("on");
}

void Connection::configureSqlite()
{
    // Reading the catalogue first tells a database from some other file.
    execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    sqlite3 *raw = nullptr;
    const QVariant handle = m_db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        raw = *static_cast<sqlite3 *const *>(handle.data());
    // A file or medium we may not write to opens for reading only: nothing may try to change it.
    m_readOnly = raw && sqlite3_db_readonly(raw, "main") == 1;
    // WAL lets readers and one writer work side by side; FULL makes a committed sale survive a
    // power cut.
    if (!m_readOnly)
        execute(QStringLiteral("PRAGMA journal_mode=WAL"));
    execute(QStringLiteral("PRAGMA synchronous=FULL"));
    // The queries over a month of sales look up each line's article: with the engine's small
    // default cache those look-ups read the article index from disk again and again. 64 MB holds
    // the indexes of a big shop's articles; the memory is taken only as pages are read.
    execute(QStringLiteral("PRAGMA cache_size=-65536"));
    if (raw)
        sqlite3_create_function_v2(raw, "vx_upper", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC, nullptr, &sqliteUpper,
                                   nullptr, nullptr, nullptr);
}

void Connection::checkShop()
{
    const bool file = m_dialect->engine() == SqlDialect::Engine::SQLite;
    const QString application = m_schema ? m_schema->application() : QString();
    const QString notOurs = file ? QStringLiteral("El archivo %1 no es una base de datos de %2.")
                                   : QStringLiteral("La base de datos %1 no es una base de datos de %2.");
    QSet<QString> present;
    try {
        const QString catalogue = file ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")
                                       : QStringLiteral("SELECT table_name FROM information_schema.tables "
                                                        "WHERE table_schema = current_schema()");
        QSqlQuery query = execute(catalogue);
        while (query.next())
            present.insert(query.value(0).toString().toUpper());
    } catch (const DbError &e) {
        if (e.kind() == DbError::Kind::NotADatabase)
            throw DbError(notOurs.arg(m_description, application), DbError::Kind::NotAShop, e.cause());
        throw DbError(databaseFailure(m_description, e.message()), e.kind(), e.cause());
    }
    if (!m_schema)
        return;
    const auto checkTables = [&] {
        for (const TableDef &table : m_schema->tables()) {
            if (!present.contains(table.name.toUpper()))
                throw DbError(notOurs.arg(m_description, application), DbError::Kind::NotAShop);
        }
    };
    // A shop from before versions were recorded holds the tables of the first version; a database
    // with neither is some other program's, whatever version this program is.
    const bool versioned = present.contains(Schema::versionTable());
    if (!versioned)
        checkTables();
    const int version = versioned ? storedVersion() : 1;
    const int known = m_schema->version();
    if (version > known)
        throw DbError(QStringLiteral("La base de datos %1 es de una versión más nueva de %2 (sus tablas son de la "
                                     "versión %3; este programa conoce hasta la %4). Ábrala con la versión de %2 "
                                     "que la creó o instale esa versión en este puesto.")
                          .arg(m_description, application)
                          .arg(version)
                          .arg(known),
                      DbError::Kind::NotAShop);
    if (version < known)
        throw DbError(QStringLiteral("La base de datos %1 es de una versión anterior de %2 (sus tablas son de la "
                                     "versión %3; este programa usa la %4). Para actualizarla, cierre %2 en todos "
                                     "los puestos, haga una copia de la base de datos y ejecute \"%5 upgrade\".")
                          .arg(m_description, application)
                          .arg(version)
                          .arg(known)
                          .arg(application.toLower()),
                      DbError::Kind::NotAShop);
    checkTables();
}

int Connection::storedVersion()
{
    if (!tableExists(Schema::versionTable()))
        return 0;
    return scalar(QStringLiteral("SELECT MAX(VERSION) FROM %1").arg(Schema::versionTable())).toInt();
}

void Connection::recordVersion()
{
    if (!m_schema || m_schema->version() <= 0)
        return;
    execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (VERSION INTEGER NOT NULL)").arg(Schema::versionTable()));
    execute(QStringLiteral("DELETE FROM %1").arg(Schema::versionTable()));
    execute(QStringLiteral("INSERT INTO %1 (VERSION) VALUES (%2)").arg(Schema::versionTable()).arg(m_schema->version()));
}

QString Connection::lostMessage() const
{
    return QStringLiteral("Se perdió la conexión con el servidor de datos (%1). Verifique la red.").arg(m_serverAddress);
}

bool Connection::reopen()
{
    m_prepared.clear();
    m_db.close();
    if (!m_db.open())
        return false;
    // The session is set up outside any transaction, with no second attempt of its own.
    const bool inTransaction = m_inTransaction;
    m_inTransaction = false;
    m_reopening = true;
    bool ready = true;
    try {
        startSession();
        for (const QString &table : std::as_const(m_privateCopies))
            createPrivateCopy(*m_schema->table(table));
    } catch (const DbError &) {
        ready = false;
    }
    m_reopening = false;
    m_inTransaction = inTransaction;
    if (!ready) {
        m_db.close();
        return false;
    }
    // Every dataset reads its rows again from the new connection.
    noteWrite();
    emit reconnected();
    return true;
}

void Connection::failed(const QSqlError &error, const QString &what, bool mayRetry)
{
    const EngineCause cause = engineCause(error);
    bool lost = cause.kind == DbError::Kind::ConnectionLost;
    if (!lost && m_dialect->engine() == SqlDialect::Engine::PostgreSQL && error.nativeErrorCode().isEmpty()) {
        // A server that went away says so in many ways; a statement that still runs tells surely.
        QSqlQuery probe(m_db);
        lost = !m_db.isOpen()
               || (!probe.exec(QStringLiteral("SELECT 1"))
                   && (probe.lastError().nativeErrorCode().isEmpty()
                       || engineCause(probe.lastError()).kind == DbError::Kind::ConnectionLost));
    }
    if (lost && m_dialect->engine() == SqlDialect::Engine::PostgreSQL && !m_reopening) {
        const bool inTransaction = m_inTransaction && !m_transactionLost;
        const bool back = reopen();
        if (inTransaction)
            m_transactionLost = true;
        if (back && mayRetry && !inTransaction)
            return;
        if (back) {
            const QString text =
                QStringLiteral("Se perdió la conexión con el servidor de datos (%1) y se restableció. La operación no "
                               "se grabó: puede repetirla ahora.")
                    .arg(m_serverAddress);
            throw DbError(text, DbError::Kind::NotRecorded, text);
        }
        const QString text = inTransaction ? lostMessage() + QStringLiteral(" La operación no se grabó.") : lostMessage();
        throw DbError(text, DbError::Kind::ConnectionLost, text);
    }
    const QString engineText = oneLine(errorText(error));
    const QString prefix = what.isEmpty() ? QStringLiteral("Error de la base de datos") : what;
    const QString detail = cause.text.isEmpty() ? engineText : QStringLiteral("%1 (%2)").arg(cause.text, engineText);
    throw DbError(QStringLiteral("%1: %2").arg(prefix, detail), cause.kind, cause.text);
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
    recordVersion();
    if (own)
        own->commit();
}

void Connection::usePrivateCopy(const QString &table)
{
    const TableDef *definition = m_schema ? m_schema->table(table) : nullptr;
    if (!definition)
        throw DbError(QStringLiteral("La tabla %1 no existe en el esquema de la base de datos.").arg(table));
    // A read-only server refuses even temporary tables; the shared one then stands, and refuses
    // writes like every other table.
    if (m_readOnly && m_dialect->engine() == SqlDialect::Engine::PostgreSQL)
        return;
    createPrivateCopy(*definition);
    if (!m_privateCopies.contains(definition->name))
        m_privateCopies << definition->name;
}

void Connection::createPrivateCopy(const TableDef &definition)
{
    for (const QString &statement :
         m_dialect->createTableStatements(definition, SqlDialect::Lifetime::ConnectionPrivate))
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

void Connection::checkUsable()
{
    if (m_transactionLost)
        throw DbError(QStringLiteral("Se perdió la conexión con el servidor de datos (%1) durante la operación; no se "
                                     "grabó.")
                          .arg(m_serverAddress),
                      DbError::Kind::NotRecorded);
    if (!m_db.isOpen() && m_dialect->engine() == SqlDialect::Engine::PostgreSQL && !reopen())
        throw DbError(lostMessage(), DbError::Kind::ConnectionLost, lostMessage());
}

QSqlQuery Connection::execute(const QString &sql, const QVariantList &params)
{
    for (int attempt = 0;; ++attempt) {
        checkUsable();
        QSqlQuery query(m_db);
        query.setForwardOnly(true);
        // Statements without values run directly: some engines cannot prepare BEGIN, LOCK or CREATE.
        bool ok = false;
        if (params.isEmpty()) {
            ok = query.exec(sql);
        } else if (query.prepare(sql)) {
            for (const QVariant &p : params)
                query.addBindValue(p);
            ok = query.exec();
        }
        if (ok) {
            if (!query.isSelect())
                noteWrite();
            return query;
        }
        failed(query.lastError(), QString(), attempt == 0);
    }
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
    for (int attempt = 0;; ++attempt) {
        checkUsable();
        auto it = m_prepared.find(sql);
        if (it == m_prepared.end()) {
            // A bounded set: the statements the layer repeats are few; anything else comes and goes.
            if (m_prepared.size() > 128)
                m_prepared.clear();
            QSqlQuery query(m_db);
            query.setForwardOnly(true);
            if (!query.prepare(sql)) {
                failed(query.lastError(), QString(), attempt == 0);
                continue;
            }
            it = m_prepared.insert(sql, query);
        }
        QSqlQuery &query = it.value();
        for (int i = 0; i < params.size(); ++i)
            query.bindValue(i, params[i]);
        if (query.exec()) {
            if (!query.isSelect())
                noteWrite();
            return query;
        }
        failed(query.lastError(), QString(), attempt == 0);
    }
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
    const QStringList statements = m_dialect->beginWriteTransaction();
    execute(statements.first());
    // From here a broken connection loses a transaction, not just a statement.
    m_inTransaction = true;
    try {
        for (qsizetype i = 1; i < statements.size(); ++i)
            execute(statements[i]);
    } catch (const DbError &) {
        rollback();
        throw;
    }
}

void Connection::commit()
{
    if (!m_inTransaction)
        throw DbError(QStringLiteral("No hay una transacción abierta que confirmar."));
    try {
        execute(QStringLiteral("COMMIT"));
    } catch (const DbError &e) {
        if (e.kind() != DbError::Kind::NotRecorded && e.kind() != DbError::Kind::ConnectionLost)
            throw;
        // The server may have recorded the work before the connection broke.
        const QString text = QStringLiteral("Se perdió la conexión con el servidor de datos (%1) mientras se "
                                            "confirmaba la operación: verifique si quedó grabada antes de repetirla.")
                                 .arg(m_serverAddress);
        throw DbError(text, DbError::Kind::ConnectionLost, text);
    }
    m_inTransaction = false;
}

void Connection::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    if (m_transactionLost) {
        // The server ended that transaction when the connection broke; the new one has none.
        m_transactionLost = false;
        noteWrite();
        return;
    }
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
