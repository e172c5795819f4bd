#include "suppliers/SupplierPickList.h"

#include "platform/db/Connection.h"
#include "platform/ui/PickList.h"

#include <QSqlQuery>

namespace suppliers {

vx::ui::PickList *newSupplierPickList(QWidget *parent, const char *objectName)
{
    auto *box = new vx::ui::PickList(parent);
    box->setObjectName(QLatin1String(objectName));
    box->setUpperCase(true);
    box->setMaxLength(50);
    box->setMinimumContentsLength(30);
    return box;
}

QStringList supplierNames(vx::Connection &connection)
{
    QStringList names;
    QSqlQuery query = connection.execute(
        QStringLiteral("SELECT DISTINCT CLIAPE FROM PROVEEDORES WHERE CLIAPE IS NOT NULL AND CLIAPE <> ''"));
    while (query.next())
        names << query.value(0).toString();
    return names;
}

} // namespace suppliers
