// The main window's menu tree as the shop sees it: captions padded with blanks, the commands
// not offered hidden, and each command connected to its handler.
#include "shell/Ficha1.h"

#include <QMenu>
#include <QMenuBar>

namespace {

// Captions carry blanks on both sides, which give the bold menu font room.
QString padded(const QString &caption)
{
    return QStringLiteral("  %1  ").arg(caption);
}

QMenu *subMenu(QWidget *owner, const char *name, const QString &caption, bool visible = true)
{
    auto *menu = new QMenu(padded(caption), owner);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setVisible(visible);
    if (auto *bar = qobject_cast<QMenuBar *>(owner))
        bar->addMenu(menu);
    else
        static_cast<QMenu *>(owner)->addMenu(menu);
    return menu;
}

QAction *item(QMenu *menu, const char *name, const QString &caption, bool visible = true)
{
    QAction *action = menu->addAction(padded(caption));
    action->setObjectName(QLatin1String(name));
    action->setVisible(visible);
    return action;
}

constexpr bool hidden = false;

}  // namespace

void TFF1::createMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MainMenu1->setNativeMenuBar(false);
    setMenuBar(MainMenu1);

    ELABORACION1 = subMenu(MainMenu1, "ELABORACION1", QStringLiteral("ELABORACION"), hidden);
    MateriaPrima1 = subMenu(ELABORACION1, "MateriaPrima1", QStringLiteral("Materia Prima"));
    Altascodificacion1 = item(MateriaPrima1, "Altascodificacion1", QStringLiteral("Altas (codificacion)"));
    BMC2 = item(MateriaPrima1, "BMC2", QStringLiteral("B / M / C"));
    IngresoalStock1 = item(MateriaPrima1, "IngresoalStock1", QStringLiteral("Ingreso al Stock"));
    Formulas1 = item(ELABORACION1, "Formulas1", QStringLiteral("Formulas"));
    Produccion1 = item(ELABORACION1, "Produccion1", QStringLiteral("Produccion"));

    STOCK1 = subMenu(MainMenu1, "STOCK1", QStringLiteral("STOCK"));
    Articulos1 = subMenu(STOCK1, "Articulos1", QStringLiteral("&Articulos"));
    Articulo1 = item(Articulos1, "Articulo1", QStringLiteral("Altas"));
    BMC1 = item(Articulos1, "BMC1", QStringLiteral("B / M / C"));
    Imagenes1 = item(Articulos1, "Imagenes1", QStringLiteral("Imagenes"));
    Marcas1 = item(Articulos1, "Marcas1", QStringLiteral("Marcas"));
    Colores1 = item(Articulos1, "Colores1", QStringLiteral("Colores"));
    alles1 = item(Articulos1, "alles1", QStringLiteral("Talles"));
    ListadodeStock1 = item(STOCK1, "ListadodeStock1", QStringLiteral("Listado de Stock"));
    ListadodeStockconFoto1 = item(STOCK1, "ListadodeStockconFoto1", QStringLiteral("Listado de Stock con Foto"), hidden);
    ActualizaciondePrecios1 = item(STOCK1, "ActualizaciondePrecios1", QStringLiteral("Actualizacion de Precios"), hidden);
    VerificarPrecios1 = item(STOCK1, "VerificarPrecios1", QStringLiteral("Verificar Precios"));
    ImportarExcel1 = item(STOCK1, "ImportarExcel1", QStringLiteral("Importar Excel"), hidden);

    INGRESOS2 = subMenu(MainMenu1, "INGRESOS2", QStringLiteral("INGRESOS"));
    INGRESOS1 = item(INGRESOS2, "INGRESOS1", QStringLiteral("Ingresar"));
    Consultas1 = item(INGRESOS2, "Consultas1", QStringLiteral("Consultar"));
    Remitos2 = item(INGRESOS2, "Remitos2", QStringLiteral("Remitos"), hidden);

    EGRESOS1 = subMenu(MainMenu1, "EGRESOS1", QStringLiteral("EGRESOS"));
    Egresos2 = item(EGRESOS1, "Egresos2", QStringLiteral("Egresos"));
    Consultas2 = item(EGRESOS1, "Consultas2", QStringLiteral("Consultas"));
    Remitos1 = item(EGRESOS1, "Remitos1", QStringLiteral("Remitos"));

    PRESUPUESTOS1 = subMenu(MainMenu1, "PRESUPUESTOS1", QStringLiteral("PRESUPUESTOS"), hidden);
    GenerarPresupuesto1 = item(PRESUPUESTOS1, "GenerarPresupuesto1", QStringLiteral("Generar Presupuesto"));
    Consultar1 = item(PRESUPUESTOS1, "Consultar1", QStringLiteral("Consultar"));

    VENTAS2 = subMenu(MainMenu1, "VENTAS2", QStringLiteral("VENTAS"));
    VENTAS1 = item(VENTAS2, "VENTAS1", QStringLiteral("VENTAS"));
    ConsultadeVentas2 = subMenu(VENTAS2, "ConsultadeVentas2", QStringLiteral("Consulta de Ventas"));
    ConsultadeVentas1 = item(ConsultadeVentas2, "ConsultadeVentas1", QStringLiteral("Por Facturas"));
    PorDetalles1 = item(ConsultadeVentas2, "PorDetalles1", QStringLiteral("Por Articulo"));
    // Offered beside its siblings: the customer and operator view of the same sale lines.
    PorCliente1 = item(ConsultadeVentas2, "PorCliente1", QStringLiteral("Por Cliente"));
    ImprimirComprobante1 = item(VENTAS2, "ImprimirComprobante1", QStringLiteral("Imprimir Comprobante"));
    Anulacion1 = item(VENTAS2, "Anulacion1", QStringLiteral("Anulacion"));

    CAJA1 = subMenu(MainMenu1, "CAJA1", QStringLiteral("CAJA"));
    CajadelDia1 = item(CAJA1, "CajadelDia1", QStringLiteral("Consulta de Caja"));
    CierredeCaja1 = item(CAJA1, "CierredeCaja1", QStringLiteral("Cierre de Caja"));
    AjustesdeCaja1 = item(CAJA1, "AjustesdeCaja1", QStringLiteral("Ajustes de Caja Diaria"));
    ConsultadeCaja1 = item(CAJA1, "ConsultadeCaja1", QStringLiteral("Historico por Cierres de Caja"));
    ResumendeCaja1 = item(CAJA1, "ResumendeCaja1", QStringLiteral("Resumen de Caja"));
    Tarjetas1 = subMenu(CAJA1, "Tarjetas1", QStringLiteral("Tarjetas"));
    arjetasdeCrdito1 = item(Tarjetas1, "arjetasdeCrdito1", QStringLiteral("Tarjetas de Crédito"));
    CuponesenCartera1 = item(Tarjetas1, "CuponesenCartera1", QStringLiteral("Cupones en Cartera"));
    Bancos1 = subMenu(CAJA1, "Bancos1", QStringLiteral("Bancos"));
    Listadodebancos1 = item(Bancos1, "Listadodebancos1", QStringLiteral("Listado de bancos"));
    CuantasPropias1 = item(Bancos1, "CuantasPropias1", QStringLiteral("Cuentas Propias"));

    GASTOS1 = subMenu(MainMenu1, "GASTOS1", QStringLiteral("GASTOS"), hidden);
    RegistrarGasto1 = item(GASTOS1, "RegistrarGasto1", QStringLiteral("Registro de Gastos"));
    ConsultarGastos1 = item(GASTOS1, "ConsultarGastos1", QStringLiteral("Consulta de Gastos"));
    ABMdeGastos1 = item(GASTOS1, "ABMdeGastos1", QStringLiteral("Codificacion de Gastos"));

    SERVTECNICO1 = subMenu(MainMenu1, "SERVTECNICO1", QStringLiteral("SERV.TECNICO"), hidden);
    RecepciondeEquipos1 = item(SERVTECNICO1, "RecepciondeEquipos1", QStringLiteral("Recepcion de Equipos"));
    ConsultadeEquipos1 = item(SERVTECNICO1, "ConsultadeEquipos1", QStringLiteral("Consulta de Equipos"));

    UTILIDADES1 = subMenu(MainMenu1, "UTILIDADES1", QStringLiteral("UTILIDADES"));
    Operadores1 = item(UTILIDADES1, "Operadores1", QStringLiteral("Operadores"));
    CreaFAguarde1 = item(UTILIDADES1, "CreaFAguarde1", QStringLiteral("Movimientos"));
    Clientes1 = subMenu(UTILIDADES1, "Clientes1", QStringLiteral("Clientes"));
    ABMdeClientes1 = item(Clientes1, "ABMdeClientes1", QStringLiteral("ABM de Clientes"));
    ConsultadeClientes1 = item(Clientes1, "ConsultadeClientes1", QStringLiteral("Consulta de Clientes"));
    // The supplier items are offered to whoever handles the cash.
    Proveedores1 = subMenu(UTILIDADES1, "Proveedores1", QStringLiteral("Proveedores"));
    ABMdeProveedores1 = item(Proveedores1, "ABMdeProveedores1", QStringLiteral("A B M de Proveedores"));
    ConsultadeProveedores1 = item(Proveedores1, "ConsultadeProveedores1", QStringLiteral("Consulta de Proveedores"));
    CuentasCorrientes1 = subMenu(Proveedores1, "CuentasCorrientes1", QStringLiteral("Cuentas Corrientes"));
    Comprobantes1 = item(CuentasCorrientes1, "Comprobantes1", QStringLiteral("Comprobantes"));
    Consultas3 = item(CuentasCorrientes1, "Consultas3", QStringLiteral("Consultas"));
    Pagos1 = item(CuentasCorrientes1, "Pagos1", QStringLiteral("Pagos"));
    CdBarras1 = item(UTILIDADES1, "CdBarras1", QStringLiteral("Cod. Barras"));
    CodBarrasA41 = item(UTILIDADES1, "CodBarrasA41", QStringLiteral("Cod. Barras A4"), hidden);
    Etiquetas1 = item(UTILIDADES1, "Etiquetas1", QStringLiteral("Etiquetas p/Gondolas"), hidden);
    EtiquetapGondolasconImagen1 =
        item(UTILIDADES1, "EtiquetapGondolasconImagen1", QStringLiteral("Etiqueta p/Gondolas con Imagen"), hidden);
    FilasColumnas1 = item(UTILIDADES1, "FilasColumnas1", QStringLiteral("Fil - Col / Datos en Ticket"));
    CopiadeSeguridad1 = item(UTILIDADES1, "CopiadeSeguridad1", QStringLiteral("Copia de Seguridad"), hidden);
    GuiaparaelUsuario1 = item(UTILIDADES1, "GuiaparaelUsuario1", QStringLiteral("Guia para el Usuario"));

    connect(CAJA1->menuAction(), &QAction::changed, this,
            [this] { Proveedores1->menuAction()->setVisible(CAJA1->menuAction()->isVisible()); });

    SALIR1 = MainMenu1->addAction(padded(QStringLiteral("SALIR")));
    SALIR1->setObjectName(QStringLiteral("SALIR1"));

    connectCommands();
}

void TFF1::connectCommands()
{
    const auto on = [this](QAction *action, void (TFF1::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    on(Articulo1, &TFF1::Articulo1Click);
    on(BMC1, &TFF1::BMC1Click);
    on(Imagenes1, &TFF1::Imagenes1Click);
    on(Marcas1, &TFF1::Marcas1Click);
    on(Colores1, &TFF1::Colores1Click);
    on(alles1, &TFF1::alles1Click);
    on(ListadodeStock1, &TFF1::ListadodeStock1Click);
    on(ActualizaciondePrecios1, &TFF1::ActualizaciondePrecios1Click);
    on(VerificarPrecios1, &TFF1::VerificarPrecios1Click);
    on(INGRESOS1, &TFF1::INGRESOS1Click);
    on(Consultas1, &TFF1::Consultas1Click);
    on(Remitos2, &TFF1::Remitos2Click);
    on(Egresos2, &TFF1::Egresos2Click);
    on(Consultas2, &TFF1::Consultas2Click);
    on(Remitos1, &TFF1::Remitos1Click);
    on(VENTAS1, &TFF1::VENTAS1Click);
    on(ConsultadeVentas1, &TFF1::ConsultadeVentas1Click);
    on(PorDetalles1, &TFF1::PorDetalles1Click);
    on(PorCliente1, &TFF1::PorCliente1Click);
    on(ImprimirComprobante1, &TFF1::ImprimirComprobante1Click);
    on(Anulacion1, &TFF1::Anulacion1Click);
    on(CajadelDia1, &TFF1::CajadelDia1Click);
    on(CierredeCaja1, &TFF1::CierredeCaja1Click);
    on(AjustesdeCaja1, &TFF1::AjustesdeCaja1Click);
    on(ConsultadeCaja1, &TFF1::ConsultadeCaja1Click);
    on(ResumendeCaja1, &TFF1::CAJA1Click);
    on(arjetasdeCrdito1, &TFF1::arjetasdeCrdito1Click);
    on(CuponesenCartera1, &TFF1::CuponesenCartera1Click);
    on(Listadodebancos1, &TFF1::Listadodebancos1Click);
    on(CuantasPropias1, &TFF1::CuantasPropias1Click);
    on(RegistrarGasto1, &TFF1::RegistrarGasto1Click);
    on(ConsultarGastos1, &TFF1::ConsultarGastos1Click);
    on(ABMdeGastos1, &TFF1::ABMdeGastos1Click);
    on(RecepciondeEquipos1, &TFF1::RecepciondeEquipos1Click);
    on(ConsultadeEquipos1, &TFF1::ConsultadeEquipos1Click);
    on(Operadores1, &TFF1::Operadores1Click);
    on(CreaFAguarde1, &TFF1::CreaFAguarde1Click);
    on(ABMdeClientes1, &TFF1::ABMdeClientes1Click);
    on(ConsultadeClientes1, &TFF1::ConsultadeClientes1Click);
    on(ABMdeProveedores1, &TFF1::ABMdeProveedores1Click);
    on(ConsultadeProveedores1, &TFF1::ConsultadeProveedores1Click);
    on(Comprobantes1, &TFF1::Comprobantes1Click);
    on(Consultas3, &TFF1::ConsultadeProveedores1Click);
    on(Pagos1, &TFF1::Pagos1Click);
    on(CdBarras1, &TFF1::CdBarras1Click);
    on(CodBarrasA41, &TFF1::CodBarrasA41Click);
    on(Etiquetas1, &TFF1::Etiquetas1Click);
    on(FilasColumnas1, &TFF1::FilasColumnas1Click);
    on(CopiadeSeguridad1, &TFF1::CopiadeSeguridad1Click);
    on(GuiaparaelUsuario1, &TFF1::GuiaparaelUsuario1Click);
    on(SALIR1, &TFF1::SALIR1Click);
}
