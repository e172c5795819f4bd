#include "customers/ConsVenCli.h"

#include "data/DataModule.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlConditionBuilder.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PickList.h"
#include "sales/SalesQueries.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSqlQuery>

TFConsVenCli *FConsVenCli = nullptr;

TFConsVenCli::TFConsVenCli(QWidget *parent)
    : TFSaleLinesQuery(sales::saleLinesByCustomerStatement(), QStringLiteral("Total de Unida."), parent)
{
    setObjectName(QStringLiteral("FConsVenCli"));
    setWindowTitle(QStringLiteral("Consulta de Ventas"));
    RBxCod->setText(QStringLiteral("Por Código"));
    RBxDes->setText(QStringLiteral("Por Descripción"));
    RBxCli = new QRadioButton(QStringLiteral("Por Cliente"), this);
    RBxCli->setObjectName(QStringLiteral("RBxCli"));
    RBxOpe = new QRadioButton(QStringLiteral("Por Operador"), this);
    RBxOpe->setObjectName(QStringLiteral("RBxOpe"));
    CBCliente = new vx::ui::PickList(this);
    CBCliente->setObjectName(QStringLiteral("CBCliente"));
    CBCliente->setUpperCase(true);
    CBCliente->setMaxLength(50);
    CBOperador = new vx::ui::PickList(this);
    CBOperador->setObjectName(QStringLiteral("CBOperador"));
    CBOperador->setUpperCase(true);
    CBOperador->setMaxLength(30);
    ownChoices()->addWidget(RBxCli);
    ownChoices()->addWidget(new QLabel(QStringLiteral("Cliente"), this));
    ownChoices()->addWidget(CBCliente, 1);
    ownChoices()->addWidget(RBxOpe);
    ownChoices()->addWidget(new QLabel(QStringLiteral("Operador"), this));
    ownChoices()->addWidget(CBOperador, 1);
}

TFConsVenCli::~TFConsVenCli()
{
    if (FConsVenCli == this)
        FConsVenCli = nullptr;
}

bool TFConsVenCli::ownKindChosen() const
{
    return RBxCli->isChecked() || RBxOpe->isChecked();
}

void TFConsVenCli::prepareOwnLists()
{
    // Customers may be as many as articles: their list asks the database as the operator types,
    // and " TODOS" (or nothing typed) stands for all of them. Operators are few.
    CBCliente->askDatabase(DM1->ADOConnection1, {QStringLiteral("CLIENTE"), QStringLiteral("CLIAPE")});
    CBCliente->setEditText(everyone());
    QStringList operators{everyone()};
    QSqlQuery names = DM1->ADOConnection1->execute(
        QStringLiteral("SELECT DISTINCT OPEAPE FROM OPERADOR WHERE OPEAPE IS NOT NULL ORDER BY OPEAPE"));
    while (names.next())
        operators << names.value(0).toString();
    CBOperador->setItems(operators);
    CBOperador->setEditText(everyone());
}

std::optional<int> TFConsVenCli::codeOf(const char *table, const char *codeColumn, const char *nameColumn,
                                        const QString &name)
{
    const QVariant found = DM1->ADOConnection1->scalar(
        QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %3 = ?")
            .arg(QLatin1String(codeColumn), QLatin1String(table), QLatin1String(nameColumn)),
        {name});
    if (found.isNull())
        return std::nullopt;
    return found.toInt();
}

std::optional<vx::SqlCondition> TFConsVenCli::ownCondition()
{
    const bool customer = RBxCli->isChecked();
    const QString name = (customer ? CBCliente : CBOperador)->currentText();
    if (name.isEmpty() || name == everyone())
        return vx::SqlCondition{};
    const std::optional<int> found = customer ? codeOf("CLIENTE", "CLICOD", "CLIAPE", name)
                                              : codeOf("OPERADOR", "OPECOD", "OPEAPE", name);
    if (!found) {
        vx::ui::dialogs().showMessage(customer ? QStringLiteral("No hay un cliente llamado \"%1\".").arg(name)
                                               : QStringLiteral("No hay un operador llamado \"%1\".").arg(name));
        return std::nullopt;
    }
    return vx::SqlConditionBuilder(DM1->ADOConnection1->dialect())
        .equal(customer ? QStringLiteral("ITECLI") : QStringLiteral("ITEOPE"),
               customer ? vx::FieldType::Float : vx::FieldType::Integer, *found)
        .build();
}
