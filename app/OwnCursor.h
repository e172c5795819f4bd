#pragma once

#include "platform/db/DataSource.h"
#include "platform/db/Table.h"

#include <memory>

namespace app {

// A window's own cursor on a table of the shop's connection, with the data source its controls
// bind to, so that the window's views never move the data module's shared cursors.
struct OwnCursor {
    OwnCursor(vx::Connection *connection, const QString &tableName, const QString &objectName, QObject *owner)
        : table(std::make_unique<vx::Table>(connection, tableName)), source(new vx::DataSource(table.get(), owner))
    {
        table->setObjectName(objectName);
    }

    // Makes this cursor show the rows whose `detailField` equals `masterField` of the master's
    // current row.
    void followMaster(const OwnCursor &master, const QString &masterField, const QString &detailField)
    {
        table->setMasterLink(master.source, masterField, detailField);
    }

    std::unique_ptr<vx::Table> table;
    vx::DataSource *source;
};

} // namespace app
