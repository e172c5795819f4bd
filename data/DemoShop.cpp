#include "data/DemoShop.h"

#include "data/RowInserter.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <QStringList>

#include <cmath>

namespace data {

namespace {

struct Named {
    int code;
    const char *name;
};

struct ProductLine {
    const char *description;
    int brand;
    double cost;
    bool numericSizes;
};

const Named brands[] = {{1, "ANDINA"}, {2, "PAMPA SPORT"}, {3, "RIO AZUL"}, {4, "URBANA"}, {5, "COSTA"}};
const Named colours[] = {{1, "NEGRO"}, {2, "BLANCO"}, {3, "AZUL"}, {4, "ROJO"}, {5, "GRIS"}};
const Named letterSizes[] = {{1, "S"}, {2, "M"}, {3, "L"}, {4, "XL"}};
const Named numberSizes[] = {{38, "38"}, {40, "40"}, {42, "42"}, {44, "44"}};
const ProductLine lines[] = {
    {"REMERA BASICA ALGODON", 1, 6500.0, false},  {"CAMISA OXFORD MANGA LARGA", 4, 14200.0, false},
    {"PANTALON GABARDINA", 3, 17800.0, true},     {"JEAN CLASICO RECTO", 3, 21500.0, true},
    {"BUZO FRISA CON CAPUCHA", 2, 19900.0, false}, {"CAMPERA ROMPEVIENTO", 2, 32400.0, false},
    {"POLLERA DE JEAN", 5, 15600.0, true},        {"VESTIDO DE LINO", 5, 26700.0, true},
    {"CHOMBA PIQUE", 1, 11300.0, false},          {"BERMUDA CARGO", 4, 12800.0, true},
};
const double margins[] = {60.0, 45.0, 35.0, 25.0};

double money(double value)
{
    return std::round(value * 100.0) / 100.0;
}

void writeOperators(vx::Connection &connection)
{
    const QVariant adminPassword = connection.scalar(QStringLiteral("SELECT OPECLA FROM OPERADOR WHERE OPECOD = 1"));
    const QStringList demoPasswords{QStringLiteral("stock1"), QStringLiteral("venta2")};
    if (demoPasswords.contains(adminPassword.toString()))
        throw vx::DbError(QStringLiteral("La clave del administrador coincide con la de un operador de ejemplo "
                                         "(stock1, venta2); elija otra."));
    RowInserter rows(connection, QStringLiteral("OPERADOR"),
                     {QStringLiteral("OPECOD"), QStringLiteral("OPEAPE"), QStringLiteral("OPECLA"), QStringLiteral("OPENIV")});
    rows.insert({2, QStringLiteral("DEPOSITO JUAN PEREZ"), demoPasswords[0], 1});
    rows.insert({3, QStringLiteral("CAJA ANA GOMEZ"), demoPasswords[1], 2});
}

void writeCustomers(vx::Connection &connection)
{
    RowInserter rows(connection, QStringLiteral("CLIENTE"),
                     {QStringLiteral("CLICOD"), QStringLiteral("CLIAPE"), QStringLiteral("CLIDIR"), QStringLiteral("CLILOC"),
                      QStringLiteral("CLIC_P"), QStringLiteral("CLITEL"), QStringLiteral("CLICUI"), QStringLiteral("CLIIVA"),
                      QStringLiteral("CLITDOC"), QStringLiteral("CLINDOC"), QStringLiteral("CLIPRO"), QStringLiteral("CLISAL"),
                      QStringLiteral("CLIFEC")});
    const QDateTime today = vx::naiveDateTime(vx::naiveNow().date());
    rows.insert({2, QStringLiteral("GARCIA MARIA LAURA"), QStringLiteral("SAN MARTIN 1450"), QStringLiteral("ROSARIO"),
                 QStringLiteral("2000"), QStringLiteral("341-4456789"), QStringLiteral("27234567894"),
                 QStringLiteral("RESP. INSCRIPTO"), QStringLiteral("D.N.I."), 23456789, QStringLiteral("SANTA FE"), 0.0, today});
    rows.insert({3, QStringLiteral("D'ANGELO ROBERTO"), QStringLiteral("BELGRANO 320"), QStringLiteral("CORDOBA"),
                 QStringLiteral("5000"), QStringLiteral("351-4221100"), QStringLiteral("20187654329"),
                 QStringLiteral("MONOTRIBUTISTA"), QStringLiteral("D.N.I."), 18765432, QStringLiteral("CORDOBA"), 0.0, today});
    rows.insert({4, QStringLiteral("LOPEZ SOFIA"), QStringLiteral("MITRE 77"), QStringLiteral("MENDOZA"),
                 QStringLiteral("5500"), QStringLiteral("261-4887766"), QString(), QStringLiteral("CONSUMIDOR FINAL"),
                 QStringLiteral("D.N.I."), 35111222, QStringLiteral("MENDOZA"), 0.0, today});
    rows.insert({5, QStringLiteral("MARTINEZ CARLOS ALBERTO"), QStringLiteral("RIVADAVIA 5120"), QStringLiteral("C.A.B.A."),
                 QStringLiteral("C1424"), QStringLiteral("11-45678901"), QStringLiteral("20145678903"),
                 QStringLiteral("RESP. NO INSCRIPTO"), QStringLiteral("L.E."), 14567890, QStringLiteral("C.A.B.A."), 0.0, today});
}

void writeCatalogue(vx::Connection &connection, const char *table, const char *code, const char *name,
                    const Named *entries, int count)
{
    RowInserter rows(connection, QString::fromLatin1(table), {QString::fromLatin1(code), QString::fromLatin1(name)});
    for (int i = 0; i < count; ++i)
        rows.insert({entries[i].code, QString::fromUtf8(entries[i].name)});
}

void writeArticles(vx::Connection &connection)
{
    RowInserter articles(
        connection, QStringLiteral("STOCK"),
        {QStringLiteral("ARTCOD"), QStringLiteral("ARTCMCT"), QStringLiteral("ARTDES"), QStringLiteral("ARTMAR"),
         QStringLiteral("ARTMARD"), QStringLiteral("ARTCOL"), QStringLiteral("ARTCOLD"), QStringLiteral("ARTTAL"),
         QStringLiteral("ARTTALD"), QStringLiteral("ARTREP"), QStringLiteral("ARTEX1"), QStringLiteral("ARTEX2"),
         QStringLiteral("ARTCOS1"), QStringLiteral("ARTCOS2"), QStringLiteral("ARTFEC1"), QStringLiteral("ARTVEN1"),
         QStringLiteral("ARTVEN2"), QStringLiteral("ARTVEN3"), QStringLiteral("ARTVEN4"), QStringLiteral("ARTUTI1"),
         QStringLiteral("ARTUTI2"), QStringLiteral("ARTUTI3"), QStringLiteral("ARTUTI4")});
    RowInserter receipts(connection, QStringLiteral("INGRESOS"),
                         {QStringLiteral("INGFEC"), QStringLiteral("INGHOR"), QStringLiteral("INGNRO"), QStringLiteral("INGCOD"),
                          QStringLiteral("INGCAN1"), QStringLiteral("INGCAN2"), QStringLiteral("INGCOS1"),
                          QStringLiteral("INGCOS2"), QStringLiteral("INGCMCT"), QStringLiteral("INGNIV")});
    RowInserter movements(connection, QStringLiteral("MOVIM"),
                          {QStringLiteral("MOVTIP"), QStringLiteral("MOVFEC"), QStringLiteral("MOVHOR"), QStringLiteral("MOVNRO"),
                           QStringLiteral("MOVCOD"), QStringLiteral("MOVCAN1"), QStringLiteral("MOVCAN2"),
                           QStringLiteral("MOVOBS"), QStringLiteral("MOVCMCT"), QStringLiteral("MOVOPE")});
    const QDateTime now = vx::naiveNow();
    const QDateTime today = vx::naiveDateTime(now.date());
    const QString time = now.time().toString(QStringLiteral("hh:mm:ss"));
    int serial = 0;
    for (const ProductLine &line : lines) {
        const Named *sizes = line.numericSizes ? numberSizes : letterSizes;
        for (const Named &colour : colours) {
            for (int s = 0; s < 4; ++s) {
                ++serial;
                const QString ownCode = ean13WithCheckDigit(QStringLiteral("77900010%1").arg(serial, 4, 10, QLatin1Char('0')));
                const QString originCode = QStringLiteral("PRV-%1").arg(serial * 37 % 9000 + 1000);
                const Named &brand = brands[line.brand - 1];
                const QString description = QStringLiteral("%1 %2 %3")
                                                .arg(QString::fromUtf8(line.description), QString::fromUtf8(colour.name),
                                                     QString::fromUtf8(sizes[s].name));
                const double cost = money(line.cost * (1.0 + 0.02 * s));
                const double inShop = (serial * 7) % 15;
                const double inStore = (serial * 11) % 25;
                QVariantList values{originCode, ownCode, description, brand.code, QString::fromUtf8(brand.name),
                                    colour.code, QString::fromUtf8(colour.name), sizes[s].code,
                                    QString::fromUtf8(sizes[s].name), 3.0, inShop, inStore, cost, cost, today};
                for (const double m : margins)
                    values << money(cost * (1.0 + m / 100.0));
                for (const double m : margins)
                    values << m;
                articles.insert(values);
                if (inShop != 0.0 || inStore != 0.0) {
                    receipts.insert({today, now, 0, ownCode, inShop, inStore, cost, cost, ownCode, 9});
                    movements.insert({QStringLiteral("I"), today, time, 0, originCode, inShop, inStore,
                                      QStringLiteral("Ingreso x Alta de Articulo"), ownCode, 1});
                }
            }
        }
    }
}

void writeBanksAndCards(vx::Connection &connection)
{
    RowInserter banks(connection, QStringLiteral("BANCO"), {QStringLiteral("BANCOD"), QStringLiteral("BANDES")});
    banks.insert({1, QStringLiteral("BANCO DE LA PROVINCIA")});
    banks.insert({2, QStringLiteral("BANCO DEL SUR")});
    banks.insert({3, QStringLiteral("BANCO COMERCIAL DEL LITORAL")});
    RowInserter accounts(connection, QStringLiteral("CTAPROP"),
                         {QStringLiteral("CTATIP"), QStringLiteral("CTABCO"), QStringLiteral("CTACOD"), QStringLiteral("CTADES"),
                          QStringLiteral("CTANRO")});
    accounts.insert({QStringLiteral("CC"), 1, 1, QStringLiteral("CUENTA CORRIENTE PRINCIPAL"), QStringLiteral("0012-345678/9")});
    accounts.insert({QStringLiteral("CA"), 2, 2, QStringLiteral("CAJA DE AHORRO EN PESOS"), QStringLiteral("4410-221133/0")});
    RowInserter cards(connection, QStringLiteral("TARJETAS"),
                      {QStringLiteral("TARCOD"), QStringLiteral("TARNOM"), QStringLiteral("TARBCO"), QStringLiteral("TARCTA"),
                       QStringLiteral("TARDIA")});
    cards.insert({1, QStringLiteral("VISA"), QStringLiteral("BANCO DE LA PROVINCIA"), QStringLiteral("0012-345678/9"), 18});
    cards.insert({2, QStringLiteral("MASTERCARD"), QStringLiteral("BANCO DE LA PROVINCIA"), QStringLiteral("0012-345678/9"), 18});
    cards.insert({3, QStringLiteral("CABAL"), QStringLiteral("BANCO DEL SUR"), QStringLiteral("4410-221133/0"), 30});
    cards.insert({4, QStringLiteral("AMERICAN EXPRESS"), QStringLiteral("BANCO DEL SUR"), QStringLiteral("4410-221133/0"), 30});
}

void writeTicketLayout(vx::Connection &connection)
{
    RowInserter layout(connection, QStringLiteral("FILCOL"),
                       {QStringLiteral("FCTIPO"), QStringLiteral("FCCOMPRO"), QStringLiteral("FCESPACIO"),
                        QStringLiteral("FCFILA01"), QStringLiteral("FCCOL01")});
    layout.insert({QStringLiteral("TK"), QStringLiteral("TICKET"), 40, 20, 140});
}

}  // namespace

QString ean13WithCheckDigit(const QString &stem)
{
    int sum = 0;
    for (int i = 0; i < stem.size(); ++i)
        sum += stem[i].digitValue() * (i % 2 == 0 ? 1 : 3);
    return stem + QString::number((10 - sum % 10) % 10);
}

QString demoTicketHeader()
{
    return QStringLiteral("TIENDA LA ESTACION\nAv. Corrientes 1234\n(1043) C.A.B.A.\nTEL: 11-4321-0000\n"
                          "CUIT 30-71122334-5\nIVA: Responsable Inscripto\n");
}

void fillDemoShop(vx::Connection &connection)
{
    writeOperators(connection);
    writeCustomers(connection);
    writeCatalogue(connection, "MARCAS", "MARCOD", "MARDES", brands, int(std::size(brands)));
    writeCatalogue(connection, "COLORES", "COLCOD", "COLDES", colours, int(std::size(colours)));
    writeCatalogue(connection, "TALLES", "TALCOD", "TALDES", letterSizes, int(std::size(letterSizes)));
    writeCatalogue(connection, "TALLES", "TALCOD", "TALDES", numberSizes, int(std::size(numberSizes)));
    writeArticles(connection);
    writeBanksAndCards(connection);
    writeTicketLayout(connection);
}

}  // namespace data
