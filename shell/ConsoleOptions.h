#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// What the console commands share: the options that name a database to create, the usage text
// of every command, and reading a password typed at the terminal.
class DatabaseOptions {
public:
    // Takes arguments[i] (and the value after it) when it is one of --provider, --host, --port,
    // --database, --user, --password, --file; returns false, leaving `i` alone, otherwise.
    bool take(const QStringList &arguments, int &i);
    bool given() const { return !m_provider.isEmpty() || !m_values.isEmpty(); }
    // The data-link connection string they name; empty with the reason in `error` when they do
    // not name one.
    QString connectionString(QString &error) const;

private:
    QString m_provider;
    QMap<QString, QString> m_values;
};

// The usage of every console command, for --help and for a command given wrongly.
QString consoleUsage();

// What a command that writes into a database was given: its names (files or data-link files) and
// the connection string its database options name (empty when none were given).
struct TargetArguments {
    QStringList names;
    QString newDatabase;
};
// Reads from `least` to `most` names and the database options; when they are given wrongly,
// writes the usage or the options' fault to `err` and answers none (the command exits with 2).
std::optional<TargetArguments> readTargetArguments(const QStringList &arguments, int least, int most, QTextStream &err);

// Shows the prompt and reads one line from standard input; on a terminal the typing is not shown.
QString readSecretLine(const QString &prompt);
