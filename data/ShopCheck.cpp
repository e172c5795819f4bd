#include "data/ShopCheck.h"

#include "data/Schema.h"
#include "platform/core/ShopFormat.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QHash>
#include <QSet>

#include <cmath>
#include <functional>

namespace data {

namespace {

// Rows listed under a broken rule; the count says how many there are in all.
constexpr int shownFaults = 10;
// Quantities are stored as floating point: differences below this are rounding, not a fault.
constexpr double quantityTolerance = 0.0005;

QString plural(qint64 n, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(n).arg(n == 1 ? one : many);
}

QString numberText(double value)
{
    return QString::number(qRound64(value));
}

QString quantityText(double value)
{
    return vx::shopformat::formatGeneral(std::round(value * 1000) / 1000);
}

void addFault(ShopCheckItem &item, const QString &line)
{
    if (item.faults.size() < shownFaults)
        item.faults << line;
    ++item.faultCount;
}

// A read-only snapshot: every rule sees the shop as it stood at one moment.
class Snapshot {
public:
    explicit Snapshot(vx::Connection &db) : m_db(db)
    {
        for (const QString &statement : db.dialect().beginReadSnapshot())
            db.execute(statement);
    }
    ~Snapshot()
    {
        QSqlQuery end(m_db.database());
        end.exec(QStringLiteral("ROLLBACK"));
    }
    Snapshot(const Snapshot &) = delete;
    Snapshot &operator=(const Snapshot &) = delete;

private:
    vx::Connection &m_db;
};

struct Sale {
    qint64 key = 0;  // COMUNO: the order in which sales were recorded
    double number = 0;
    qint64 totalCents = 0;
    QDate day;
};

class ShopChecker {
public:
    ShopChecker(vx::Connection &db, const std::function<void(const ShopCheckItem &)> &onItem)
        : m_db(db), m_onItem(onItem)
    {
    }

    ShopCheckReport run()
    {
        ShopCheckReport report;
        report.database = m_db.description();
        const Snapshot snapshot(m_db);
        rule(report, QStringLiteral("Integridad de la base de datos"), [this](ShopCheckItem &item) { integrity(item); });
        rule(report, QStringLiteral("Ventas con sus renglones"), [this](ShopCheckItem &item) { salesHaveLines(item); });
        rule(report, QStringLiteral("Renglones de ventas existentes"), [this](ShopCheckItem &item) { linesHaveSale(item); });
        rule(report, QStringLiteral("Ventas de la caja abierta con sus movimientos de caja"),
             [this](ShopCheckItem &item) { salesHaveCashRows(item); });
        rule(report, QStringLiteral("Stock de cada artículo igual a sus movimientos"),
             [this](ShopCheckItem &item) { stockMatchesJournal(item); });
        rule(report, QStringLiteral("Cupones de tarjeta de ventas existentes"),
             [this](ShopCheckItem &item) { couponsHaveSale(item); });
        return report;
    }

private:
    void rule(ShopCheckReport &report, const QString &title, const std::function<void(ShopCheckItem &)> &check)
    {
        ShopCheckItem item;
        item.title = title;
        try {
            check(item);
        } catch (const vx::DbError &failure) {
            item.faults = {QStringLiteral("no se pudo leer: %1").arg(failure.message())};
            item.faultCount = 1;
            item.summary.clear();
        }
        report.items << item;
        if (m_onItem)
            m_onItem(item);
    }

    QDate day(const QVariant &value) const
    {
        return m_db.dialect().fromDatabase(value, vx::FieldType::DateTime).toDateTime().date();
    }

    QString saleText(const Sale &sale) const
    {
        return QStringLiteral("comprobante %1 del %2").arg(numberText(sale.number), vx::shopformat::formatDate(sale.day));
    }

    void integrity(ShopCheckItem &item)
    {
        if (m_db.dialect().engine() == vx::SqlDialect::Engine::SQLite) {
            QSqlQuery query = m_db.execute(QStringLiteral("PRAGMA integrity_check"));
            while (query.next()) {
                const QString line = query.value(0).toString();
                if (line != QLatin1String("ok"))
                    addFault(item, line);
            }
            item.summary = item.faultCount == 0 ? QStringLiteral("correcta") : QString();
            return;
        }
        // The server keeps its own files whole; reading every row of every table shows that
        // each one can be read back.
        qint64 rows = 0;
        for (const vx::TableDef &table : vendrixSchema().tables())
            rows += m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name)).toLongLong();
        item.summary = QStringLiteral("se leyeron las %1 tablas (%2)")
                           .arg(vendrixSchema().tables().size())
                           .arg(plural(rows, QStringLiteral("fila"), QStringLiteral("filas")));
    }

    const QList<Sale> &sales()
    {
        if (!m_salesRead) {
            QSqlQuery query =
                m_db.execute(QStringLiteral("SELECT COMUNO, COMNRO, COMTOT, COMDIA FROM CLICOM ORDER BY COMUNO"));
            while (query.next())
                m_sales.append({query.value(0).toLongLong(), query.value(1).toDouble(),
                                qRound64(query.value(2).toDouble() * 100), day(query.value(3))});
            m_salesRead = true;
        }
        return m_sales;
    }

    void salesHaveLines(ShopCheckItem &item)
    {
        QSqlQuery query = m_db.execute(
            QStringLiteral("SELECT c.COMUNO, c.COMNRO, c.COMDIA FROM CLICOM c WHERE NOT EXISTS "
                           "(SELECT 1 FROM ITECLI i WHERE i.ITECOM = c.COMNRO) ORDER BY c.COMUNO"));
        while (query.next()) {
            const Sale sale{query.value(0).toLongLong(), query.value(1).toDouble(), 0, day(query.value(2))};
            addFault(item, saleText(sale) + QStringLiteral(": sin renglones"));
        }
        item.summary = plural(sales().size(), QStringLiteral("venta"), QStringLiteral("ventas"));
    }

    void linesHaveSale(ShopCheckItem &item)
    {
        QSqlQuery query = m_db.execute(
            QStringLiteral("SELECT i.ITECOM, COUNT(*) FROM ITECLI i WHERE NOT EXISTS "
                           "(SELECT 1 FROM CLICOM c WHERE c.COMNRO = i.ITECOM) GROUP BY i.ITECOM ORDER BY i.ITECOM"));
        while (query.next())
            addFault(item, QStringLiteral("comprobante %1: %2 sin la venta")
                               .arg(numberText(query.value(0).toDouble()),
                                    plural(query.value(1).toLongLong(), QStringLiteral("renglón"),
                                           QStringLiteral("renglones"))));
        item.summary = plural(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM ITECLI")).toLongLong(),
                              QStringLiteral("renglón"), QStringLiteral("renglones"));
    }

    // A cash closing empties the cash book, so only the sales of the open period still have their
    // rows there. The period begins with the first sale that has any (or with the first sale of
    // all, when the cash was never closed); every later sale with a total must have them too,
    // adding up to that total, and every sale row in the cash book must belong to a sale.
    void salesHaveCashRows(ShopCheckItem &item)
    {
        QHash<qint64, qint64> cashByNumber;
        QSqlQuery cash = m_db.execute(QStringLiteral("SELECT CAJCOM, CAJIMP FROM CAJA WHERE CAJMOV = 'I'"));
        while (cash.next()) {
            bool numeric = false;
            const qint64 number = qRound64(cash.value(0).toString().trimmed().toDouble(&numeric));
            if (!numeric) {
                addFault(item, QStringLiteral("movimiento de caja de una venta sin número de comprobante (\"%1\")")
                                   .arg(cash.value(0).toString()));
                continue;
            }
            cashByNumber[number] += qRound64(cash.value(1).toDouble() * 100);
        }
        const bool everClosed =
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM CAJA WHERE CAJMOV = 'S'")).toLongLong() > 0
            || m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM CAJAD")).toLongLong() > 0;
        qint64 periodStart = everClosed ? -1 : 0;
        for (const Sale &sale : sales()) {
            if (periodStart < 0 && cashByNumber.contains(qRound64(sale.number)))
                periodStart = sale.key;
        }
        QHash<qint64, qint64> soldByNumber;
        qint64 inPeriod = 0;
        for (const Sale &sale : sales()) {
            if (periodStart < 0 || sale.key < periodStart)
                continue;
            ++inPeriod;
            const qint64 number = qRound64(sale.number);
            soldByNumber[number] += sale.totalCents;
            if (sale.totalCents != 0 && !cashByNumber.contains(number))
                addFault(item, saleText(sale) + QStringLiteral(": sin sus movimientos de caja"));
        }
        for (auto it = cashByNumber.cbegin(); it != cashByNumber.cend(); ++it) {
            if (!soldByNumber.contains(it.key()))
                addFault(item, QStringLiteral("comprobante %1: movimientos de caja sin la venta").arg(it.key()));
            else if (soldByNumber.value(it.key()) != it.value())
                addFault(item, QStringLiteral("comprobante %1: la caja suma %2 y la venta %3")
                                   .arg(it.key())
                                   .arg(vx::shopformat::formatFixed(double(it.value()) / 100, 2),
                                        vx::shopformat::formatFixed(double(soldByNumber.value(it.key())) / 100, 2)));
        }
        item.summary = plural(inPeriod, QStringLiteral("venta en la caja abierta"), QStringLiteral("ventas en la caja abierta"));
    }

    void stockMatchesJournal(ShopCheckItem &item)
    {
        QSqlQuery query = m_db.execute(QStringLiteral(
            "SELECT s.ARTCMCT, COALESCE(s.ARTEX1, 0), COALESCE(s.ARTEX2, 0), COALESCE(m.Q1, 0), COALESCE(m.Q2, 0) "
            "FROM STOCK s LEFT JOIN (SELECT MOVCMCT, "
            "SUM(CASE WHEN MOVTIP = 'E' THEN -COALESCE(MOVCAN1, 0) ELSE COALESCE(MOVCAN1, 0) END) AS Q1, "
            "SUM(CASE WHEN MOVTIP = 'E' THEN -COALESCE(MOVCAN2, 0) ELSE COALESCE(MOVCAN2, 0) END) AS Q2 "
            "FROM MOVIM GROUP BY MOVCMCT) m ON m.MOVCMCT = s.ARTCMCT ORDER BY s.ARTCMCT"));
        qint64 articles = 0;
        while (query.next()) {
            ++articles;
            const double stock1 = query.value(1).toDouble();
            const double stock2 = query.value(2).toDouble();
            const double moved1 = query.value(3).toDouble();
            const double moved2 = query.value(4).toDouble();
            const auto differs = [](double a, double b) { return std::abs(a - b) > quantityTolerance; };
            if (differs(stock1, moved1) || differs(stock2, moved2))
                addFault(item, QStringLiteral("artículo %1: stock %2 / %3, movimientos %4 / %5")
                                   .arg(query.value(0).toString(), quantityText(stock1), quantityText(stock2),
                                        quantityText(moved1), quantityText(moved2)));
        }
        item.summary = plural(articles, QStringLiteral("artículo"), QStringLiteral("artículos"));
    }

    void couponsHaveSale(ShopCheckItem &item)
    {
        QSet<qint64> numbers;
        for (const Sale &sale : sales())
            numbers.insert(qRound64(sale.number));
        QSqlQuery query = m_db.execute(QStringLiteral("SELECT CUPNRO, CUPCOM FROM CUPONES ORDER BY Id"));
        qint64 coupons = 0;
        while (query.next()) {
            ++coupons;
            bool numeric = false;
            const qint64 number = qRound64(query.value(1).toString().trimmed().toDouble(&numeric));
            if (!numeric || !numbers.contains(number))
                addFault(item, QStringLiteral("cupón %1: su venta (comprobante \"%2\") no existe")
                                   .arg(query.value(0).toString(), query.value(1).toString()));
        }
        item.summary = plural(coupons, QStringLiteral("cupón"), QStringLiteral("cupones"));
    }

    vx::Connection &m_db;
    const std::function<void(const ShopCheckItem &)> &m_onItem;
    QList<Sale> m_sales;
    bool m_salesRead = false;
};

}  // namespace

bool ShopCheckReport::sound() const
{
    for (const ShopCheckItem &item : items) {
        if (item.faultCount != 0)
            return false;
    }
    return true;
}

QString ShopCheckReport::titleText(const QString &database)
{
    return QStringLiteral("Verificación de la base de datos %1\n").arg(database);
}

QString ShopCheckReport::itemText(const ShopCheckItem &item)
{
    if (item.faultCount == 0)
        return QStringLiteral("  correcto  %1: %2\n").arg(item.title, item.summary);
    QString out = QStringLiteral("  FALLA     %1: %2\n")
                      .arg(item.title, plural(item.faultCount, QStringLiteral("falla"), QStringLiteral("fallas")));
    for (const QString &fault : item.faults)
        out += QStringLiteral("              %1\n").arg(fault);
    if (item.faultCount > item.faults.size())
        out += QStringLiteral("              ... y %1 más\n").arg(item.faultCount - item.faults.size());
    return out;
}

QString ShopCheckReport::resultText() const
{
    qint64 faults = 0;
    for (const ShopCheckItem &item : items)
        faults += item.faultCount;
    return faults == 0 ? QStringLiteral("Resultado: sin fallas.\n")
                       : QStringLiteral("Resultado: %1.\n").arg(plural(faults, QStringLiteral("falla"), QStringLiteral("fallas")));
}

QString ShopCheckReport::text() const
{
    QString out = titleText(database);
    for (const ShopCheckItem &item : items)
        out += itemText(item);
    return out + resultText();
}

ShopCheckReport verifyShop(vx::Connection &db, const std::function<void(const ShopCheckItem &)> &onItem)
{
    return ShopChecker(db, onItem).run();
}

}  // namespace data
