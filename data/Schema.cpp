#include "data/Schema.h"

namespace data {

namespace {

using vx::ColumnDef;
using vx::FieldType;
using vx::TableDef;

// Money, and the two stock quantities of an article, show two decimals.
constexpr const char *kTwoDecimals = "0.00";
// Dates are typed and shown day/month/year.
constexpr const char *kDateMask = "!99/99/0000;1;_";

ColumnDef column(const char *name, FieldType type, int size, const char *label)
{
    ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    c.displayLabel = QString::fromUtf8(label);
    return c;
}

ColumnDef autoInc(const char *name) { return column(name, FieldType::AutoInc, 0, ""); }
ColumnDef integer(const char *name, const char *label = "") { return column(name, FieldType::Integer, 0, label); }
ColumnDef smallInt(const char *name, const char *label = "") { return column(name, FieldType::SmallInt, 0, label); }
ColumnDef num(const char *name, const char *label = "") { return column(name, FieldType::Float, 0, label); }
ColumnDef text(const char *name, int size, const char *label = "") { return column(name, FieldType::String, size, label); }
ColumnDef memo(const char *name) { return column(name, FieldType::Memo, 0, ""); }

ColumnDef money(const char *name, const char *label = "")
{
    ColumnDef c = num(name, label);
    c.displayFormat = QString::fromLatin1(kTwoDecimals);
    return c;
}

ColumnDef date(const char *name, const char *label = "")
{
    ColumnDef c = column(name, FieldType::DateTime, 0, label);
    c.editMask = QString::fromLatin1(kDateMask);
    return c;
}

// The time a line was recorded, kept in a date-time value: a day/month/year mask would hide it.
ColumnDef timeOfDay(const char *name) { return column(name, FieldType::DateTime, 0, ""); }

// A yes/no column; `shown` gives the texts for yes and no ("Si;No") where they are not the default.
ColumnDef yesNo(const char *name, const char *label = "", const char *shown = "")
{
    ColumnDef c = column(name, FieldType::Boolean, 0, label);
    c.displayFormat = QString::fromUtf8(shown);
    return c;
}

ColumnDef wide(ColumnDef c, int width)
{
    c.displayWidth = width;
    return c;
}

ColumnDef masked(ColumnDef c, const char *mask)
{
    c.editMask = QString::fromLatin1(mask);
    return c;
}

// The identity document type holds one of "C.I.", "D.N.I.", "D.U.", "L.C.", "L.E.", "PASAP",
// "OTRO": six characters, so that "D.N.I." fits (five would refuse the most common document).
ColumnDef documentType(const char *label = "")
{
    return text("CLITDOC", 6, label);
}

TableDef table(const char *name, QList<ColumnDef> columns, QList<QStringList> indexes = {})
{
    return TableDef{QString::fromLatin1(name), std::move(columns), std::move(indexes)};
}

// Brands, colours and sizes share one shape; their code is a small whole number in a float.
TableDef catalogue(const char *name, const char *code, const char *description)
{
    return table(name, {autoInc("Id"), wide(num(code, "Codigo"), 3), text(description, 30, "Descripcion")},
                 {{QString::fromLatin1(code)}, {QString::fromLatin1(description)}});
}

// The open cash period and the central cash share one layout.
TableDef cashBook(const char *name, const char *dateIndex)
{
    return table(name,
                 {autoInc("CAJUNO"), text("CAJMOV", 1, "Mov"), text("CAJCOM", 13, "Comp.Nro."), text("CAJTIP", 2, "Tipo"),
                  money("CAJIMP", "Importe"), date("CAJFEC", "Fecha"), date("CAJENT", "F.Entrada"),
                  date("CAJSAL", "F.Salida"), text("CAJCON", 100, "Concepto")},
                 {{QString::fromLatin1(dateIndex)}});
}

TableDef stock()
{
    return table("STOCK",
                 {autoInc("ARTUNO"), text("ARTCOD", 13, "Cod. Origen"), text("ARTCMCT", 20, "CODIGO PROPIO"),
                  text("ARTDES", 255, "DESCRIPCION"), num("ARTMAR", "Mar."), text("ARTMARD", 50, "MARCA"),
                  num("ARTCOL", "Col"), text("ARTCOLD", 50, "COLOR"), num("ARTTAL", "Tal"), text("ARTTALD", 50, "TALLE"),
                  text("ARTFOT", 100, "Arch.de Foto"), num("ARTREP", "P.Repos."), money("ARTEX1", "Cant.1"),
                  money("ARTEX2", "Cant.2"), money("ARTCOS1", "Costo 1"), money("ARTCOS2", "Costo 2"),
                  date("ARTFEC1", "Ult.F.Ingreso"), date("ARTFEC2", "Ult.F.Egreso"), money("ARTVEN1", "Venta 1"),
                  money("ARTVEN2", "Venta 2"), num("ARTUTI1", "Util.1"), num("ARTUTI2", "Util 2"), text("ARTRUB", 5),
                  text("ARTOBS", 100), integer("ARTOPE"), money("ARTVEN3"), money("ARTVEN4"), num("ARTUTI3"),
                  num("ARTUTI4"), num("ARTEXT"), num("ARTEX3"), num("ARTEX4"), text("ARTRUB2", 5), text("ARTRUB3", 5)},
                 // Lookups and the search orders; the reorder view sorts by ARTEX1 or ARTREP; a brand, colour
                 // or size is looked up in the articles before it may be deleted. The sales queries read
                 // each line's description from the code and description index alone.
                 {{"ARTCMCT"}, {"ARTCOD"}, {"ARTDES"}, {"ARTEX1"}, {"ARTREP"}, {"ARTMAR"}, {"ARTCOL"}, {"ARTTAL"},
                  {"ARTCMCT", "ARTDES"}});
}

TableDef imagen()
{
    return table("IMAGEN", {autoInc("ImgId"), wide(num("ImgCod", "Codigo"), 13), text("ImgDes", 100, "Descripcion"),
                            text("ImgEti", 50, "Etiqueta"), yesNo("ImgAct", "Act", "Si;No"), money("ImgPre", "Precio")});
}

TableDef ingresos()
{
    return table("INGRESOS",
                 {autoInc("INGUNO"), date("INGFEC"), timeOfDay("INGHOR"), integer("INGNRO", "No.Comp."),
                  text("INGCOD", 13), num("INGCAN1"), num("INGCAN2"), money("INGCOS1"), money("INGCOS2"),
                  text("INGOBS", 100), text("INGCMCT", 20), text("INGRUB", 5), integer("INGOPE"), integer("INGNIV"),
                  num("INGCAN3"), num("INGCAN4"), integer("INGSUC"), text("INGRUB2", 5), text("INGRUB3", 5),
                  integer("INGCLI"), num("INGMAR"), num("INGTIP"), num("INGFAM"), num("INGCOL"), num("INGTAL")},
                 // The next voucher number, an article's receipts, the date-range queries, the check that
                 // a brand, colour or size is unused before it is deleted, and a supplier's receipts.
                 {{"INGNRO"}, {"INGCMCT"}, {"INGFEC"}, {"INGMAR"}, {"INGCOL"}, {"INGTAL"}, {"INGCLI"}});
}

TableDef egresos()
{
    return table("EGRESOS",
                 {autoInc("EGRUNO"), date("EGRFEC"), timeOfDay("EGRHOR"), integer("EGRNRO", "No.Comp."),
                  text("EGRCOD", 13), num("EGRCAN1"), num("EGRCAN2"), money("EGRCOS1"), money("EGRCOS2"),
                  text("EGROBS", 100), text("EGRCMCT", 20), money("EGRVTA1"), num("EGRVTA2"), text("EGRRUB", 5),
                  integer("EGRNIV"), integer("EGROPE"), integer("EGRCLI"), num("EGRCAN3"), num("EGRCAN4"),
                  integer("EGRSUC"), text("EGRRUB2", 5), text("EGRRUB3", 5), num("EGRMAR"), num("EGRTIP"),
                  num("EGRFAM"), num("EGRCOL"), num("EGRTAL")},
                 // A customer is looked up in the issues before it may be deleted.
                 {{"EGRNRO"}, {"EGRCMCT"}, {"EGRFEC"}, {"EGRMAR"}, {"EGRCOL"}, {"EGRTAL"}, {"EGRCLI"}});
}

TableDef movim()
{
    return table("MOVIM",
                 {autoInc("MOVUNO"), text("MOVTIP", 1, "I / E"), date("MOVFEC"),
                  masked(text("MOVHOR", 50), "!90:00;1;_"), integer("MOVNRO"), text("MOVCOD", 13),
                  num("MOVCAN1", "Cant."), num("MOVCAN2"), text("MOVOBS", 50, "Observaciones"),
                  text("MOVCMCT", 20, "Codigo Propio"), smallInt("MOVOPE"), text("MOVRUB", 5), integer("MOVNIV"),
                  num("MOVCAN3"), num("MOVCAN4"), text("MOVRUB2", 5), text("MOVRUB3", 5), num("MOVMAR", "Marca"),
                  num("MOVTIPO"), num("MOVFAM"), num("MOVSUC"), num("MOVCOL", "Color"), num("MOVTAL", "Talle")},
                 // The history of one article is read in date order: one index serves filter and order.
                 {{"MOVCMCT", "MOVFEC"}, {"MOVFEC"}});
}

TableDef operador()
{
    return table("OPERADOR",
                 {autoInc("OPEUNO"), smallInt("OPECOD", "Cod"), text("OPEAPE", 30, "Apellido y Nombre"),
                  masked(text("OPECLA", 50, "Clave de Acceso"), "**********"), smallInt("OPENIV", "Nivel"),
                  num("OPESUC")},
                 {{"OPECLA"}, {"OPECOD"}, {"OPEAPE"}, {"OPENIV"}});
}

TableDef cliente()
{
    return table("CLIENTE",
                 {autoInc("CLIUNO"), integer("CLIEMP"), smallInt("CLICOD", "Cod."), text("CLIRAZ", 30),
                  text("CLICON", 30), text("CLICAR", 20), text("CLIDIR", 30, "Direccion"),
                  text("CLILOC", 20, "Localidad"), smallInt("CLIZON"), text("CLIC_P", 10, "Cod.Pos."),
                  text("CLITEL", 30, "Telefono/s"), text("CLICEL", 20, "Celular/es"), text("CLIMAIL", 50),
                  text("CLIDIRE", 30), text("CLILOCE", 20), smallInt("CLIFLE"), text("CLICUI", 13, "C.U.I.T."),
                  text("CLIRET", 1), money("CLISAL", "Saldo"), num("CLISAN"), date("CLIOLD"), num("CLIANB"),
                  num("CLIANN"), num("CLICRB"), num("CLICRN"), smallInt("CLIPRE"), text("CLIMEM", 30),
                  smallInt("CLIMAQ"), smallInt("CLIDEPO"), text("CLIOBS", 50), smallInt("CLIVEN"), num("CLIVENPOR"),
                  num("CLIDTO"), integer("CLIPAG"), text("CLIAPE", 50, "Apellido y Nombre"),
                  documentType("T.Doc."), integer("CLINDOC", "Nro. Doc."), date("CLIFEC", "Fecha"),
                  text("CLIPRO", 30, "Provincia"), text("CLIIVA", 50, "I.V.A.")},
                 {{"CLICOD"}, {"CLIAPE"}});
}

TableDef clicom()
{
    return table("CLICOM",
                 {autoInc("COMUNO"), text("COMTIP", 2), text("COMSN", 13), wide(num("COMNRO", "Comprobante"), 13),
                  num("COMEMP"), smallInt("COMCLI"), num("COMVEN"), num("COMCOMI"), smallInt("COMZON"),
                  money("COMTOT", "Total"), num("COMIV1"), num("COMIV2"), money("COMSUB"), money("COMSAL"),
                  date("COMDIA", "Fecha"), date("COMDIAV"), text("COMCON", 100), text("COMNOTA", 60), num("COMBON"),
                  text("COMTDO", 1), num("COMNDO"), text("COMPAG", 1), text("BON", 1), text("COMREM", 13),
                  text("COMPED", 13), text("COMREC", 50), num("COMPOR", "% Porc."), yesNo("COMUSS"), num("COMTUS"),
                  num("COMSUS"), smallInt("COMVTO"), num("COMNOT"), yesNo("COMANU", "Anu"), text("COMSNR", 13),
                  text("COMREL", 45), smallInt("COMMAQ"), num("COMCOS"), integer("COMNIV"), text("COMOBS", 100),
                  integer("COMOPE"), text("COMSCLI", 10)},
                 // The next receipt number over the sale types; the sales queries by date, then number; a
                 // customer's sales, looked up before the customer may be deleted.
                 {{"COMNRO"}, {"COMTIP", "COMNRO"}, {"COMDIA", "COMNRO"}, {"COMCLI"}});
}

TableDef itecli()
{
    return table("ITECLI",
                 {autoInc("ITEUNO"), text("ITETIP", 2), text("ITESC", 13), date("ITEFEC", "Fecha"),
                  num("ITECOM", "Comprobante"), text("ITECOD", 25, "Código Art."), num("ITEMAR", "Marca"),
                  num("ITECAN", "Cant."), money("ITEPRE", "Precio"), money("ITECAU", "Costo"), num("ITEDEV"),
                  smallInt("ITEMAQ"), money("ITEEDI"), num("ITEPOR"), yesNo("ITEANU", "Anu."), text("ITERUB", 5),
                  integer("ITENIV"), integer("ITEOPE", "Ope"), text("ITERUB2", 5), text("ITERUB3", 5),
                  num("ITECLI", "Cli"), num("ITECOL", "Color"), num("ITETAL", "Talle")},
                 // A receipt's lines, an article's, a date range; one customer's or one operator's lines
                 // of a date range, in date order (a customer or an operator alone may have most lines).
                 {{"ITECOM"}, {"ITECOD"}, {"ITEFEC"}, {"ITECLI", "ITEFEC"}, {"ITEOPE", "ITEFEC"}});
}

TableDef banco()
{
    return table("BANCO", {num("BANCOD", "CODIGO"), text("BANDES", 50, "DESCRIPCION")}, {{"BANCOD"}, {"BANDES"}});
}

TableDef ctaprop()
{
    return table("CTAPROP",
                 {autoInc("Id"), text("CTATIP", 3, "T.Cta."), integer("CTABCO", "Cód.Bco."),
                  integer("CTACOD", "Cód.Cta"), text("CTADES", 50), text("CTANRO", 50, "Número de Cta.")},
                 {{"CTABCO"}, {"CTACOD"}, {"CTANRO"}});
}

TableDef tarjetas()
{
    return table("TARJETAS",
                 {autoInc("Id"), num("TARCOD"), text("TARNOM", 50), text("TARBCO", 50), text("TARCTA", 50),
                  integer("TARDIA")},
                 {{"TARCOD"}, {"TARNOM"}});
}

TableDef cupones()
{
    return table("CUPONES",
                 {autoInc("Id"), integer("CUPTARC", "Cód.T"), text("CUPTARD", 50, "Descripción"),
                  date("CUPFEC", "Fecha Vta."), text("CUPCOM", 13, "Factura Nro."), text("CUPNRO", 50, "Cupón Nro."),
                  text("CUPCTA", 50, "Cta. a Acreditarse"), num("CUPDIA", "Plazo"), date("CUPFAC", "Fecha Acred."),
                  text("CUPEST", 2, "Estado"), money("CUPIMP", "Importe")},
                 {{"CUPEST"}});
}

TableDef proveedores()
{
    return table("PROVEEDORES",
                 {autoInc("CLIUNO"), integer("CLIEMP"), text("CLISCLI", 10), integer("CLISUC"), integer("CLICOD"),
                  text("CLIRAZ", 30), text("CLIAPE", 50), text("CLICON", 30), text("CLICAR", 20), text("CLIDIR", 30),
                  text("CLILOC", 20), smallInt("CLIZON"), text("CLIPRO", 30), text("CLIC_P", 10), text("CLITEL", 30),
                  text("CLICEL", 20), text("CLIMAIL", 50), documentType(), integer("CLINDOC"), date("CLIFEC"),
                  text("CLIDIRE", 30), text("CLILOCE", 20), smallInt("CLIFLE"), text("CLICUI", 13), text("CLIIVA", 50),
                  text("CLIRET", 1), money("CLISAL"), num("CLISAN"), date("CLIOLD"), num("CLIANB"), num("CLIANN"),
                  num("CLICRB"), num("CLICRN"), integer("CLIPRE"), text("CLIMEM", 30), integer("CLIMAQ"),
                  smallInt("CLIDEPO"), text("CLIOBS", 50), integer("CLIVEN"), num("CLIVENPOR"), num("CLIDTO"),
                  integer("CLIPAG")},
                 {{"CLICOD"}, {"CLIAPE"}});
}

TableDef procom()
{
    return table("PROCOM",
                 {autoInc("COMUNO"), text("COMTIP", 2), text("COMSN", 13), integer("COMSUC"), num("COMNRO"),
                  num("COMEMP"), integer("COMCLI"), integer("COMVEN"), num("COMCOMI"), smallInt("COMZON"),
                  money("COMSUB"), num("COMPOR"), num("COMIV1"), num("COMIV2"), money("COMTOT"), money("COMSAL"),
                  date("COMDIA"), date("COMDIAV"), text("COMCON", 100), text("COMNOTA", 60), num("COMBON"),
                  text("COMTDO", 1), num("COMNDO"), text("COMPAG", 1), text("BON", 1), text("COMREM", 13),
                  text("COMPED", 13), text("COMREC", 50), yesNo("COMUSS"), num("COMTUS"), num("COMSUS"),
                  smallInt("COMVTO"), num("COMNOT"), yesNo("COMANU"), text("COMSNR", 13), text("COMREL", 45),
                  integer("COMMAQ"), num("COMCOS"), integer("COMOPE"), text("COMOBS", 200)},
                 // A supplier's open documents, and a document found by supplier, type and number.
                 {{"COMCLI", "COMTIP", "COMNRO"}});
}

TableDef pagos()
{
    return table("PAGOS",
                 {autoInc("COBUNO"), text("COBCOM", 2), smallInt("COBPRO"), text("COBREC", 50), text("COBTIP", 2),
                  text("COBNRO", 50), money("COBIMP"), text("COBBON", 1), date("COBFEC"), smallInt("COBVEN"),
                  integer("COBMAQ"), integer("COBSUC")},
                 // The lines of one payment receipt; a supplier's payments, for the account.
                 {{"COBREC"}, {"COBPRO"}});
}

TableDef filcol()
{
    QList<ColumnDef> columns{autoInc("FCUNO"), text("FCTIPO", 2), text("FCCOMPRO", 15), yesNo("FCTIPO2"),
                             smallInt("FCESPACIO")};
    for (const char *prefix : {"FCFILA", "FCCOL"}) {
        for (int item = 1; item <= 25; ++item) {
            ColumnDef position = smallInt("");
            position.name = QString::fromLatin1(prefix) + QStringLiteral("%1").arg(item, 2, 10, QLatin1Char('0'));
            columns << position;
        }
    }
    columns << yesNo("FCFECHA1") << yesNo("FCFECHA2");
    return table("FILCOL", std::move(columns));
}

TableDef tmp1()
{
    QList<ColumnDef> columns{autoInc("TM1UNO"), num("TM1NUM1"), num("TM1NUM2"), num("TM1NUM3"), num("TM1NUM4"),
                             num("TM1NUM5"), num("TM1PRE1"), num("TM1PRE2"), num("TM1PRE3"), num("TM1PRE4"),
                             num("TM1PRE5"), num("TM1PRE6"), num("TM1PRE7"), text("TM1CHR1", 30), text("TM1CHR2", 30),
                             text("TM1CHR3", 30), text("TM1CHR4", 30), text("TM1CHR5", 30), text("TM1CHR6", 30),
                             text("TM1CHR7", 30), date("TM1DAT1"), date("TM1DAT2"), date("TM1DAT3"),
                             text("TM1CHR8", 30), text("TM1CHR9", 50), text("TM1CHR10", 100), num("TM1NUM6"),
                             text("TM1CHR11", 100), memo("TM1IMG1"), num("TM1NUM7"), num("TM1NUM8"), num("TM1NUM9"),
                             date("TM1DAT4")};
    return table("TMP1", std::move(columns));
}

// Tables kept in the stored layout although no window reads or writes them.
QList<TableDef> layoutOnlyTables()
{
    return {
        table("EMPRESAS", {autoInc("EMPUNO"), text("EMPCOD", 3), text("EMPDES", 30)}),
        table("RUBROS", {autoInc("RUBUNO"), text("RUBCOD", 5), text("RUBDES", 30)}),
        table("ITEPRO",
              {autoInc("ITEUNO"), text("ITETIP", 2), text("ITESC", 13), integer("ITESUC"), date("ITEFEC"),
               num("ITECOM"), integer("ITECLI"), text("ITECOD", 25), num("ITEMAR"), num("ITECOL"), num("ITETAL"),
               num("ITECAN"), money("ITEPRE"), money("ITECAU"), num("ITEDEV"), integer("ITEMAQ"), money("ITEEDI"),
               num("ITEPOR"), yesNo("ITEANU"), integer("ITEOPE")}),
        table("EQUIPOS",
              {autoInc("EQUUNO"), num("EQUCLI"), text("EQUAPE", 50), integer("EQUORDEN"), text("EQUMAR", 50),
               text("EQUMOD", 50), text("EQUSER", 50), text("EQUTEC", 50), date("EQUFECE"), date("EQUFECS"),
               num("EQUPRE"), date("EQUVEN"), text("EQUOBS", 100), memo("EQUMEM"), text("EQUEST", 30)}),
        table("GASTOS", {autoInc("GASID"), smallInt("GASCOD"), text("GASDES", 50)}),
        table("ITEGAS",
              {autoInc("GASUNO"), integer("GASCOD"), text("GASDES", 50), date("GASFEC"), money("GASIMP"),
               text("GASMP", 2), text("GASCON", 50)}),
        table("PRESUPUESTOS",
              {integer("ID"), text("PRECMCT", 20), integer("PRECLI"), integer("PRECAN"), money("PREPRE"),
               text("PRETIP", 2), date("PREFEC"), num("PREEDI"), num("PREDTO"), text("PRECOM", 255)}),
        // Its columns were never settled; the table exists so that the data module can name it.
        table("CLIPRE", {}),
        table("MATPRIM",
              {autoInc("MatPrimID"), text("MatPrimCod", 13), text("MatPrimCodTrece", 20), text("MatPrimDesc", 255),
               text("MatPrimUM", 255), num("MatPrimCosto"), date("MatPrimFecAlta"), num("MatPrimCant"),
               text("MatPrimObser", 255), text("MatPrimFoto", 255), date("MatPrimFecIngre"),
               date("MatPrimFecEgre")}),
        table("FORMULAS",
              {autoInc("FORID"), text("FORCODART", 255), text("FORCODMP", 255), num("FORMPCANT"),
               text("FORMPUM", 255), text("FORDESC", 255)}),
        table("AUXILIARFORMULAS", {autoInc("Id"), text("MatPrimCodTrece", 255)}),
    };
}

QList<TableDef> allTables()
{
    QList<TableDef> tables{stock(),
                           catalogue("MARCAS", "MARCOD", "MARDES"),
                           catalogue("COLORES", "COLCOD", "COLDES"),
                           catalogue("TALLES", "TALCOD", "TALDES"),
                           imagen(),
                           ingresos(),
                           egresos(),
                           movim(),
                           operador(),
                           cliente(),
                           clicom(),
                           itecli(),
                           cashBook("CAJA", "CAJFEC"),
                           cashBook("CAJAD", "CAJENT"),
                           banco(),
                           ctaprop(),
                           tarjetas(),
                           cupones(),
                           proveedores(),
                           procom(),
                           pagos(),
                           filcol(),
                           tmp1()};
    tables << layoutOnlyTables();
    return tables;
}

}  // namespace

const vx::Schema &vendrixSchema()
{
    static const vx::Schema schema(allTables(), QStringLiteral("Vendrix"), schemaVersion);
    return schema;
}

}  // namespace data
