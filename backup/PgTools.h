#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QSqlDatabase;

// The PostgreSQL client programs that copy a server database to a file and back (package
// postgresql-client), run with the shop's own connection.
namespace backup::pgtools {

// The program of the server's major version when it is installed, else the newest one installed,
// else the one on the PATH. Throws vx::DbError saying which package to install when there is none.
QString find(const QString &program, int serverMajorVersion);

// Where the tools connect to, taken from a connection on its own thread so that they may run on
// any thread.
struct Server {
    QString host;
    int port = 0;
    QString user;
    QString password;
    QString database;

    static Server of(const QSqlDatabase &connection);
};

struct Outcome {
    int exitCode = -1;
    QString output;      // standard output
    QStringList errors;  // standard error, line by line
};

// Runs the program with the connection's server, port, user and password (never on the command
// line) added to `arguments`; `onLine` hears each line it writes to standard error as it comes.
Outcome run(const QString &program, const QStringList &arguments, const Server &server,
            const std::function<void(const QString &)> &onLine = {});

// The operator's reason for a failed run: the full disk or read-only folder in Spanish, else the
// program's last words.
QString failureText(const Outcome &outcome);

}  // namespace backup::pgtools
