#include "bench/SyntheticShop.h"

#include "data/DemoShop.h"
#include "data/Schema.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

namespace bench {

namespace {

// The history ends on a fixed day so that a seed gives the same shop whatever day it is built.
const QDate historyEnd(2025, 12, 31);
constexpr int historyYears = 4;

// Shop hours: movements of a day are spread over them in time order.
constexpr int openingSecond = 9 * 3600;
constexpr int businessSeconds = 11 * 3600 + 1800;

struct Catalogued {
    int code;
    const char *name;
};

enum class SizeKind { Letters, Numbers };

struct Garment {
    const char *name;
    SizeKind sizes;
};

const Garment garments[] = {
    {"REMERA", SizeKind::Letters},    {"CAMISA", SizeKind::Letters},        {"PANTALON", SizeKind::Numbers},
    {"JEAN", SizeKind::Numbers},      {"BUZO", SizeKind::Letters},          {"CAMPERA", SizeKind::Letters},
    {"POLLERA", SizeKind::Numbers},   {"VESTIDO", SizeKind::Letters},       {"CHOMBA", SizeKind::Letters},
    {"BERMUDA", SizeKind::Numbers},   {"SWEATER", SizeKind::Letters},       {"CARDIGAN", SizeKind::Letters},
    {"CHALECO", SizeKind::Letters},   {"SACO", SizeKind::Numbers},          {"TAPADO", SizeKind::Letters},
    {"SHORT", SizeKind::Letters},     {"CALZA", SizeKind::Letters},         {"JOGGING", SizeKind::Letters},
    {"MUSCULOSA", SizeKind::Letters}, {"BLUSA", SizeKind::Letters},         {"TOP", SizeKind::Letters},
    {"PIJAMA", SizeKind::Letters},    {"CAMISOLA", SizeKind::Letters},      {"ENTERITO", SizeKind::Letters},
    {"MALLA", SizeKind::Letters},     {"TRAJE DE BAÑO", SizeKind::Letters}, {"ZAPATILLA", SizeKind::Numbers},
    {"BOTA", SizeKind::Numbers},      {"SANDALIA", SizeKind::Numbers},      {"MOCASIN", SizeKind::Numbers},
    {"GORRO", SizeKind::Letters},     {"BUFANDA", SizeKind::Letters},
};
const char *const materials[] = {"ALGODON", "LINO",     "GABARDINA",  "DENIM",   "FRISA",   "LANA", "MODAL",
                                 "LYCRA",   "CUERO",    "GAMUZA",     "POLAR",   "SATEN",   "SEDA", "JERSEY",
                                 "PIQUE",   "CORDEROY", "MICROFIBRA", "RUSTICO", "BAMBULA", "TUSOR"};
const char *const details[] = {"MANGA LARGA", "MANGA CORTA",   "CUELLO V",    "CUELLO REDONDO", "CON CAPUCHA",
                               "ESTAMPADO",   "LISO",          "RAYADO",      "A CUADROS",      "BORDADO",
                               "OVERSIZE",    "SLIM",          "RECTO",       "CHUPIN",         "OXFORD",
                               "CARGO",       "BASICO",        "ROMPEVIENTO", "TEJIDO",         "ACOLCHADO",
                               "CON CIERRE",  "CON BOLSILLOS", "ENGOMADO",    "DESFLECADO"};
const char *const audiences[] = {"HOMBRE", "MUJER", "NIÑO", "NIÑA", "UNISEX", "BEBE"};

const Catalogued brands[] = {
    {1, "ANDINA"},        {2, "PAMPA SPORT"}, {3, "RIO AZUL"}, {4, "URBANA"},     {5, "COSTA"},
    {6, "PATAGONIA SUR"}, {7, "LITORAL"},     {8, "DELTA"},    {9, "CUYO JEANS"}, {10, "NORTE"},
    {11, "ALTO VALLE"},   {12, "LA PLATA"},   {13, "MAREA"},   {14, "QUEBRADA"},  {15, "SIERRAS"},
    {16, "TALAR"},        {17, "OMBU"},       {18, "CEIBO"},   {19, "LAPACHO"},   {20, "TIPA"},
    {21, "MAITEN"},       {22, "CALDEN"},     {23, "CHAÑAR"},  {24, "ALGARROBO"}, {25, "QUEBRACHO"},
};
const Catalogued colours[] = {
    {1, "NEGRO"},    {2, "BLANCO"},   {3, "AZUL"},    {4, "ROJO"},           {5, "GRIS"},         {6, "VERDE"},
    {7, "BEIGE"},    {8, "MARRON"},   {9, "CELESTE"}, {10, "ROSA"},          {11, "BORDO"},       {12, "AMARILLO"},
    {13, "NARANJA"}, {14, "VIOLETA"}, {15, "CRUDO"},  {16, "VERDE MILITAR"}, {17, "AZUL MARINO"}, {18, "MELANGE"},
};
const Catalogued letterSizes[] = {{1, "XS"}, {2, "S"}, {3, "M"}, {4, "L"}, {5, "XL"}, {6, "XXL"}};
const Catalogued numberSizes[] = {{34, "34"}, {35, "35"}, {36, "36"}, {37, "37"}, {38, "38"}, {39, "39"}, {40, "40"},
                                  {41, "41"}, {42, "42"}, {43, "43"}, {44, "44"}, {45, "45"}, {46, "46"}};

const char *const surnames[] = {"GARCIA",    "RODRIGUEZ", "GONZALEZ", "FERNANDEZ", "LOPEZ",     "MARTINEZ",  "SANCHEZ",
                                "PEREZ",     "GOMEZ",     "MARTIN",   "JIMENEZ",   "RUIZ",      "HERNANDEZ", "DIAZ",
                                "MORENO",    "ALVAREZ",   "ROMERO",   "ALONSO",    "GUTIERREZ", "NAVARRO",   "TORRES",
                                "DOMINGUEZ", "VAZQUEZ",   "RAMOS",    "GIL",       "D'ANGELO",  "MUÑOZ",     "IBAÑEZ"};
const char *const givenNames[] = {"MARIA", "JUAN",    "ANA",      "CARLOS",  "LAURA",  "JORGE",   "SOFIA",
                                  "LUCAS", "PAULA",   "MARTIN",   "JULIA",   "DIEGO",  "VALERIA", "PABLO",
                                  "LUCIA", "NICOLAS", "CAROLINA", "FACUNDO", "NOELIA", "MATIAS"};
const char *const streets[] = {"SAN MARTIN", "BELGRANO", "RIVADAVIA",  "MITRE",      "SARMIENTO",  "MORENO",
                               "ITALIA",     "ESPAÑA",   "CORRIENTES", "25 DE MAYO", "9 DE JULIO", "URQUIZA"};
const char *const towns[] = {"ROSARIO",  "CORDOBA", "MENDOZA", "LA PLATA", "MAR DEL PLATA", "SALTA",
                             "SANTA FE", "PARANA",  "NEUQUEN", "TANDIL",   "BAHIA BLANCA",  "C.A.B.A."};
const char *const provinces[] = {"SANTA FE", "CORDOBA",    "MENDOZA", "BUENOS AIRES", "BUENOS AIRES", "SALTA",
                                 "SANTA FE", "ENTRE RIOS", "NEUQUEN", "BUENOS AIRES", "BUENOS AIRES", "C.A.B.A."};

// When an event happened, in the forms its rows store.
struct Moment {
    QVariant date;  // the day, as stored
    QVariant stamp; // the day and time of recording, as stored
    QString hour;   // "hh:mm:ss", as MOVHOR keeps it
};

// One prepared INSERT for many rows. Values are bound in column order, already in the form the
// engine stores (dates converted once per day or event, not once per row).
class Inserter {
public:
    Inserter(vx::Connection &connection, const QString &table, const QStringList &columns)
        : m_query(connection.database()), m_table(table), m_columns(int(columns.size()))
    {
        QStringList marks;
        for (int i = 0; i < m_columns; ++i)
            marks << QStringLiteral("?");
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        if (!m_query.prepare(sql))
            fail();
    }

    template<typename... Values> void insert(const Values &...values)
    {
        static_assert(sizeof...(Values) > 0);
        if (int(sizeof...(Values)) != m_columns)
            throw vx::DbError(QStringLiteral("%1: se dieron %2 valores para %3 columnas.")
                                  .arg(m_table)
                                  .arg(sizeof...(Values))
                                  .arg(m_columns));
        int i = 0;
        (m_query.bindValue(i++, QVariant(values)), ...);
        if (!m_query.exec())
            fail();
        ++m_rows;
    }

    qint64 rows() const { return m_rows; }

private:
    [[noreturn]] void fail() const
    {
        throw vx::DbError(QStringLiteral("No se pudo agregar una fila a %1: %2")
                              .arg(m_table, vx::Connection::errorText(m_query.lastError())));
    }

    QSqlQuery m_query;
    QString m_table;
    int m_columns;
    qint64 m_rows = 0;
};

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *name : list)
        out << QString::fromLatin1(name);
    return out;
}

double roundedMoney(double value)
{
    return std::round(value * 100.0) / 100.0;
}

// Every table of a history, written side by side as the events happen.
struct HistoryTables {
    explicit HistoryTables(vx::Connection &c)
        : movim(c, QStringLiteral("MOVIM"),
                names({"MOVTIP", "MOVFEC", "MOVHOR", "MOVNRO", "MOVCAN1", "MOVCAN2", "MOVOBS", "MOVCMCT", "MOVOPE"})),
          ingresos(
              c, QStringLiteral("INGRESOS"),
              names({"INGFEC", "INGHOR", "INGNRO", "INGCAN1", "INGCAN2", "INGCOS1", "INGCOS2", "INGCMCT", "INGNIV"})),
          egresos(c, QStringLiteral("EGRESOS"),
                  names({"EGRFEC", "EGRHOR", "EGRNRO", "EGRCAN1", "EGRCAN2", "EGRCOS1", "EGRCOS2", "EGROBS", "EGRCMCT",
                         "EGRVTA1", "EGRNIV", "EGROPE", "EGRCLI"})),
          clicom(c, QStringLiteral("CLICOM"),
                 names({"COMTIP", "COMNRO", "COMCLI", "COMTOT", "COMSUB", "COMSAL", "COMDIA", "COMPOR", "COMANU",
                        "COMOPE"})),
          itecli(c, QStringLiteral("ITECLI"),
                 names({"ITETIP", "ITEFEC", "ITECOM", "ITECOD", "ITECAN", "ITEPRE", "ITECAU", "ITEEDI", "ITEPOR",
                        "ITEANU", "ITEOPE", "ITECLI"}))
    {
    }

    Inserter movim;
    Inserter ingresos;
    Inserter egresos;
    Inserter clicom;
    Inserter itecli;
};

struct Operator {
    int code;
    int level;
};
const Operator operators[] = {{1, 9}, {2, 1}, {3, 2}, {4, 2}};

class ShopGenerator {
public:
    ShopGenerator(vx::Connection &connection, const ShopSize &size)
        : m_connection(connection), m_size(size), m_rng(size.seed)
    {
    }

    ShopCounts run()
    {
        writeOperators();
        writeCatalogues();
        writeCustomers();
        writeArticles();
        writeHistory();
        return m_counts;
    }

private:
    // Uniform whole number in [low, high].
    int between(int low, int high) { return low + int(m_rng() % std::uint32_t(high - low + 1)); }
    double fraction() { return double(m_rng()) / 4294967296.0; }
    bool chance(double probability) { return fraction() < probability; }
    template<typename T, size_t N> const T &pick(const T (&list)[N]) { return list[m_rng() % N]; }

    QVariant storedDate(const QDate &day, const QTime &time = QTime(0, 0)) const
    {
        return m_connection.dialect().toDatabase(vx::naiveDateTime(day, time), vx::FieldType::DateTime);
    }

    void writeOperators();
    void writeCatalogues();
    void writeCatalogue(const char *table, const char *code, const char *name, const Catalogued *entries, int count);
    void writeCustomers();
    void writeCustomer(Inserter &rows, int code);
    void writeArticles();
    void writeArticle(Inserter &rows, size_t i);
    QString description(const Garment &garment);
    QString originCode();
    const Catalogued &pickSize(SizeKind kind);

    void writeHistory();
    std::vector<qint64> dayQuotas(const QDate &first, int days);
    void writeDay(const QDate &day, qint64 quota);
    Moment moment(const QDate &day, const QVariant &storedDay, double progress);
    qint64 writeReceipt(const Moment &when, qint64 room);
    qint64 writeIssue(const Moment &when, qint64 room);
    qint64 writeSale(const Moment &when, qint64 room);
    int saleLines();
    int pickArticle();
    int pickCustomer();

    vx::Connection &m_connection;
    ShopSize m_size;
    std::mt19937 m_rng;
    ShopCounts m_counts;
    std::vector<QString> m_codes;  // per article
    std::vector<double> m_costs;   // ARTCOS1 per article
    std::vector<double> m_prices;  // ARTVEN1 per article
    std::vector<double> m_prices2; // ARTVEN2 per article
    std::vector<bool> m_invoiceA;  // per customer code: sales to it are vouchers "1A"
    std::optional<HistoryTables> m_history;
    int m_nextReceipt = 1;
    int m_nextIssue = 1;
    int m_nextSale = 1;
};

void ShopGenerator::writeOperators()
{
    Inserter rows(m_connection, QStringLiteral("OPERADOR"), names({"OPECOD", "OPEAPE", "OPECLA", "OPENIV"}));
    for (const Operator &op : operators)
        rows.insert(op.code, QStringLiteral("OPERADOR %1").arg(op.code), QStringLiteral("clave%1").arg(op.code),
                    op.level);
}

void ShopGenerator::writeCatalogue(const char *table, const char *code, const char *name, const Catalogued *entries,
                                   int count)
{
    Inserter rows(m_connection, QString::fromLatin1(table), names({code, name}));
    for (int i = 0; i < count; ++i)
        rows.insert(entries[i].code, QString::fromUtf8(entries[i].name));
}

void ShopGenerator::writeCatalogues()
{
    writeCatalogue("MARCAS", "MARCOD", "MARDES", brands, int(std::size(brands)));
    writeCatalogue("COLORES", "COLCOD", "COLDES", colours, int(std::size(colours)));
    writeCatalogue("TALLES", "TALCOD", "TALDES", letterSizes, int(std::size(letterSizes)));
    writeCatalogue("TALLES", "TALCOD", "TALDES", numberSizes, int(std::size(numberSizes)));
}

void ShopGenerator::writeCustomers()
{
    // CLICOD is a small integer: a big shop still has at most a few tens of thousands of customers.
    const int count = int(std::clamp<qint64>(m_size.customers > 0 ? m_size.customers : m_size.articles / 100, 20, 30000));
    Inserter rows(m_connection, QStringLiteral("CLIENTE"),
                  names({"CLICOD", "CLIAPE", "CLIDIR", "CLILOC", "CLIC_P", "CLITEL", "CLICUI", "CLIIVA", "CLITDOC",
                         "CLINDOC", "CLIPRO", "CLISAL", "CLIFEC"}));
    m_invoiceA.assign(size_t(count) + 1, false);
    const QVariant firstDay = storedDate(historyEnd.addYears(-historyYears));
    rows.insert(1, QStringLiteral("CONSUMIDOR FINAL"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                QStringLiteral("CONSUMIDOR FINAL"), QStringLiteral("D.N.I."), 0, QVariant(), 0.0, firstDay);
    for (int code = 2; code <= count; ++code)
        writeCustomer(rows, code);
    m_counts.customers = rows.rows();
}

// Every random draw has a statement of its own: the order in which a call's arguments are worked
// out is up to the compiler, and the shop must not depend on it.
void ShopGenerator::writeCustomer(Inserter &rows, int code)
{
    const double kind = fraction();
    const char *tax = kind < 0.70   ? "CONSUMIDOR FINAL"
                      : kind < 0.85 ? "MONOTRIBUTISTA"
                      : kind < 0.95 ? "RESP. INSCRIPTO"
                      : kind < 0.97 ? "RESP. NO INSCRIPTO"
                                    : "RESP. EXENTO";
    m_invoiceA[size_t(code)] = kind >= 0.85 && kind < 0.97;
    const QString surname = QString::fromUtf8(pick(surnames));
    const QString name = surname + QLatin1Char(' ') + QString::fromUtf8(pick(givenNames));
    const QString street = QString::fromUtf8(pick(streets));
    const QString address = street + QLatin1Char(' ') + QString::number(between(1, 9800));
    const int town = between(0, int(std::size(towns)) - 1);
    const QString postcode = QString::number(between(1000, 9431));
    const QString area = QString::number(between(11, 388));
    const QString phone = area + QLatin1Char('-') + QString::number(between(4000000, 4999999));
    const int document = between(10000000, 45999999);
    const QString cuit = kind >= 0.70 ? QStringLiteral("20%1%2").arg(document).arg(between(0, 9)) : QString();
    const QDate since = historyEnd.addDays(-between(0, historyYears * 365));
    rows.insert(code, name, address, QString::fromUtf8(towns[town]), postcode, phone, cuit, QString::fromLatin1(tax),
                QStringLiteral("D.N.I."), document, QString::fromUtf8(provinces[town]), 0.0, storedDate(since));
}

const Catalogued &ShopGenerator::pickSize(SizeKind kind)
{
    return kind == SizeKind::Letters ? pick(letterSizes) : pick(numberSizes);
}

// A garment first, then its material, style and audience in a varied order, so that searches by
// the start of a description find a few or many articles depending on how much is typed.
QString ShopGenerator::description(const Garment &garment)
{
    QStringList words{QString::fromUtf8(pick(materials)), QString::fromUtf8(pick(details))};
    if (chance(0.6))
        words << QString::fromUtf8(pick(audiences));
    std::shuffle(words.begin(), words.end(), m_rng);
    QString text = QString::fromUtf8(garment.name);
    for (const QString &word : std::as_const(words)) {
        // The article window takes 45 characters.
        if (text.size() + 1 + word.size() <= 45)
            text += QLatin1Char(' ') + word;
    }
    return text;
}

// A supplier's code: not unique (several articles share one) and in a few supplier styles.
QString ShopGenerator::originCode()
{
    const int number = between(1, int(std::max<qint64>(m_size.articles / 3, 10)));
    switch (between(0, 2)) {
    case 0:
        return QStringLiteral("PRV-%1").arg(number);
    case 1:
        return QString::number(10000000 + number);
    default:
        return QStringLiteral("%1%2").arg(QChar(char16_t(u'A' + number % 26))).arg(number, 6, 10, QLatin1Char('0'));
    }
}

void ShopGenerator::writeArticle(Inserter &rows, size_t i)
{
    const Garment &garment = pick(garments);
    const QString text = description(garment);
    const Catalogued &brand = pick(brands);
    const Catalogued &colour = pick(colours);
    const Catalogued &size = pickSize(garment.sizes);
    const QString origin = originCode();
    const double reorderPoint = between(0, 5);
    const double inShop = between(0, 40);
    const double inStore = between(0, 80);
    const double cost = std::round(800.0 + 59200.0 * std::pow(fraction(), 2.0));
    const double secondCost = roundedMoney(cost * (0.95 + 0.1 * fraction()));
    const QDate lastIn = historyEnd.addDays(-between(0, historyYears * 365));
    const QDate lastOut = historyEnd.addDays(-between(0, historyYears * 365));
    const double margin = between(40, 90);
    double prices[4];
    for (int list = 0; list < 4; ++list)
        prices[list] = roundedMoney(cost * (1 + (margin - 10 * list) / 100));
    m_codes[i] = syntheticOwnCode(qint64(i));
    m_costs[i] = cost;
    m_prices[i] = prices[0];
    m_prices2[i] = prices[1];
    rows.insert(origin, m_codes[i], text, brand.code, QString::fromUtf8(brand.name), colour.code,
                QString::fromUtf8(colour.name), size.code, QString::fromUtf8(size.name), reorderPoint, inShop, inStore,
                cost, secondCost, storedDate(lastIn), storedDate(lastOut), prices[0], prices[1], prices[2], prices[3],
                margin, margin - 10, margin - 20, margin - 30);
}

void ShopGenerator::writeArticles()
{
    Inserter rows(m_connection, QStringLiteral("STOCK"),
                  names({"ARTCOD",  "ARTCMCT", "ARTDES",  "ARTMAR",  "ARTMARD", "ARTCOL",  "ARTCOLD", "ARTTAL",
                         "ARTTALD", "ARTREP",  "ARTEX1",  "ARTEX2",  "ARTCOS1", "ARTCOS2", "ARTFEC1", "ARTFEC2",
                         "ARTVEN1", "ARTVEN2", "ARTVEN3", "ARTVEN4", "ARTUTI1", "ARTUTI2", "ARTUTI3", "ARTUTI4"}));
    const auto count = size_t(m_size.articles);
    m_codes.resize(count);
    m_costs.resize(count);
    m_prices.resize(count);
    m_prices2.resize(count);
    for (size_t i = 0; i < count; ++i)
        writeArticle(rows, i);
    m_counts.articles = rows.rows();
}

// Best sellers move far more often than the long tail: article i is drawn with a weight that
// falls with i.
int ShopGenerator::pickArticle()
{
    return int(double(m_size.articles) * std::pow(fraction(), 1.5));
}

int ShopGenerator::pickCustomer()
{
    // Most sales go to the walk-in customer.
    if (chance(0.55))
        return 1;
    return between(2, int(m_invoiceA.size()) - 1);
}

void ShopGenerator::writeHistory()
{
    if (m_size.articles <= 0 || m_size.movements <= 0)
        return;
    m_history.emplace(m_connection);
    const QDate first = historyEnd.addYears(-historyYears).addDays(1);
    const int days = int(first.daysTo(historyEnd)) + 1;
    const std::vector<qint64> quotas = dayQuotas(first, days);
    for (int d = 0; d < days; ++d)
        writeDay(first.addDays(d), quotas[size_t(d)]);
    m_counts.movements = m_history->movim.rows();
    m_counts.receiptLines = m_history->ingresos.rows();
    m_counts.issueLines = m_history->egresos.rows();
    m_counts.sales = m_history->clicom.rows();
    m_counts.saleLines = m_history->itecli.rows();
    m_history.reset();
}

// Movements per day: busier Saturdays and Decembers, quiet Sundays, some noise; the quotas add up
// to exactly the movements asked for.
std::vector<qint64> ShopGenerator::dayQuotas(const QDate &first, int days)
{
    std::vector<double> weights(static_cast<size_t>(days));
    double total = 0;
    for (int d = 0; d < days; ++d) {
        const QDate day = first.addDays(d);
        double weight = day.dayOfWeek() == 7 ? 0.4 : day.dayOfWeek() == 6 ? 1.4 : 1.0;
        if (day.month() == 12)
            weight *= 1.6;
        weight *= 0.8 + 0.4 * fraction();
        weights[size_t(d)] = weight;
        total += weight;
    }
    std::vector<qint64> quotas(static_cast<size_t>(days));
    double cumulative = 0;
    qint64 given = 0;
    for (int d = 0; d < days; ++d) {
        cumulative += weights[size_t(d)];
        const auto upTo = qint64(std::llround(double(m_size.movements) * cumulative / total));
        quotas[size_t(d)] = upTo - given;
        given = upTo;
    }
    return quotas;
}

Moment ShopGenerator::moment(const QDate &day, const QVariant &storedDay, double progress)
{
    const int second = openingSecond + int(progress * businessSeconds) + between(0, 59);
    const QTime time = QTime(0, 0).addSecs(std::min(second, 86399));
    return {storedDay, storedDate(day, time), time.toString(QStringLiteral("hh:mm:ss"))};
}

// Receipts now and then, a few goods issues, and sales for the rest.
void ShopGenerator::writeDay(const QDate &day, qint64 quota)
{
    const QVariant storedDay = storedDate(day);
    qint64 written = 0;
    while (written < quota) {
        const Moment when = moment(day, storedDay, double(written) / double(quota));
        const qint64 room = quota - written;
        const double kind = fraction();
        if (kind < 0.06)
            written += writeReceipt(when, room);
        else if (kind < 0.09)
            written += writeIssue(when, room);
        else
            written += writeSale(when, room);
    }
}

qint64 ShopGenerator::writeReceipt(const Moment &when, qint64 room)
{
    const int number = m_nextReceipt++;
    const QString note = QStringLiteral("Por Ingreso Nro. %1").arg(number);
    const qint64 lines = std::min<qint64>(between(3, 25), room);
    const int level = chance(0.5) ? 9 : 1;
    for (qint64 l = 0; l < lines; ++l) {
        const auto a = size_t(pickArticle());
        const double inShop = between(1, 24);
        const double inStore = chance(0.5) ? 0.0 : between(1, 48);
        m_history->ingresos.insert(when.date, when.stamp, number, inShop, inStore, m_costs[a], m_costs[a], m_codes[a],
                                   level);
        // Goods receipts leave the movement's operator empty.
        m_history->movim.insert(QStringLiteral("I"), when.date, when.hour, number, inShop, inStore, note, m_codes[a],
                                QVariant());
    }
    return lines;
}

qint64 ShopGenerator::writeIssue(const Moment &when, qint64 room)
{
    const int number = m_nextIssue++;
    const QString note = QStringLiteral("Egreso Comprob.No.: %1").arg(number);
    const QString issueNote =
        chance(0.5) ? QStringLiteral("TRASPASO A SUCURSAL") : QStringLiteral("DEVOLUCION A PROVEEDOR");
    const qint64 lines = std::min<qint64>(between(1, 6), room);
    const int customer = pickCustomer();
    for (qint64 l = 0; l < lines; ++l) {
        const auto a = size_t(pickArticle());
        const double fromShop = between(0, 3);
        const double fromStore = fromShop == 0 ? between(1, 6) : 0.0;
        m_history->egresos.insert(when.date, when.stamp, number, fromShop, fromStore, m_prices[a], m_prices2[a],
                                  issueNote, m_codes[a], QVariant(), 1, 2, customer);
        m_history->movim.insert(QStringLiteral("E"), when.date, when.hour, number, fromShop, fromStore, note,
                                m_codes[a], 2);
    }
    return lines;
}

int ShopGenerator::saleLines()
{
    const double r = fraction();
    return r < 0.5 ? 1 : r < 0.75 ? 2 : r < 0.9 ? 3 : between(4, 6);
}

// A sale: its header, and per line the receipt line, the stock issue line and the movement.
qint64 ShopGenerator::writeSale(const Moment &when, qint64 room)
{
    const int number = m_nextSale++;
    const QString note = QStringLiteral("Por Venta Nro. %1").arg(number);
    const qint64 lines = std::min<qint64>(saleLines(), room);
    const int customer = pickCustomer();
    const QString type = m_invoiceA[size_t(customer)] ? QStringLiteral("1A") : QStringLiteral("1B");
    const int seller = between(3, 4);
    const double discount = chance(0.85) ? 0.0 : 5.0 * between(1, 3);
    double subtotal = 0;
    double total = 0;
    for (qint64 l = 0; l < lines; ++l) {
        const auto a = size_t(pickArticle());
        const double quantity = chance(0.8) ? 1.0 : between(2, 3);
        const double listPrice = m_prices[a];
        const double charged = roundedMoney(listPrice - listPrice * discount / 100.0);
        subtotal += quantity * listPrice;
        total += quantity * charged;
        m_history->itecli.insert(type, when.date, number, m_codes[a], quantity, charged, m_costs[a], listPrice,
                                 discount != 0.0 ? QVariant(discount) : QVariant(), false, seller, customer);
        m_history->egresos.insert(when.date, when.stamp, number, quantity, 0.0, m_costs[a], QVariant(), note,
                                  m_codes[a], charged, 2, seller, customer);
        m_history->movim.insert(QStringLiteral("E"), when.date, when.hour, number, quantity, 0.0, note, m_codes[a],
                                seller);
    }
    m_history->clicom.insert(type, number, customer, roundedMoney(total), roundedMoney(subtotal), 0.0, when.date,
                             discount, false, seller);
    return lines;
}

// The tables that receive many rows. Their indexes are built once over the loaded rows instead of
// being kept up to date row by row, which is several times faster for a bulk load; the indexes
// and their names are the schema's own afterwards.
class DeferredIndexes {
public:
    DeferredIndexes(vx::Connection &connection, const QStringList &tables) : m_connection(connection)
    {
        for (const QString &table : tables) {
            for (const QString &statement :
                 connection.dialect().createTableStatements(*connection.schema()->table(table))) {
                if (!statement.startsWith(QLatin1String("CREATE INDEX ")))
                    continue;
                connection.execute(QStringLiteral("DROP INDEX ") + statement.section(QLatin1Char(' '), 2, 2));
                m_creates << statement;
            }
        }
    }

    void build()
    {
        for (const QString &statement : std::as_const(m_creates))
            m_connection.execute(statement);
    }

private:
    vx::Connection &m_connection;
    QStringList m_creates;
};

// A big page cache while the shop is written keeps index pages in memory; the connection gets its
// own setting back afterwards.
class GenerousCache {
public:
    explicit GenerousCache(vx::Connection &connection) : m_connection(connection)
    {
        if (connection.dialect().engine() != vx::SqlDialect::Engine::SQLite)
            return;
        m_previous = connection.scalar(QStringLiteral("PRAGMA cache_size"));
        connection.execute(QStringLiteral("PRAGMA cache_size = -524288"));
    }
    ~GenerousCache()
    {
        if (m_previous.isValid())
            QSqlQuery(m_connection.database())
                .exec(QStringLiteral("PRAGMA cache_size = %1").arg(m_previous.toLongLong()));
    }
    GenerousCache(const GenerousCache &) = delete;
    GenerousCache &operator=(const GenerousCache &) = delete;

private:
    vx::Connection &m_connection;
    QVariant m_previous;
};

} // namespace

ShopSize shopSizeFromOptions(const Context &context)
{
    ShopSize size;
    size.articles = context.option(QStringLiteral("articles"), size.articles);
    size.movements = context.option(QStringLiteral("movements"), size.movements);
    size.customers = context.option(QStringLiteral("customers"), size.customers);
    size.seed = std::uint32_t(context.option(QStringLiteral("seed"), size.seed));
    return size;
}

QString syntheticOwnCode(qint64 article)
{
    // Multiplying by a number prime to 10 permutes the nine-digit numbers, so codes never repeat.
    constexpr qint64 modulus = 1000000000;
    const qint64 scattered = (article * 48271 + 1234567) % modulus;
    return data::ean13WithCheckDigit(QStringLiteral("779%1").arg(scattered, 9, 10, QLatin1Char('0')));
}

ShopCounts fillSyntheticShop(vx::Connection &connection, const ShopSize &size)
{
    ShopCounts counts;
    {
        const GenerousCache cache(connection);
        vx::Transaction transaction(connection);
        DeferredIndexes indexes(connection, names({"STOCK", "INGRESOS", "EGRESOS", "MOVIM", "CLICOM", "ITECLI"}));
        counts = ShopGenerator(connection, size).run();
        indexes.build();
        transaction.commit();
    }
    // Fold the journal back into the database file, so that readers start from a compact file.
    if (connection.dialect().engine() == vx::SqlDialect::Engine::SQLite)
        connection.execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    // The rows went in through statements of their own: datasets on this connection must not trust
    // rows they read before.
    connection.noteWrite();
    return counts;
}

std::unique_ptr<vx::Connection> createSyntheticShop(const QString &path, const ShopSize &size, ShopCounts *counts)
{
    std::unique_ptr<vx::Connection> connection = vx::Connection::openSqlite(path, &data::vendrixSchema(), true);
    connection->createSchema();
    const ShopCounts written = fillSyntheticShop(*connection, size);
    if (counts)
        *counts = written;
    return connection;
}

} // namespace bench
