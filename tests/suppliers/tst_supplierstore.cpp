#include "SupplierTestShop.h"

#include "stock/GoodsReceipt.h"
#include "suppliers/SupplierStore.h"

#include <QTest>

#include <functional>

using suppliers::PaymentError;

namespace {

const QDate day(2026, 11, 2);

struct Step {
    const char *name;
    std::function<void(SupplierTestShop &)> act;
    QString refusal;   // the message the recording must refuse with; empty: it must succeed
    double balanceOf1; // CLISAL of supplier 1 afterwards
};

suppliers::Supplier named(int code, const QString &name, const QString &town = {})
{
    suppliers::Supplier s;
    s.code = code;
    s.name = name;
    s.town = town;
    s.date = day;
    return s;
}

void save(SupplierTestShop &shop, const suppliers::Supplier &s, bool proposed, bool modify, int expectedCode)
{
    const suppliers::SupplierSaved saved = suppliers::saveSupplier(shop.db(), {s, proposed, modify});
    if (saved.code != expectedCode)
        throw std::runtime_error(QStringLiteral("stored under %1").arg(saved.code).toStdString());
}

qint64 keyOf(SupplierTestShop &shop, const QString &type, double number)
{
    return shop.db()
        .scalar(QStringLiteral("SELECT COMUNO FROM PROCOM WHERE COMCLI = 1 AND COMTIP = ? AND COMNRO = ?"), {type, number})
        .toLongLong();
}

void record(SupplierTestShop &shop, int supplier, const char *type, double number, double total)
{
    suppliers::SupplierDocument d{supplier,
                                  QLatin1String(type) == QLatin1String("26") ? suppliers::DocumentType::Credit
                                                                             : suppliers::DocumentType::Invoice,
                                  number, day, total, 1, day.addDays(30), QStringLiteral("REMITO 55")};
    suppliers::recordSupplierDocument(shop.db(), d);
}

void cancel(SupplierTestShop &shop, const char *type, double number)
{
    suppliers::cancelSupplierDocument(shop.db(), keyOf(shop, QLatin1String(type), number));
}

// Goods received from the supplier through the receipt recording.
void receive(SupplierTestShop &shop, int supplier)
{
    if (shop.count(QStringLiteral("STOCK")) == 0)
        shop.insert(QStringLiteral("STOCK"), {QStringLiteral("ARTCMCT"), QStringLiteral("ARTEX1")},
                    {QStringLiteral("0000000000001"), 0.0});
    stock::ReceiptEntry entry;
    entry.dateText = QStringLiteral("02/11/2026");
    entry.lines = {{QStringLiteral("0000000000001"), QStringLiteral("BOTON"), 10, 1.5, 0, 0}};
    entry.supplierCode = supplier;
    stock::recordReceipt(shop.db(), entry);
}

// The steps of a shop keeping its suppliers, in order; each leaves the balance equal to the open documents.
QList<Step> steps()
{
    return {
        {"a new supplier is stored upper-cased",
         [](auto &shop) { save(shop, named(1, QStringLiteral(" textil del sur ")), true, false, 1); }, {}, 0},
        {"a proposed code taken meanwhile moves to the next free one",
         [](auto &shop) { save(shop, named(1, QStringLiteral("BOTONES SA")), true, false, 2); }, {}, 0},
        {"a typed code taken meanwhile is refused",
         [](auto &shop) { save(shop, named(2, QStringLiteral("HILOS")), false, false, 2); },
         QStringLiteral("Otra estación grabó el proveedor con Código 2"), 0},
        {"another supplier's name is refused",
         [](auto &shop) { save(shop, named(2, QStringLiteral("Textil del Sur")), false, true, 2); },
         QStringLiteral("Ya hay un proveedor llamado TEXTIL DEL SUR (Código 1)."), 0},
        {"a supplier with an empty name is refused",
         [](auto &shop) { save(shop, named(3, QStringLiteral("  ")), false, false, 3); },
         QStringLiteral("Debe ingresar el nombre del proveedor."), 0},
        {"invoice 100", [](auto &shop) { record(shop, 1, "13", 1, 100); }, {}, 100},
        {"credit 30", [](auto &shop) { record(shop, 1, "26", 1, 30); }, {}, 70},
        {"an invoice number used twice is refused", [](auto &shop) { record(shop, 1, "13", 1, 5); },
         QStringLiteral("El proveedor ya tiene una factura número 1."), 70},
        {"the same number for another supplier is fine", [](auto &shop) { record(shop, 2, "13", 1, 5); }, {}, 70},
        {"a changed supplier keeps its balance",
         [](auto &shop) { save(shop, named(1, QStringLiteral("TEXTIL DEL SUR"), QStringLiteral("ROSARIO")), false, true, 1); },
         {}, 70},
        {"invoice 50,25", [](auto &shop) { record(shop, 1, "13", 2, 50.25); }, {}, 120.25},
        {"cancelling an unpaid invoice puts the balance back", [](auto &shop) { cancel(shop, "13", 2); }, {}, 70},
        {"cancelling it twice is refused", [](auto &shop) { cancel(shop, "13", 2); },
         QStringLiteral("El comprobante ya está anulado."), 70},
        {"40 paid on invoice 1",
         [](auto &shop) {
             suppliers::PaymentEntry entry;
             entry.supplierCode = 1;
             entry.marked = {shop.marked(keyOf(shop, QStringLiteral("13"), 1))};
             entry.cash = 40;
             entry.dateText = QStringLiteral("10/11/2026");
             suppliers::recordPayment(shop.db(), entry);
         },
         {}, 30},
        {"an invoice with payments is not cancelled", [](auto &shop) { cancel(shop, "13", 1); },
         QStringLiteral("El comprobante tiene pagos registrados; no se puede anular."), 30},
        {"cancelling an unused credit", [](auto &shop) { cancel(shop, "26", 1); }, {}, 60},
        {"a supplier with documents is not deleted", [](auto &shop) { suppliers::deleteSupplier(shop.db(), 1); },
         QStringLiteral("Tiene comprobantes registrados."), 60},
        {"a receipt naming a supplier no longer in the file is refused",
         [](auto &shop) { receive(shop, 3); },
         QStringLiteral("No se pudo completar el proceso. El proveedor con Código 3 ya no existe."), 60},
        {"nor one with goods receipts",
         [](auto &shop) {
             save(shop, named(3, QStringLiteral("MERCERIA")), false, false, 3);
             receive(shop, 3);
             suppliers::deleteSupplier(shop.db(), 3);
         },
         QStringLiteral("Tiene comprobantes registrados."), 60},
        {"a supplier nothing refers to is deleted",
         [](auto &shop) {
             save(shop, named(4, QStringLiteral("CIERRES")), false, false, 4);
             suppliers::deleteSupplier(shop.db(), 4);
             if (suppliers::findSupplier(shop.db(), 4))
                 throw std::runtime_error("still there");
         },
         {}, 60},
        {"an unknown supplier", [](auto &shop) { suppliers::deleteSupplier(shop.db(), 9); },
         QStringLiteral("No existe un proveedor con el Código 9."), 60},
    };
}

} // namespace

// Suppliers kept, their documents recorded and cancelled, on the engine under test.
class TestSupplierStore : public QObject {
    Q_OBJECT

private slots:
    void supplierAccounts()
    {
        SupplierTestShop shop;
        for (const Step &step : steps()) {
            QString refused;
            try {
                step.act(shop);
            } catch (const PaymentError &error) {
                refused = error.message();
            } catch (const stock::MovementRecordingError &error) {
                refused = QString::fromUtf8(error.what()) + QLatin1Char(' ') + error.cause();
            } catch (const std::exception &error) {
                refused = QString::fromUtf8(error.what());
            }
            QVERIFY2(step.refusal.isEmpty() ? refused.isEmpty() : refused.startsWith(step.refusal),
                     qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(step.name), refused)));
            QCOMPARE(shop.supplierBalance(1), step.balanceOf1);
            // Each supplier's balance is the sum of its open documents, credits against it.
            const QStringList off = shop.lines(QStringLiteral(
                "SELECT p.CLICOD FROM PROVEEDORES p WHERE ROUND(COALESCE(p.CLISAL, 0) * 100) <> ROUND(COALESCE(("
                "SELECT SUM(CASE WHEN c.COMTIP = '26' THEN -c.COMSAL ELSE c.COMSAL END) FROM PROCOM c "
                "WHERE c.COMCLI = p.CLICOD AND c.COMTIP IN ('13', '26') AND (c.COMANU IS NULL OR c.COMANU = %1)), 0) * 100)")
                                                   .arg(shop.db().dialect().toDatabase(false, vx::FieldType::Boolean).toString()));
            QVERIFY2(off.isEmpty(), qPrintable(QLatin1String(step.name) + QStringLiteral(": off ") + off.join(',')));
        }
        const std::optional<suppliers::Supplier> first = suppliers::findSupplier(shop.db(), 1);
        QVERIFY(first);
        QCOMPARE(first->name, QStringLiteral("TEXTIL DEL SUR"));
        QCOMPARE(first->town, QStringLiteral("ROSARIO"));
        QCOMPARE(shop.lines(QStringLiteral("SELECT COMNRO, COMNOTA FROM PROCOM WHERE COMCLI = 1 AND COMTIP = '13' AND COMNRO = 1")),
                 QStringList{QStringLiteral("1 REMITO 55")});
        QCOMPARE(shop.count(QStringLiteral("PROCOM"), QStringLiteral("COMDIAV IS NOT NULL")), 4);
        QCOMPARE(shop.lines(QStringLiteral("SELECT INGCLI, INGCAN1 FROM INGRESOS")), QStringList{QStringLiteral("3 10")});
    }
};

QTEST_GUILESS_MAIN(TestSupplierStore)
#include "tst_supplierstore.moc"
