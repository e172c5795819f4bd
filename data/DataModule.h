#pragma once

#include "platform/db/Connection.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"

#include <QObject>

#include <memory>

// The data module: the process's one connection and a table object, with its data source, for
// every table of the shop database. Windows open, sort, filter and close these shared objects;
// those that need a second cursor create their own on ADOConnection1.
class TDM1 : public QObject {
    Q_OBJECT
    std::unique_ptr<vx::Connection> m_connection;

public:
    // Opens the connection named by the data-link file; throws vx::DbError naming the file and
    // the cause when it cannot, when the database is not a shop's or its tables are of another
    // version (nothing is written to it then). Every table object starts closed.
    explicit TDM1(const QString &dataLinkPath, QObject *parent = nullptr);
    // Wraps a connection already open (tests, tools).
    explicit TDM1(std::unique_ptr<vx::Connection> connection, QObject *parent = nullptr);
    ~TDM1() override;

    // What the operator must know when the database can only be read; empty otherwise.
    QString readOnlyWarning() const;
    // What the operator must know after the server connection broke and was opened again: the
    // scratch rows of the work in progress went with it.
    QString reconnectedWarning() const;

    // While filtered, Stock shows the articles at or under their reorder point in location 1.
    // A missing reorder point or stock counts as 0.
    static QString stockFilterRecord();

    vx::Connection *ADOConnection1 = nullptr;

    vx::Table *Egresos = nullptr;
    vx::Table *Ingresos = nullptr;
    vx::Table *Movim = nullptr;
    vx::Table *Operador = nullptr;
    vx::Table *Stock = nullptr;
    vx::Table *TMP1 = nullptr;
    vx::Table *Empresas = nullptr;
    vx::Table *Imagen = nullptr;
    vx::Table *Marcas = nullptr;
    vx::Table *Colores = nullptr;
    vx::Table *Talles = nullptr;
    vx::Table *Caja = nullptr;
    vx::Table *Clicom = nullptr;
    vx::Table *Clientes = nullptr;
    vx::Table *Itecli = nullptr;
    vx::Table *Bancos = nullptr;
    vx::Table *CtaProp = nullptr;
    vx::Table *Tarjetas = nullptr;
    vx::Table *Cupones = nullptr;
    vx::Table *FilCol = nullptr;
    vx::Table *Rubros = nullptr;
    vx::Table *CajaD = nullptr;
    vx::Table *Equipos = nullptr;
    vx::Table *Gastos = nullptr;
    vx::Table *Itegas = nullptr;
    vx::Table *Presupuestos = nullptr;
    vx::Table *CLIPRE = nullptr;
    vx::Table *AuxiliarFormulas = nullptr;
    vx::Table *Formulas = nullptr;
    vx::Table *MatPrim = nullptr;
    vx::Table *Proveed = nullptr;
    vx::Table *Pagos = nullptr;
    vx::Table *Procom = nullptr;
    vx::Table *Itepro = nullptr;

    vx::DataSource *DSEgr = nullptr;
    vx::DataSource *DSIng = nullptr;
    vx::DataSource *DSMov = nullptr;
    vx::DataSource *DSOpe = nullptr;
    vx::DataSource *DSStk = nullptr;
    vx::DataSource *DSTmp = nullptr;
    vx::DataSource *DSEmp = nullptr;
    vx::DataSource *DSImg = nullptr;
    vx::DataSource *DSMarcas = nullptr;
    vx::DataSource *DSColores = nullptr;
    vx::DataSource *DSTalles = nullptr;
    vx::DataSource *DSCaja = nullptr;
    vx::DataSource *DSClicom = nullptr;
    vx::DataSource *DSCliente = nullptr;
    vx::DataSource *DSItecli = nullptr;
    vx::DataSource *DSBancos = nullptr;
    vx::DataSource *DSCProp = nullptr;
    vx::DataSource *DSTarj = nullptr;
    vx::DataSource *DSCupon = nullptr;
    vx::DataSource *DSFilCol = nullptr;
    vx::DataSource *DSRubros = nullptr;
    vx::DataSource *DSCajaD = nullptr;
    vx::DataSource *DSEquipos = nullptr;
    vx::DataSource *DSGastos = nullptr;
    vx::DataSource *DSItegas = nullptr;
    vx::DataSource *DSPresu = nullptr;
    vx::DataSource *DSClipre = nullptr;
    vx::DataSource *DSAuxFormulas = nullptr;
    vx::DataSource *DSFormulas = nullptr;
    vx::DataSource *DSMatPrima = nullptr;
    vx::DataSource *DSProveed = nullptr;
    vx::DataSource *DSPagos = nullptr;
    vx::DataSource *DSProcom = nullptr;
    vx::DataSource *DSItepro = nullptr;

    // Every table object, in declaration order.
    QList<vx::Table *> tables() const { return m_tables; }

private:
    void createTables();
    vx::Table *table(const char *objectName, const char *tableName, vx::DataSource *&source, const char *sourceName);

    QList<vx::Table *> m_tables;
};

// The process's data module, set while one exists.
extern TDM1 *DM1;
