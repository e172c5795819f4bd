#pragma once

#include <QMainWindow>

class CaptionPanel;
class KeyLabel;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;

// The main window: every command of the system in its menu, function keys F1 to F5 wherever the
// focus is, a shortcut strip whose panel carries the status line, and the shop's picture centred
// above it. Created hidden at start-up and shown by a successful login; closing it ends the
// program.
class TFF1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TFF1(QWidget *parent = nullptr);
    ~TFF1() override;

    // The level-2 and level-3 menu changes of the movement history; they stay for the run.
    void applyMovementMenuRules(int level);

    QMenuBar *MainMenu1 = nullptr;

    QMenu *ELABORACION1 = nullptr;
    QMenu *MateriaPrima1 = nullptr;
    QAction *Altascodificacion1 = nullptr;
    QAction *BMC2 = nullptr;
    QAction *IngresoalStock1 = nullptr;
    QAction *Formulas1 = nullptr;
    QAction *Produccion1 = nullptr;

    QMenu *STOCK1 = nullptr;
    QMenu *Articulos1 = nullptr;
    QAction *Articulo1 = nullptr;
    QAction *BMC1 = nullptr;
    QAction *Imagenes1 = nullptr;
    QAction *Marcas1 = nullptr;
    QAction *Colores1 = nullptr;
    QAction *alles1 = nullptr;
    QAction *ListadodeStock1 = nullptr;
    QAction *ListadodeStockconFoto1 = nullptr;
    QAction *ActualizaciondePrecios1 = nullptr;
    QAction *VerificarPrecios1 = nullptr;
    QAction *ImportarExcel1 = nullptr;

    QMenu *INGRESOS2 = nullptr;
    QAction *INGRESOS1 = nullptr;
    QAction *Consultas1 = nullptr;
    QAction *Remitos2 = nullptr;

    QMenu *EGRESOS1 = nullptr;
    QAction *Egresos2 = nullptr;
    QAction *Consultas2 = nullptr;
    QAction *Remitos1 = nullptr;

    QMenu *PRESUPUESTOS1 = nullptr;
    QAction *GenerarPresupuesto1 = nullptr;
    QAction *Consultar1 = nullptr;

    QMenu *VENTAS2 = nullptr;
    QAction *VENTAS1 = nullptr;
    QMenu *ConsultadeVentas2 = nullptr;
    QAction *ConsultadeVentas1 = nullptr;
    QAction *PorDetalles1 = nullptr;
    QAction *PorCliente1 = nullptr;
    QAction *ImprimirComprobante1 = nullptr;
    QAction *Anulacion1 = nullptr;

    QMenu *CAJA1 = nullptr;
    QAction *CajadelDia1 = nullptr;
    QAction *CierredeCaja1 = nullptr;
    QAction *AjustesdeCaja1 = nullptr;
    QAction *ConsultadeCaja1 = nullptr;
    QAction *ResumendeCaja1 = nullptr;
    QMenu *Tarjetas1 = nullptr;
    QAction *arjetasdeCrdito1 = nullptr;
    QAction *CuponesenCartera1 = nullptr;
    QMenu *Bancos1 = nullptr;
    QAction *Listadodebancos1 = nullptr;
    QAction *CuantasPropias1 = nullptr;

    QMenu *GASTOS1 = nullptr;
    QAction *RegistrarGasto1 = nullptr;
    QAction *ConsultarGastos1 = nullptr;
    QAction *ABMdeGastos1 = nullptr;

    QMenu *SERVTECNICO1 = nullptr;
    QAction *RecepciondeEquipos1 = nullptr;
    QAction *ConsultadeEquipos1 = nullptr;

    QMenu *UTILIDADES1 = nullptr;
    QAction *Operadores1 = nullptr;
    QAction *CreaFAguarde1 = nullptr;
    QMenu *Clientes1 = nullptr;
    QAction *ABMdeClientes1 = nullptr;
    QAction *ConsultadeClientes1 = nullptr;
    QMenu *Proveedores1 = nullptr;
    QAction *ABMdeProveedores1 = nullptr;
    QAction *ConsultadeProveedores1 = nullptr;
    QAction *Comprobantes1 = nullptr;
    QMenu *CuentasCorrientes1 = nullptr;
    QAction *Consultas3 = nullptr;
    QAction *Pagos1 = nullptr;
    QAction *CdBarras1 = nullptr;
    QAction *CodBarrasA41 = nullptr;
    QAction *Etiquetas1 = nullptr;
    QAction *EtiquetapGondolasconImagen1 = nullptr;
    QAction *FilasColumnas1 = nullptr;
    QAction *CopiadeSeguridad1 = nullptr;
    QAction *GuiaparaelUsuario1 = nullptr;

    QAction *SALIR1 = nullptr;

    CaptionPanel *Panel1 = nullptr;
    QLabel *Image1 = nullptr;
    KeyLabel *StaticText1 = nullptr;
    QPushButton *BPrecios = nullptr;
    KeyLabel *StaticText3 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    KeyLabel *StaticText4 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    KeyLabel *StaticText2 = nullptr;
    QPushButton *BBVentas = nullptr;
    KeyLabel *StaticText5 = nullptr;
    QPushButton *BitBtn3 = nullptr;

public slots:
    // The command handlers, one per menu item of the command table.
    void Articulo1Click();
    void BMC1Click();
    void Imagenes1Click();
    void Marcas1Click();
    void Colores1Click();
    void alles1Click();
    void ListadodeStock1Click();
    void ActualizaciondePrecios1Click();
    void VerificarPrecios1Click();
    void INGRESOS1Click();
    void Consultas1Click();
    void Remitos2Click();
    void Egresos2Click();
    void Consultas2Click();
    void Remitos1Click();
    void VENTAS1Click();
    void ConsultadeVentas1Click();
    void PorDetalles1Click();
    void PorCliente1Click();
    void ImprimirComprobante1Click();
    void Anulacion1Click();
    void CajadelDia1Click();
    void CierredeCaja1Click();
    void AjustesdeCaja1Click();
    void ConsultadeCaja1Click();
    void CAJA1Click();
    void arjetasdeCrdito1Click();
    void CuponesenCartera1Click();
    void Listadodebancos1Click();
    void CuantasPropias1Click();
    void RegistrarGasto1Click();
    void ConsultarGastos1Click();
    void ABMdeGastos1Click();
    void RecepciondeEquipos1Click();
    void ConsultadeEquipos1Click();
    void Operadores1Click();
    void CreaFAguarde1Click();
    void ABMdeClientes1Click();
    void ConsultadeClientes1Click();
    void ABMdeProveedores1Click();
    void ConsultadeProveedores1Click();
    void Comprobantes1Click();
    void Pagos1Click();
    void CdBarras1Click();
    void CodBarrasA41Click();
    void Etiquetas1Click();
    void FilasColumnas1Click();
    void CopiadeSeguridad1Click();
    void GuiaparaelUsuario1Click();
    void SALIR1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void createMenu();
    void connectCommands();
    void createClientArea();
    void createShortcutStrip(QWidget *panel);

    void FormCreate();
    void FormDblClick();
    void FormCanResize();
    // The function keys; true when the key was one of them.
    bool FormKeyDown(int key);
    // What F2 to F5 do, also for the shortcut strip.
    void runFunctionKey(int key);
    // Opens the user guide; with the wait window up while the shell starts it when asked.
    void openUserGuide(bool withWaitWindow);

    QPixmap m_picture;
    bool m_centredOnScreen = false;
};

// The main window of the program, set while one exists.
extern TFF1 *FF1;
