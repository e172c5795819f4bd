// The main window's commands. Each one prepares what its window needs, shows it and tidies up
// after it. The windows of the catalogue, stock, sales, cash and customer subsystems join here as
// they are built; until then their commands do nothing.
#include "shell/Ficha1.h"

#include "backup/CopyCommands.h"
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
#include "catalogue/CBarras.h"
#include "catalogue/ConsArt.h"
#include "catalogue/Imagenes.h"
#include "catalogue/MaestStk.h"
#include "catalogue/Precios.h"
#include "customers/AltaCli.h"
#include "customers/ConsCli.h"
#include "customers/ConsVenCli.h"
#include "data/DataModule.h"
#include "platform/core/Paths.h"
#include "platform/ui/Dialogs.h"
#include "sales/Anula.h"
#include "sales/ConsVentArt.h"
#include "sales/ConsVtas.h"
#include "sales/FilCol.h"
#include "sales/ImpComp.h"
#include "sales/Ventas.h"
#include "app/Aguarde.h"
#include "shell/Opera.h"
#include "stock/ConsEgr.h"
#include "stock/ConsIng.h"
#include "stock/ConsMov.h"
#include "stock/Egre.h"
#include "stock/Ing.h"
#include "stock/Remi.h"
#include "suppliers/AltaProv.h"
#include "suppliers/ConsProv.h"
#include "suppliers/DocProv.h"
#include "suppliers/Pagos.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QAction>
#include <QDir>

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
void TFF1::Imagenes1Click()
{
    // A fresh window each time, gone when the command ends.
    TFImagen window(this);
    try {
        if (!DM1->Imagen->active())
            DM1->Imagen->open();
        window.prepare();
        vx::ui::dialogs().showModal(&window);
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    try {
        window.tidyUp();
        if (DM1->Imagen->active())
            DM1->Imagen->close();
    } catch (const std::exception &) {
        // The window goes anyway; the next opening opens the tables again.
    }
}
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
void TFF1::ListadodeStock1Click()
{
    if (!FMArt)
        new TFMArt(this);
    aguarde::show();
    try {
        FMArt->prepare();
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
    FMArt->show();
    FMArt->raise();
    FMArt->activateWindow();
    FMArt->BTotalesClick();
}
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
void TFF1::Consultas1Click()
{
    if (!FConsIng)
        FConsIng = new TFConsIng(this);
    openMovementQuery(*FConsIng);
}
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
void TFF1::Consultas2Click()
{
    if (!FConsEgr)
        FConsEgr = new TFConsEgr(this);
    openMovementQuery(*FConsEgr);
}
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
void TFF1::ConsultadeVentas1Click()
{
    if (!FConsVtas)
        FConsVtas = new TFConsVtas(this);
    openConsVtas(*FConsVtas);
}
// Sales history of an article TFConsVentArt (customers and sales queries).
void TFF1::PorDetalles1Click()
{
    if (!FConsVentArt)
        FConsVentArt = new TFConsVentArt(this);
    openSaleLinesQuery(*FConsVentArt);
}
// Sales by customer TFConsVenCli (customers and sales queries).
void TFF1::PorCliente1Click()
{
    if (!FConsVenCli)
        FConsVenCli = new TFConsVenCli(this);
    openSaleLinesQuery(*FConsVenCli);
}
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
    // The period's rows are gone once the cash is closed: a copy keeps the shop as it stood.
    openCierreCaja(this, [this](const cash::ClosedCash &) { backup::copyAfterClosing(this, *DM1->ADOConnection1); });
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
// Supplier maintenance TFAltaProv (suppliers), created on first use.
void TFF1::ABMdeProveedores1Click()
{
    if (!FAltaProv)
        FAltaProv = new TFAltaProv(this);
    openAltaProv(*FAltaProv);
}
// A supplier's account TFConsProv (suppliers), also "Cuentas Corrientes / Consultas".
void TFF1::ConsultadeProveedores1Click()
{
    openConsProv(this);
}
// Supplier invoices and credits TFDocProv (suppliers).
void TFF1::Comprobantes1Click()
{
    openDocProv(this);
}
// Supplier payments TFPagos (suppliers).
void TFF1::Pagos1Click()
{
    openPagos(this);
}
// Barcode labels TFBarCode, not modal (article catalogue).
void TFF1::CdBarras1Click()
{
    if (!FBarCode)
        new TFBarCode(this);
    try {
        FBarCode->prepare();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    FBarCode->show();
    FBarCode->raise();
    FBarCode->activateWindow();
}
// Starts the separate label program (article catalogue).
void TFF1::CodBarrasA41Click()
{
    const QString folder = vx::paths::userFolder();
    if (!vx::ui::dialogs().openDocument(QDir(folder).filePath(QStringLiteral("Tagmill.exe")), folder))
        vx::ui::dialogs().showMessage(QStringLiteral("Función no habilitada o archivo no encontrado..."));
}
// Shelf labels (article catalogue).
void TFF1::Etiquetas1Click() {}
// Print positions TFFilCol (sales).
void TFF1::FilasColumnas1Click()
{
    if (!FFilCol)
        FFilCol = new TFFilCol(this);
    openFilCol(*FFilCol);
}

// Backup copy of the shop into the user folder's "Copias"; the menu offers it to level 9 only.
void TFF1::CopiadeSeguridad1Click()
{
    if (uGlobales::session().accessLevel == 9)
        backup::copyFromMenu(this, *DM1->ADOConnection1);
}

void TFF1::Operadores1Click()
{
    openOperators(this);
}

// Movement history TFMovim (stock movements) opens after the menu changes of the level.
void TFF1::CreaFAguarde1Click()
{
    applyMovementMenuRules(uGlobales::session().accessLevel);
    // The window reads the journal through the data module, which start-up makes before any menu.
    if (DM1)
        openMovim(this);
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
