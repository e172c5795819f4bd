#include "bench/PostgresCluster.h"

#include "data/Schema.h"
#include "platform/db/DataLink.h"
#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace bench {

namespace {
constexpr int serverPort = 55471;
}

PostgresCluster::PostgresCluster(const QString &folder) : m_folder(folder)
{
    // The server runs as its own system user, which must be able to reach its folder.
    const QString parent = QFileInfo(folder).absolutePath();
    QFile::setPermissions(parent, QFile::permissions(parent) | QFile::ExeOther | QFile::ExeGroup);
    run({QStringLiteral("start"), m_folder, QString::number(serverPort)});
}

PostgresCluster::~PostgresCluster()
{
    try {
        run({QStringLiteral("stop"), m_folder});
    } catch (const vx::DbError &) {
        // The run is over either way; a server left behind dies with its folder.
    }
}

std::unique_ptr<vx::Connection> PostgresCluster::open(const QString &database)
{
    return vx::Connection::open(
        vx::DataLink::fromConnectionString(
            QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1;Port=%1;Initial Catalog=%2;User ID=vx;")
                .arg(serverPort)
                .arg(database)),
        &data::vendrixSchema());
}

std::unique_ptr<vx::Connection> PostgresCluster::create(const QString &database)
{
    open(QStringLiteral("postgres"))->execute(QStringLiteral("CREATE DATABASE %1").arg(database));
    return open(database);
}

void PostgresCluster::run(const QStringList &arguments)
{
    QProcess script;
    script.start(QStringLiteral(VENDRIX_SOURCE_DIR "/scripts/pg-test-cluster"), arguments);
    if (!script.waitForFinished(120000) || script.exitCode() != 0)
        throw vx::DbError(QStringLiteral("No se pudo manejar el servidor PostgreSQL de prueba: %1")
                              .arg(QString::fromLocal8Bit(script.readAllStandardError())));
}

} // namespace bench
