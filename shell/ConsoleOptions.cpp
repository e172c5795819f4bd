#include "shell/ConsoleOptions.h"

#include <cstdio>
#include <cstring>

#include <termios.h>
#include <unistd.h>

namespace {

const QStringList valueOptions{QStringLiteral("provider"), QStringLiteral("host"),     QStringLiteral("port"),
                               QStringLiteral("database"), QStringLiteral("user"),     QStringLiteral("password"),
                               QStringLiteral("file")};

}  // namespace

bool DatabaseOptions::take(const QStringList &arguments, int &i)
{
    const QString &arg = arguments[i];
    if (!arg.startsWith(QLatin1String("--")) || !valueOptions.contains(arg.mid(2)) || i + 1 >= arguments.size())
        return false;
    const QString value = arguments[++i];
    if (arg == QLatin1String("--provider"))
        m_provider = value.toLower();
    else
        m_values.insert(arg.mid(2), value);
    return true;
}

QString DatabaseOptions::connectionString(QString &error) const
{
    const QStringList serverOnly{QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("database"),
                                 QStringLiteral("user"), QStringLiteral("password")};
    if (m_provider == QLatin1String("postgresql")) {
        if (m_values.contains(QStringLiteral("file"))) {
            error = QStringLiteral("--file es sólo para --provider sqlite.");
            return {};
        }
        QString text = QStringLiteral("Provider=PostgreSQL;Data Source=%1;Port=%2;Initial Catalog=%3;User ID=%4;")
                           .arg(m_values.value(QStringLiteral("host"), QStringLiteral("localhost")),
                                m_values.value(QStringLiteral("port"), QStringLiteral("5432")),
                                m_values.value(QStringLiteral("database"), QStringLiteral("vendrix")),
                                m_values.value(QStringLiteral("user"), QStringLiteral("vendrix")));
        if (m_values.contains(QStringLiteral("password")))
            text += QStringLiteral("Password=%1;").arg(m_values.value(QStringLiteral("password")));
        return text;
    }
    if (m_provider == QLatin1String("sqlite") || m_provider.isEmpty()) {
        for (const QString &option : serverOnly) {
            if (m_values.contains(option)) {
                error = QStringLiteral("--%1 es sólo para --provider postgresql.").arg(option);
                return {};
            }
        }
        return QStringLiteral("Provider=SQLite;Data Source=%1;")
            .arg(m_values.value(QStringLiteral("file"), QStringLiteral("Vendrix.db")));
    }
    error = QStringLiteral("Proveedor desconocido \"%1\": use sqlite o postgresql.").arg(m_provider);
    return {};
}

std::optional<TargetArguments> readTargetArguments(const QStringList &arguments, int least, int most, QTextStream &err)
{
    TargetArguments read;
    DatabaseOptions target;
    for (int i = 0; i < arguments.size(); ++i) {
        if (target.take(arguments, i))
            continue;
        if (arguments[i].startsWith(QLatin1String("--")) || read.names.size() == most) {
            err << consoleUsage() << Qt::flush;
            return std::nullopt;
        }
        read.names << arguments[i];
    }
    if (read.names.size() < least) {
        err << consoleUsage() << Qt::flush;
        return std::nullopt;
    }
    if (target.given()) {
        QString error;
        read.newDatabase = target.connectionString(error);
        if (read.newDatabase.isEmpty()) {
            err << error << Qt::endl;
            return std::nullopt;
        }
    }
    return read;
}

QString consoleUsage()
{
    return QStringLiteral(
        "Uso:\n"
        "  vendrix\n"
        "      abre el programa.\n"
        "  vendrix init [--demo] [--admin-password CLAVE] [NUEVA]\n"
        "      crea la base de datos de la tienda y su archivo de enlace de datos \"Vendrix Demo.udl\"\n"
        "      con el administrador y el cliente CONSUMIDOR FINAL; --demo agrega una tienda de ejemplo.\n"
        "  vendrix copy-db ORIGEN.udl DESTINO.udl [NUEVA]\n"
        "      copia todas las tablas de una tienda a una base sin filas. Con NUEVA crea esa base y\n"
        "      escribe DESTINO.udl; sin NUEVA copia a la base que nombra DESTINO.udl.\n"
        "  vendrix upgrade [ENLACE.udl]\n"
        "      pone al día una tienda creada por una versión anterior del programa (cierre antes\n"
        "      todos los puestos y haga una copia de la base).\n"
        "  vendrix backup [CARPETA]\n"
        "      hace una copia de seguridad de la tienda mientras los puestos siguen vendiendo, en\n"
        "      CARPETA o en la carpeta \"Copias\" del usuario: \"Vendrix AAAA-MM-DD HHMMSS.db\" (SQLite)\n"
        "      o \".dump\" (PostgreSQL).\n"
        "  vendrix restore COPIA [DESTINO.udl] [NUEVA]\n"
        "      vuelve a poner una copia en una base de datos sin filas; nunca sobre una tienda con\n"
        "      datos. Si DESTINO.udl (por omisión el del puesto) no existe, crea la base NUEVA (por\n"
        "      omisión Vendrix.db junto a él) y lo escribe.\n"
        "  vendrix check [ENLACE.udl | COPIA.db]\n"
        "      verifica la integridad de la base y las reglas de la tienda (ventas con sus renglones\n"
        "      y su caja, stock igual a sus movimientos, cupones de ventas existentes); termina con\n"
        "      código 1 si encuentra una falla.\n"
        "  vendrix --help\n"
        "      muestra este texto.\n"
        "NUEVA, la base de datos a crear:\n"
        "  --provider sqlite [--file ARCHIVO.db]\n"
        "  --provider postgresql --host SERVIDOR [--port 5432] --database NOMBRE --user USUARIO [--password CLAVE]\n");
}

QString readSecretLine(const QString &prompt)
{
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios shown{};
    const bool hidden = terminal && tcgetattr(STDIN_FILENO, &shown) == 0;
    if (hidden) {
        termios quiet = shown;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    // The prompt comes once the typing is hidden, so nothing typed after it shows.
    std::fputs(prompt.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    char buffer[1024];
    const bool read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    if (hidden) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &shown);
        std::fputs("\n", stdout);  // the Enter the operator typed was not shown either
        std::fflush(stdout);
    }
    if (!read)
        return {};
    QString line = QString::fromLocal8Bit(buffer, qsizetype(std::strlen(buffer)));
    while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
        line.chop(1);
    return line;
}
