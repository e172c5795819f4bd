#include "customers/AltaCli.h"

#include "data/DataModule.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QComboBox>

TFAltaCli *FAltaCli = nullptr;

namespace {

using customers::SaveRequest;

app::ClienteFormLook customerLook()
{
    app::ClienteFormLook look;
    look.objectName = QStringLiteral("FAltaCli");
    look.caption = QStringLiteral("Alta de Clientes");
    look.heading = QStringLiteral("ALTA DE CLIENTES");
    look.table = QStringLiteral("CLIENTE");
    look.cursorName = QStringLiteral("Cliente");
    look.nameCaption = QStringLiteral("Apellido, Nombre");
    look.codeLength = 4;
    look.provinceLength = 20;
    look.taxDefault = QStringLiteral("MONOTRIBUTISTA");
    look.balanceTyped = true;
    look.cancelButton = true;
    look.codeRangeMessage = QStringLiteral("El codigo de cliente debe ser un numero entre 1 y %1.");
    look.missingCodeMessage = QStringLiteral("Falta codigo de cliente...");
    look.unknownCodeMessage = QStringLiteral("No existe un cliente con el Codigo %1.");
    look.deleteQuestion =
        QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea ELIMINAR los datos de este cliente ?");
    look.clearOnDeclinedDelete = true;
    return look;
}

} // namespace

TFAltaCli::TFAltaCli(QWidget *parent) : app::ClienteForm(DM1->ADOConnection1, customerLook(), parent)
{
    CBIVA->setCurrentText(QStringLiteral("CONSUMIDOR FINAL"));
}

TFAltaCli::~TFAltaCli()
{
    if (FAltaCli == this)
        FAltaCli = nullptr;
}

std::optional<customers::SaveRequest> TFAltaCli::askForSave(const customers::Customer &customer)
{
    SaveRequest request;
    request.customer = customer;
    request.origin = codeProposed(customer.code) ? SaveRequest::Origin::Proposed
                     : origin() == Origin::Loaded ? SaveRequest::Origin::Loaded
                                                  : SaveRequest::Origin::Typed;
    const std::optional<customers::Customer> stored = customers::findCustomer(connection(), customer.code);
    if (stored && request.origin != SaveRequest::Origin::Proposed) {
        if (!vx::ui::dialogs().confirm(
                this, QStringLiteral("ATENCION: Codigo de Cliente existente.\r\n  Desea modificar los datos?"),
                QStringLiteral("Confirmación")))
            return std::nullopt;
        request.modify = true;
        if (customer.balance != stored->balance &&
            vx::ui::dialogs().confirm(this, QStringLiteral("Modifica el saldo?"), QStringLiteral("Confirmación"))) {
            const std::optional<QString> noted = customers::withBalanceNote(customer.observations, EdFec->text());
            if (!noted) {
                vx::ui::dialogs().showMessage(
                    QStringLiteral("Las observaciones no dejan lugar para la nota del cambio de saldo (50 caracteres). "
                                   "Acortelas y grabe nuevamente."));
                EdObs->setFocus();
                return std::nullopt;
            }
            request.changeBalance = true;
            request.customer.observations = *noted;
        }
    }
    if (const std::optional<int> namesake =
            customers::namesakeCode(connection(), customer.name, request.modify ? customer.code : -1)) {
        if (!vx::ui::dialogs().confirm(
                this,
                QStringLiteral("Ya existe un cliente con ese nombre (Codigo %1). Graba igualmente?").arg(*namesake),
                QStringLiteral("Confirmación")))
            return std::nullopt;
    }
    return request;
}

void TFAltaCli::BBGrabarClick()
{
    const std::optional<customers::Customer> customer =
        boxesForSave(QStringLiteral("Falta CODIGO o APELLIDO del cliente..."));
    if (!customer)
        return;
    // Every question is asked before the transaction begins, so that no other workstation waits
    // on an answer.
    std::optional<SaveRequest> request;
    try {
        request = askForSave(*customer);
    } catch (const std::exception &failure) {
        showFailure(failure);
        return;
    }
    if (!request)
        return;
    storeAndTell(
        customer->code,
        [&]() -> SaveOutcome {
            try {
                return customers::saveCustomer(connection(), *request);
            } catch (const customers::CustomerError &failure) {
                return failure.message();
            }
        },
        QStringLiteral("Otra estacion grabo un cliente con el Codigo %1 mientras tanto; este cliente se grabo "
                       "con el Codigo %2."));
}

std::optional<QString> TFAltaCli::deleteRefusal(int code)
{
    return customers::customerUse(connection(), code);
}

std::optional<QString> TFAltaCli::removeStored(int code)
{
    try {
        customers::deleteCustomer(connection(), code);
    } catch (const customers::CustomerError &failure) {
        return failure.message();
    }
    return std::nullopt;
}

void TFAltaCli::releaseShared()
{
    if (DM1->Clientes->active())
        DM1->Clientes->close();
}

void openAltaCli(TFAltaCli &window)
{
    app::openClienteForm(window, window.cliente());
}
