#include "backup/PgTools.h"

#include "platform/db/DbError.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QStandardPaths>

#include <algorithm>

namespace backup::pgtools {

QString find(const QString &program, int serverMajorVersion)
{
    const QString own = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(serverMajorVersion).arg(program);
    if (QFileInfo(own).isExecutable())
        return own;
    QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), numeric);
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString candidate = QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(*it, program);
        if (it->toInt() >= serverMajorVersion && QFileInfo(candidate).isExecutable())
            return candidate;
    }
    const QString onPath = QStandardPaths::findExecutable(program);
    if (!onPath.isEmpty())
        return onPath;
    throw vx::DbError(QStringLiteral("No se encontró el programa %1 de PostgreSQL %2. Instale el paquete "
                                     "postgresql-client de esa versión (o más nueva) en este puesto.")
                          .arg(program)
                          .arg(serverMajorVersion));
}

Server Server::of(const QSqlDatabase &connection)
{
    return {connection.hostName(), connection.port(), connection.userName(), connection.password(), connection.databaseName()};
}

Outcome run(const QString &program, const QStringList &arguments, const Server &server,
            const std::function<void(const QString &)> &onLine)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!server.password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), server.password);
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("10"));
    // The tools' messages in English, so that the causes below are recognised.
    environment.insert(QStringLiteral("LC_MESSAGES"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    QStringList all = arguments;
    all << QStringLiteral("--host=%1").arg(server.host) << QStringLiteral("--username=%1").arg(server.user)
        << QStringLiteral("--no-password");
    if (server.port > 0)
        all << QStringLiteral("--port=%1").arg(server.port);
    process.start(program, all);
    Outcome outcome;
    if (!process.waitForStarted(30000)) {
        outcome.errors << process.errorString();
        return outcome;
    }
    QByteArray pending;
    const auto takeLines = [&](bool finished) {
        pending += process.readAllStandardError();
        qsizetype end = 0;
        while ((end = pending.indexOf('\n')) >= 0 || (finished && !pending.isEmpty())) {
            const QString line = QString::fromLocal8Bit(end >= 0 ? pending.left(end) : pending).trimmed();
            pending = end >= 0 ? pending.mid(end + 1) : QByteArray();
            if (line.isEmpty())
                continue;
            outcome.errors << line;
            if (onLine)
                onLine(line);
        }
    };
    while (!process.waitForFinished(200)) {
        if (process.state() == QProcess::NotRunning)
            break;
        takeLines(false);
        outcome.output += QString::fromLocal8Bit(process.readAllStandardOutput());
    }
    takeLines(true);
    outcome.output += QString::fromLocal8Bit(process.readAllStandardOutput());
    outcome.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return outcome;
}

QString failureText(const Outcome &outcome)
{
    const QString all = outcome.errors.join(QLatin1Char('\n'));
    if (all.contains(QLatin1String("No space left on device")))
        return QStringLiteral("El disco está lleno.");
    if (all.contains(QLatin1String("Read-only file system")))
        return QStringLiteral("La carpeta está en un disco de sólo lectura.");
    if (all.contains(QLatin1String("Permission denied")))
        return QStringLiteral("No hay permiso para escribir en la carpeta.");
    if (all.contains(QLatin1String("server version mismatch")))
        return QStringLiteral("El programa de copia de PostgreSQL es más viejo que el servidor; instale el paquete "
                              "postgresql-client de la versión del servidor. (%1)")
            .arg(outcome.errors.last());
    // Progress lines come before the failure: the last line that is not one says why.
    for (auto it = outcome.errors.crbegin(); it != outcome.errors.crend(); ++it) {
        if (it->contains(QLatin1String("error"), Qt::CaseInsensitive) || it->contains(QLatin1String("fatal")))
            return *it;
    }
    return outcome.errors.isEmpty() ? QStringLiteral("el programa terminó con el código %1.").arg(outcome.exitCode)
                                    : outcome.errors.last();
}

}  // namespace backup::pgtools
