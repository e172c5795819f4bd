// The main window's commands. Each one prepares what its window needs, shows it and tidies up
// after it. The windows of the catalogue, stock, sales, cash and customer subsystems join here as
// they are built; until then their commands do nothing.
#include "shell/Ficha1.h"

#include "cash/AjCaja.h"
#include "cash/Bcos.h"
#include "cash/BcosPpio.h"
#include "cash/Caja.h"
#include "cash/CajaD.h"
#include "cash/CierreCaja.h"
#include "cash/Cupones.h"
#include "cash/RetCaja.h"
#include "cash/Tarjetas.h"
#include "catalogue/ABMArt.h"
#include "catalogue/ABMColores.h"
#include "catalogue/ABMEmp.h"
#include "catalogue/ABMTalles.h"
#include "catalogue/ConsArt.h"
#include "catalogue/Precios.h"
#include "customers/AltaCli.h"
#include "customers/ConsCli.h"
#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/ui/Dialogs.h"
#include "sales/Anula.h"
#include "sales/FilCol.h"
#include "sales/ImpComp.h"
#include "sales/Ventas.h"
#include "app/Aguarde.h"
#include "shell/Opera.h"
#include "stock/Egre.h"
#include "stock/Ing.h"
#include "stock/Remi.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QAction>

// Article window TFABMArt (article catalogue).
void TFF1::Articulo1Click()
{
    if (!FABMArt)
        return;
    try {
        aguarde::show();
        if (!DM1->Stock->active())
            DM1->Stock->open();
        aguarde::close();
        vx::ui::dialogs().showModal(FABMArt);
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
    }
    if (DM1->Stock->active())
        DM1->Stock->close();
    FABMArt->close();
}
// Article search TFBuscando (article catalogue).
void TFF1::BMC1Click()
{
    if (!FBuscando)
        return;
    try {
        if (!DM1->Stock->active())
            DM1->Stock->open();
        vx::ui::dialogs().showModal(FBuscando);
        DM1->Stock->setFiltered(false);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    if (DM1->Stock->active())
        DM1->Stock->close();
    FBuscando->close();
}
// Article images TFImagen (article catalogue).
void TFF1::Imagenes1Click() {}
// Brand, colour and size catalogues (article catalogue), each window made afresh.
void TFF1::Marcas1Click()
{
    openCatalogue(new TFEmpresas(this));
}
void TFF1::Colores1Click()
{
    openCatalogue(new TFColores(this));
}
void TFF1::alles1Click()
{
    openCatalogue(new TFTalles(this));
}
// Stock list TFMArt, not modal (article catalogue).
void TFF1::ListadodeStock1Click() {}
// Not offered: the price-update window would be a layout without behaviour, so the item stays
// hidden and its command does nothing.
void TFF1::ActualizaciondePrecios1Click() {}
// Price verifier TFPrecios (article catalogue).
void TFF1::VerificarPrecios1Click()
{
    openPriceVerifier(this);
}
// Goods receipt TFIng (stock movements).
void TFF1::INGRESOS1Click()
{
    // Made on first use, once the data module it works on is there.
    if (!FIng && DM1)
        new TFIng(this);
    if (FIng)
        FIng->prepareAndShow();
}
// Receipt query TFConsIng (stock movements).
void TFF1::Consultas1Click() {}
// Delivery notes TFRemi for receipts (stock movements).
void TFF1::Remitos2Click()
{
    openRemi(this, TFRemi::Mode::Ingresos);
}
// Goods issue TFEgre (stock movements).
void TFF1::Egresos2Click()
{
    // Made on first use, once the data module it works on is there.
    if (!FEgre && DM1)
        new TFEgre(this);
    if (FEgre)
        FEgre->prepareAndShow();
}
// Issue query TFConsEgr (stock movements).
void TFF1::Consultas2Click() {}
// Delivery notes TFRemi for issues (stock movements).
void TFF1::Remitos1Click()
{
    openRemi(this, TFRemi::Mode::Egresos);
}
// Sale entry TFVentas (sales).
void TFF1::VENTAS1Click()
{
    if (FVentas)
        FVentas->prepareAndShow();
}
// Sales by receipt TFConsVtas (customers and sales queries).
void TFF1::ConsultadeVentas1Click() {}
// Sales history of an article TFConsVentArt (customers and sales queries).
void TFF1::PorDetalles1Click() {}
// Sales by customer TFConsVenCli (customers and sales queries).
void TFF1::PorCliente1Click() {}
// Receipt reprint TFImpComp (sales).
void TFF1::ImprimirComprobante1Click()
{
    if (FImpComp)
        openImpComp(*FImpComp);
}
// Sale cancellation TFAnula (sales).
void TFF1::Anulacion1Click()
{
    if (FAnula)
        openAnula(*FAnula);
}
// Cash of the day TFCajaD (cash).
void TFF1::CajadelDia1Click()
{
    openCajaD(this);
}
// Cash closing TFCierreCaja after its question (cash). openCierreCaja takes what to do after
// each closing recorded.
void TFF1::CierredeCaja1Click()
{
    openCierreCaja(this);
}
// Cash adjustments TFAjCaja (cash).
void TFF1::AjustesdeCaja1Click()
{
    openAjCaja(this);
}
// Closing history TFRetCaja (cash).
void TFF1::ConsultadeCaja1Click()
{
    openRetCaja(this);
}
// Cash summary by dates TFCaja (cash).
void TFF1::CAJA1Click()
{
    openCaja(this);
}
// Card brands TFTarjetas (cash).
void TFF1::arjetasdeCrdito1Click()
{
    openTarjetas(this);
}
// Card coupons TFCupones (cash).
void TFF1::CuponesenCartera1Click()
{
    openCupones(this);
}
// Banks TFBcos (cash).
void TFF1::Listadodebancos1Click()
{
    openBcos(this);
}
// Own accounts TFBcosPpio (cash).
void TFF1::CuantasPropias1Click()
{
    openBcosPpio(this);
}
// Expenses and repair jobs are not part of the system: their hidden items do nothing.
void TFF1::RegistrarGasto1Click() {}
void TFF1::ConsultarGastos1Click() {}
void TFF1::ABMdeGastos1Click() {}
void TFF1::RecepciondeEquipos1Click() {}
void TFF1::ConsultadeEquipos1Click() {}
// Customer maintenance TFAltaCli (customers).
void TFF1::ABMdeClientes1Click()
{
    if (!FAltaCli)
        FAltaCli = new TFAltaCli(this);
    openAltaCli(*FAltaCli);
}
// Customer query TFConsCli (customers), created on first use.
void TFF1::ConsultadeClientes1Click()
{
    if (!FConsCli)
        FConsCli = new TFConsCli(this);
    openConsCli(*FConsCli);
}
// Barcode labels TFBarCode, not modal (article catalogue).
void TFF1::CdBarras1Click() {}
// Starts the separate label program (article catalogue).
void TFF1::CodBarrasA41Click() {}
// Shelf labels (article catalogue).
void TFF1::Etiquetas1Click() {}
// Print positions TFFilCol (sales).
void TFF1::FilasColumnas1Click()
{
    if (!FFilCol)
        FFilCol = new TFFilCol(this);
    openFilCol(*FFilCol);
}

void TFF1::Operadores1Click()
{
    openOperators(this);
}

// Movement history TFMovim (stock movements) opens after the menu changes of the level.
void TFF1::CreaFAguarde1Click()
{
    applyMovementMenuRules(uGlobales::session().accessLevel);
}

void TFF1::GuiaparaelUsuario1Click()
{
    openUserGuide(false);
}

void TFF1::SALIR1Click()
{
    if (vx::ui::dialogs().confirm(this, QStringLiteral("Desea salir del sistema..?"), QString()))
        terminateApplication();
}

void TFF1::openUserGuide(bool withWaitWindow)
{
    const QString guide = vx::paths::findCaseInsensitive(vx::paths::userFolder(), QStringLiteral("Vendrix Leame.pdf"));
    if (withWaitWindow)
        aguarde::show();
    const bool opened = vx::ui::dialogs().openDocument(guide, QString());
    if (withWaitWindow)
        aguarde::close();
    if (!opened)
        vx::ui::dialogs().showMessage(QStringLiteral("No se encuentra el archivo.."));
}
