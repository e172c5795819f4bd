#include "suppliers/AltaProv.h"

#include "data/DataModule.h"
#include "platform/db/Table.h"
#include "platform/ui/Dialogs.h"
#include "suppliers/SupplierPayment.h"

TFAltaProv *FAltaProv = nullptr;

namespace {

app::ClienteFormLook supplierLook()
{
    app::ClienteFormLook look;
    look.objectName = QStringLiteral("FAltaProv");
    look.caption = QStringLiteral("A B M de Proveedores");
    look.heading = QStringLiteral("A B M DE PROVEEDORES");
    look.table = QStringLiteral("PROVEEDORES");
    look.cursorName = QStringLiteral("ProveedAlta");
    look.nameCaption = QStringLiteral("Nombre / Razon Social");
    look.codeLength = 5;
    look.provinceLength = 30;
    look.taxDefault = QStringLiteral("RESP. INSCRIPTO");
    look.balanceTyped = false;
    look.cancelButton = false;
    look.codeRangeMessage = QStringLiteral("El código de proveedor debe ser un número entre 1 y %1.");
    look.missingCodeMessage = QStringLiteral("Falta codigo de proveedor...");
    look.unknownCodeMessage = QStringLiteral("No existe un proveedor con el Código %1.");
    look.deleteQuestion =
        QStringLiteral("ATENCION: Codigo de Proveedor existente.\r\n  Desea ELIMINAR los datos de este proveedor ?");
    look.clearOnDeclinedDelete = false;
    return look;
}

} // namespace

TFAltaProv::TFAltaProv(QWidget *parent) : app::ClienteForm(DM1->ADOConnection1, supplierLook(), parent) {}

TFAltaProv::~TFAltaProv()
{
    if (FAltaProv == this)
        FAltaProv = nullptr;
}

void TFAltaProv::BBGrabarClick()
{
    const std::optional<suppliers::Supplier> supplier =
        boxesForSave(QStringLiteral("Falta CODIGO o NOMBRE del proveedor..."));
    if (!supplier)
        return;
    // The question is asked before the transaction begins, so that no other workstation waits on it.
    suppliers::SupplierSave request{*supplier, codeProposed(supplier->code), false};
    if (!request.proposed) {
        try {
            if (suppliers::findSupplier(connection(), supplier->code)) {
                if (!vx::ui::dialogs().confirm(
                        this, QStringLiteral("ATENCION: Codigo de Proveedor existente.\r\n  Desea modificar los datos?"),
                        QStringLiteral("Confirmación")))
                    return;
                request.modify = true;
            }
        } catch (const std::exception &failure) {
            showFailure(failure);
            return;
        }
    }
    storeAndTell(
        supplier->code,
        [&]() -> SaveOutcome {
            try {
                return suppliers::saveSupplier(connection(), request);
            } catch (const suppliers::PaymentError &failure) {
                return failure.message();
            }
        },
        QStringLiteral("Otra estacion grabo un proveedor con el Codigo %1 mientras tanto; "
                       "este proveedor se grabo con el Codigo %2."));
}

std::optional<QString> TFAltaProv::deleteRefusal(int code)
{
    return suppliers::supplierUse(connection(), code);
}

std::optional<QString> TFAltaProv::removeStored(int code)
{
    try {
        suppliers::deleteSupplier(connection(), code);
    } catch (const suppliers::PaymentError &failure) {
        return failure.message();
    }
    return std::nullopt;
}

void openAltaProv(TFAltaProv &window)
{
    app::openClienteForm(window, window.proveedores());
}
