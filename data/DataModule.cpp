#include "data/DataModule.h"

#include "data/Schema.h"
#include "platform/db/DataLink.h"

TDM1 *DM1 = nullptr;

TDM1::TDM1(const QString &dataLinkPath, QObject *parent)
    : TDM1(vx::Connection::open(vx::DataLink::read(dataLinkPath), &data::vendrixSchema(), vx::Connection::Expect::Shop),
           parent)
{
}

TDM1::TDM1(std::unique_ptr<vx::Connection> connection, QObject *parent)
    : QObject(parent), m_connection(std::move(connection)), ADOConnection1(m_connection.get())
{
    setObjectName(QStringLiteral("DM1"));
    // Every workstation composes its sales, receipts, issues and printouts in rows of its own:
    // the windows empty the scratch table when they start, and on a shared one that would throw
    // away another counter's sale in progress.
    m_connection->usePrivateCopy(QStringLiteral("TMP1"));
    createTables();
    DM1 = this;
}

TDM1::~TDM1()
{
    // The table objects are children; they must go before the connection they use.
    qDeleteAll(m_tables);
    m_tables.clear();
    if (DM1 == this)
        DM1 = nullptr;
}

QString TDM1::readOnlyWarning() const
{
    if (!m_connection->readOnly())
        return {};
    return QStringLiteral("La base de datos %1 sólo se puede leer: puede consultar, pero no se podrá grabar nada "
                          "(ventas, ingresos, cambios de artículos).")
        .arg(m_connection->description());
}

QString TDM1::reconnectedWarning() const
{
    return QStringLiteral("Se perdió la conexión con el servidor de datos (%1) y se restableció. Lo que estaba "
                          "cargando sin grabar (por ejemplo, los artículos de una venta en curso) se perdió: "
                          "revíselo antes de seguir.")
        .arg(m_connection->serverAddress());
}

QString TDM1::stockFilterRecord()
{
    return QStringLiteral("COALESCE(ARTREP, 0) >= COALESCE(ARTEX1, 0)");
}

vx::Table *TDM1::table(const char *objectName, const char *tableName, vx::DataSource *&source,
                       const char *sourceName)
{
    auto *t = new vx::Table(ADOConnection1, QString::fromLatin1(tableName), this);
    t->setObjectName(QString::fromLatin1(objectName));
    source = new vx::DataSource(t, this);
    source->setObjectName(QString::fromLatin1(sourceName));
    m_tables << t;
    return t;
}

void TDM1::createTables()
{
    Egresos = table("Egresos", "EGRESOS", DSEgr, "DSEgr");
    Ingresos = table("Ingresos", "INGRESOS", DSIng, "DSIng");
    Movim = table("Movim", "MOVIM", DSMov, "DSMov");
    Operador = table("Operador", "OPERADOR", DSOpe, "DSOpe");
    Stock = table("Stock", "STOCK", DSStk, "DSStk");
    Stock->setRecordFilter(stockFilterRecord());
    TMP1 = table("TMP1", "TMP1", DSTmp, "DSTmp");
    Empresas = table("Empresas", "EMPRESAS", DSEmp, "DSEmp");
    Imagen = table("Imagen", "IMAGEN", DSImg, "DSImg");
    Marcas = table("Marcas", "MARCAS", DSMarcas, "DSMarcas");
    Colores = table("Colores", "COLORES", DSColores, "DSColores");
    Talles = table("Talles", "TALLES", DSTalles, "DSTalles");
    Caja = table("Caja", "CAJA", DSCaja, "DSCaja");
    Clicom = table("Clicom", "CLICOM", DSClicom, "DSClicom");
    Clientes = table("Clientes", "CLIENTE", DSCliente, "DSCliente");
    Itecli = table("Itecli", "ITECLI", DSItecli, "DSItecli");
    Bancos = table("Bancos", "BANCO", DSBancos, "DSBancos");
    CtaProp = table("CtaProp", "CTAPROP", DSCProp, "DSCProp");
    Tarjetas = table("Tarjetas", "TARJETAS", DSTarj, "DSTarj");
    Cupones = table("Cupones", "CUPONES", DSCupon, "DSCupon");
    FilCol = table("FilCol", "FILCOL", DSFilCol, "DSFilCol");
    Rubros = table("Rubros", "RUBROS", DSRubros, "DSRubros");
    CajaD = table("CajaD", "CAJAD", DSCajaD, "DSCajaD");
    Equipos = table("Equipos", "EQUIPOS", DSEquipos, "DSEquipos");
    Gastos = table("Gastos", "GASTOS", DSGastos, "DSGastos");
    Itegas = table("Itegas", "ITEGAS", DSItegas, "DSItegas");
    Presupuestos = table("Presupuestos", "PRESUPUESTOS", DSPresu, "DSPresu");
    CLIPRE = table("CLIPRE", "CLIPRE", DSClipre, "DSClipre");
    AuxiliarFormulas = table("AuxiliarFormulas", "AUXILIARFORMULAS", DSAuxFormulas, "DSAuxFormulas");
    Formulas = table("Formulas", "FORMULAS", DSFormulas, "DSFormulas");
    MatPrim = table("MatPrim", "MATPRIM", DSMatPrima, "DSMatPrima");
    Proveed = table("Proveed", "PROVEEDORES", DSProveed, "DSProveed");
    Pagos = table("Pagos", "PAGOS", DSPagos, "DSPagos");
    Procom = table("Procom", "PROCOM", DSProcom, "DSProcom");
    Itepro = table("Itepro", "ITEPRO", DSItepro, "DSItepro");
}
