#pragma once

#include "platform/db/Connection.h"

#include <QString>

#include <memory>

namespace bench {

// A throwaway PostgreSQL cluster in the run's folder, stopped however the suite ends. Throws
// vx::DbError when no server can be started here (no PostgreSQL installed, no permission).
class PostgresCluster {
public:
    explicit PostgresCluster(const QString &folder);
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster &) = delete;
    PostgresCluster &operator=(const PostgresCluster &) = delete;

    // A connection to a database of the cluster, with the shop's schema definitions.
    static std::unique_ptr<vx::Connection> open(const QString &database);
    // Creates an empty database and connects to it.
    static std::unique_ptr<vx::Connection> create(const QString &database);

private:
    static void run(const QStringList &arguments);

    QString m_folder;
};

} // namespace bench
