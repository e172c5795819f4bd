#include "SupplierTestShop.h"

#include "platform/db/DateTimeValue.h"

#include <QTest>

using suppliers::PaymentEntry;
using suppliers::PaymentError;

namespace {

const QDate firstDay(2026, 11, 2);

struct Doc {
    const char *type; // "13", "26"; "13 legacy": a second invoice under a number, as older data has it
    double number;
    int day; // days after firstDay
    double total;
};

struct Pay {
    Pay(QList<int> marks_, double cash_, double other_, QString date_, QString receipt_ = {}, bool central_ = false)
        : marks(std::move(marks_)), cash(cash_), other(other_), date(std::move(date_)), receipt(std::move(receipt_)),
          central(central_)
    {
    }
    QList<int> marks; // indexes into the case's documents, in the order the operator marked them
    double cash;
    double other;
    QString date;    // EdFec as typed; empty: today
    QString receipt; // EdNro as typed; empty: the next number
    bool central;
};

struct Case {
    const char *name;
    QList<Doc> docs;
    QList<Pay> pays;
    QList<double> balances;  // each document's COMSAL afterwards
    double supplierBalance;  // CLISAL afterwards
    QStringList lines;       // PAGOS: COBTIP COBNRO COBIMP, in order
    QStringList cash;        // table, CAJTIP and CAJIMP of every money row, CAJA first
    QStringList credits;     // the credits the payments created: COMNRO COMTOT COMSAL
    QStringList paidBy;      // COMREC of the documents marked, when the case looks at it
};

QList<Pay> instalments()
{
    QList<Pay> out;
    for (int i = 1; i <= 5; ++i)
        out << Pay{{0}, 20, 0, QStringLiteral("10/11/2026"), QString::number(1000000000 + i)};
    return out;
}

QList<Doc> tenInvoices()
{
    QList<Doc> out;
    for (int i = 1; i <= 10; ++i)
        out << Doc{"13", 123456700.0 + i, i, 10};
    return out;
}

const QList<Case> &cases()
{
    static const QList<Case> all{
        {"100 older and 50 paid 120",
         {{"13", 7, 0, 100}, {"13", 3, 1, 50}},
         {{{1, 0}, 120, 0, QStringLiteral("20/11/2026")}},
         {0, 30}, 30, {"13 7 100", "13 3 20"}, {"CAJA EF -120"}, {}, {}},
        {"200 against 150 leaves a credit of 50",
         {{"13", 1, 0, 150}},
         {{{0}, 200, 0, QStringLiteral("20/11/2026")}},
         {0}, -50, {"13 1 150", "26 1 50"}, {"CAJA EF -200"}, {"1 50 50"}, {}},
        {"nothing marked: the whole payment is a credit",
         {{"13", 1, 0, 100}},
         {{{}, 80, 0, QStringLiteral("20/11/2026")}},
         {100}, 20, {"26 1 80"}, {"CAJA EF -80"}, {"1 80 80"}, {}},
        {"empty date: today",
         {{"13", 1, 0, 100}},
         {{{0}, 100, 0, QString()}},
         {0}, 0, {"13 1 100"}, {"CAJA EF -100"}, {}, {}},
        {"central cash, cash and other means",
         {{"13", 1, 0, 100}},
         {{{0}, 60, 40, QStringLiteral("20/11/2026"), QString(), true}},
         {0}, 0, {"13 1 100"}, {"CAJAD EF -60", "CAJAD TT -40"}, {}, {}},
        {"invoice 100 and a credit 30 under one number, paid 70",
         {{"13", 5, 0, 100}, {"26", 5, 1, 30}},
         {{{1, 0}, 70, 0, QStringLiteral("20/11/2026")}},
         {0, 0}, 0, {"13 5 100"}, {"CAJA EF -70"}, {}, {"1", "1"}},
        {"two invoices under one number",
         {{"13", 4, 0, 40}, {"13 legacy", 4, 1, 60}},
         {{{0, 1}, 100, 0, QStringLiteral("20/11/2026")}},
         {0, 0}, 0, {"13 4 40", "13 4 60"}, {"CAJA EF -100"}, {}, {}},
        {"five instalments keep the newest receipts",
         {{"13", 9, 0, 100}},
         instalments(),
         {0}, 0, {"13 9 20", "13 9 20", "13 9 20", "13 9 20", "13 9 20"},
         {"CAJA EF -20", "CAJA EF -20", "CAJA EF -20", "CAJA EF -20", "CAJA EF -20"}, {},
         {"1000000002 / 1000000003 / 1000000004 / 1000000005"}},
        {"33,30 paid 11,10 then 22,20 closes it",
         {{"13", 2, 0, 33.30}},
         {{{0}, 11.10, 0, QStringLiteral("20/11/2026")}, {{0}, 22.20, 0, QStringLiteral("21/11/2026")}},
         {0}, 0, {"13 2 11,1", "13 2 22,2"}, {"CAJA EF -11,1", "CAJA EF -22,2"}, {}, {}},
        {"ten invoices",
         tenInvoices(),
         {{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 100, 0, QStringLiteral("20/11/2026")}},
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0,
         {"13 123456701 10", "13 123456702 10", "13 123456703 10", "13 123456704 10", "13 123456705 10",
          "13 123456706 10", "13 123456707 10", "13 123456708 10", "13 123456709 10", "13 123456710 10"},
         {"CAJA EF -100"}, {}, {}},
    };
    return all;
}

PaymentEntry entryFor(SupplierTestShop &shop, int supplier, const QList<qint64> &keys, const Pay &pay)
{
    PaymentEntry entry;
    entry.supplierCode = supplier;
    for (int mark : pay.marks)
        entry.marked << shop.marked(keys[mark]);
    entry.cash = pay.cash;
    entry.otherMeans = pay.other;
    entry.dateText = pay.date;
    entry.receiptNumberText = pay.receipt;
    entry.centralCash = pay.central;
    entry.operatorCode = 3;
    return entry;
}

} // namespace

// The supplier payment recording over the accounts a shop meets, on the engine under test.
class TestSupplierPayment : public QObject {
    Q_OBJECT

    static void expectRefused(const std::function<void()> &work, PaymentError::Kind kind, const QString &message)
    {
        try {
            work();
            QFAIL("the payment was recorded");
        } catch (const PaymentError &error) {
            QCOMPARE(int(error.kind()), int(kind));
            QVERIFY2(error.message().startsWith(message), qPrintable(error.message()));
        }
    }

private slots:
    void payments_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < cases().size(); ++i)
            QTest::newRow(cases()[i].name) << i;
    }

    // Balances, payment lines, cash rows, credits and the supplier's balance after the payments.
    void payments()
    {
        QFETCH(int, index);
        const Case &c = cases()[index];
        SupplierTestShop shop;
        shop.supplier(QStringLiteral("OTRO PROVEEDOR"));
        const int supplier = shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        QList<qint64> keys;
        for (const Doc &doc : c.docs) {
            const QString type = QLatin1String(doc.type);
            const QDate date = firstDay.addDays(doc.day);
            keys << (type.endsWith(QLatin1String("legacy"))
                         ? shop.legacyDocument(supplier, type.left(2), doc.number, date, doc.total)
                         : shop.document(supplier, type, doc.number, date, doc.total));
        }
        QStringList receipts;
        for (const Pay &pay : c.pays) {
            const suppliers::RecordedPayment paid = suppliers::recordPayment(shop.db(), entryFor(shop, supplier, keys, pay));
            receipts << paid.receiptText;
            // Every row of the payment carries its date: the one typed, or today.
            const QDate date = pay.date.isEmpty() ? QDate::currentDate() : vx::shopformat::parseDate(pay.date).value();
            const QVariant stored = shop.db().dialect().toDatabase(vx::naiveDateTime(date), vx::FieldType::DateTime);
            const QString receipt = QString::number(paid.receiptNumber);
            QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM PAGOS WHERE COBREC = ? AND COBFEC = ?"),
                                      {paid.receiptText, stored}).toInt(),
                     shop.count(QStringLiteral("PAGOS"), QStringLiteral("COBREC = '%1'").arg(paid.receiptText)));
            QCOMPARE(shop.lines(QStringLiteral("SELECT COMTOT, COMCLI, BON FROM PROCOM WHERE COMTIP = '10' AND COMNRO = %1")
                                    .arg(receipt)),
                     QStringList{QStringLiteral("%1 %2 N").arg(vx::shopformat::formatGeneral(pay.cash + pay.other)).arg(supplier)});
            for (const QString &table : {QStringLiteral("CAJA"), QStringLiteral("CAJAD")})
                QCOMPARE(shop.db().scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE CAJCOM = ? AND "
                                                         "(CAJFEC <> ? OR CAJSAL <> ? OR CAJENT IS NOT NULL)").arg(table),
                                          {receipt, stored, stored}).toInt(),
                         0);
        }
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(shop.balanceOf(keys[i]), c.balances[i]);
        QCOMPARE(shop.supplierBalance(supplier), c.supplierBalance);
        QCOMPARE(shop.lines(QStringLiteral("SELECT COBTIP, COBNRO, COBIMP FROM PAGOS ORDER BY COBUNO")), c.lines);
        QCOMPARE(shop.lines(QStringLiteral("SELECT 'CAJA', CAJTIP, CAJIMP FROM CAJA UNION ALL "
                                           "SELECT 'CAJAD', CAJTIP, CAJIMP FROM CAJAD ORDER BY 1, 2")),
                 c.cash);
        QCOMPARE(shop.lines(QStringLiteral("SELECT COMNRO, COMTOT, COMSAL FROM PROCOM WHERE COMTIP = '26' AND COMOPE = 3 "
                                           "ORDER BY COMUNO")),
                 c.credits);
        QCOMPARE(shop.count(QStringLiteral("PROCOM"), QStringLiteral("COMTIP = '10'")), c.pays.size());
        QCOMPARE(shop.count(QStringLiteral("PAGOS"), QStringLiteral("COBPRO <> %1").arg(supplier)), 0);
        QCOMPARE(QSet<QString>(receipts.begin(), receipts.end()).size(), receipts.size());
        if (!c.paidBy.isEmpty()) {
            QStringList paidBy;
            for (qint64 key : keys)
                paidBy << shop.db().scalar(QStringLiteral("SELECT COMREC FROM PROCOM WHERE COMUNO = ?"), {key}).toString();
            QCOMPARE(paidBy, c.paidBy);
        }
        // Lists that outgrow their columns are cut, never refused.
        QCOMPARE(shop.count(QStringLiteral("PROCOM"), QStringLiteral("LENGTH(COMREL) > 45 OR LENGTH(COMREC) > 50")), 0);
        if (c.docs.size() == 10) {
            const QString text = shop.db().scalar(QStringLiteral("SELECT CAJCON FROM CAJA")).toString();
            QVERIFY2(text.size() <= 100 && text.startsWith(QStringLiteral("Pago Prov. %1 - FAC  123456701 / 123456702")
                                                                      .arg(supplier)),
                     qPrintable(text));
        }
    }

    // Each refusal says why and writes nothing: no supplier, a list another counter made stale,
    // a date or a number that does not convert, no money, a document of another supplier.
    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("change");
        QTest::newRow("no supplier") << int(PaymentError::Kind::NoSupplier) << "Proveedor no encontrado..." << "nosupplier";
        QTest::newRow("unknown supplier") << int(PaymentError::Kind::NoSupplier) << "Proveedor no encontrado..." << "unknown";
        QTest::newRow("paid since") << int(PaymentError::Kind::Stale) << "Otro puesto pagó" << "stale";
        QTest::newRow("other supplier") << int(PaymentError::Kind::Stale) << "Otro puesto pagó" << "othersupplier";
        QTest::newRow("bad date") << int(PaymentError::Kind::Invalid) << "'31/02/2026' no es una fecha válida" << "date";
        QTest::newRow("bad number") << int(PaymentError::Kind::Invalid) << "El número de recibo \"12A\"" << "number";
        QTest::newRow("no money") << int(PaymentError::Kind::Invalid) << "No hay importe para pagar" << "nomoney";
        QTest::newRow("negative") << int(PaymentError::Kind::Invalid) << "El Efectivo y el importe" << "negative";
        QTest::newRow("busy") << int(PaymentError::Kind::Busy) << "Archivos ocupados, intente en unos instantes."
                              << "busy";
        // PAGOS keeps the supplier in a small integer: a code beyond it fails after the invoice
        // was lowered, and that must be undone.
        QTest::newRow("failure midway") << int(PaymentError::Kind::Failed)
                                        << "No se pudo concluir el proceso. \nIntente nuevamente o aguarde unos instantes..."
                                        << "midway";
    }

    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(QString, change);
        SupplierTestShop shop;
        const int other = shop.supplier(QStringLiteral("OTRO"));
        const int supplier = shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        const qint64 invoice = shop.document(supplier, QStringLiteral("13"), 1, firstDay, 100);
        const qint64 foreign = shop.document(other, QStringLiteral("13"), 2, firstDay, 70);
        PaymentEntry entry = entryFor(shop, supplier, {invoice}, {{0}, 100, 0, QStringLiteral("20/11/2026")});
        if (change == QLatin1String("nosupplier"))
            entry.supplierCode.reset();
        else if (change == QLatin1String("unknown"))
            entry.supplierCode = 99;
        else if (change == QLatin1String("stale"))
            entry.marked.first().shownCents = 12000;
        else if (change == QLatin1String("othersupplier"))
            entry.marked << shop.marked(foreign);
        else if (change == QLatin1String("date"))
            entry.dateText = QStringLiteral("31/02/2026");
        else if (change == QLatin1String("number"))
            entry.receiptNumberText = QStringLiteral("12A");
        else if (change == QLatin1String("nomoney"))
            entry.cash = 0;
        else if (change == QLatin1String("negative"))
            entry.otherMeans = -5;
        int code = supplier;
        if (change == QLatin1String("midway")) {
            code = 40000;
            shop.db().execute(QStringLiteral("UPDATE PROVEEDORES SET CLICOD = ? WHERE CLICOD = ?"), {code, supplier});
            shop.db().execute(QStringLiteral("UPDATE PROCOM SET COMCLI = ? WHERE COMCLI = ?"), {code, supplier});
            entry.supplierCode = code;
        }
        std::optional<vx::Transaction> held;
        if (change == QLatin1String("busy"))
            held.emplace(shop.db());
        expectRefused([&] { suppliers::recordPayment(shop.db(), entry); }, PaymentError::Kind(kind), message);
        held.reset();
        QCOMPARE(shop.balanceOf(invoice), 100.0);
        QCOMPARE(shop.supplierBalance(code), 100.0);
        QCOMPARE(shop.count(QStringLiteral("PAGOS")) + shop.count(QStringLiteral("CAJA")) + shop.count(QStringLiteral("CAJAD")), 0);
        QCOMPARE(shop.count(QStringLiteral("PROCOM")), 2);
        QVERIFY(!shop.db().inTransaction());
    }

    // The next receipt number is the highest as a number, whatever the text order; a proposed
    // number taken meanwhile gives the next free one, a typed one is kept.
    void receiptNumbers()
    {
        SupplierTestShop shop;
        const int supplier = shop.supplier(QStringLiteral("TEXTIL DEL SUR"));
        QCOMPARE(suppliers::nextReceiptText(shop.db()), QStringLiteral("00000001"));
        for (const char *text : {"9", "00000010", "ABC", ""})
            shop.insert(QStringLiteral("PAGOS"), {QStringLiteral("COBREC"), QStringLiteral("COBIMP")}, {QLatin1String(text), 1.0});
        QCOMPARE(suppliers::nextReceiptText(shop.db()), QStringLiteral("00000011"));

        PaymentEntry entry = entryFor(shop, supplier, {}, {{}, 10, 0, QString()});
        QCOMPARE(suppliers::recordPayment(shop.db(), entry).receiptText, QStringLiteral("00000011"));
        entry.receiptNumberText = QStringLiteral("00000011");
        entry.receiptNumberProposed = true;
        const suppliers::RecordedPayment moved = suppliers::recordPayment(shop.db(), entry);
        QCOMPARE(moved.receiptText, QStringLiteral("00000012"));
        QVERIFY(moved.numberChanged);
        entry.receiptNumberProposed = false;
        QCOMPARE(suppliers::recordPayment(shop.db(), entry).receiptText, QStringLiteral("00000011"));
    }

    // Supplier documents: the balance follows invoices and credits; a number used twice for one
    // supplier and type is refused, the same number of another type or supplier is not.
    void documents()
    {
        SupplierTestShop shop;
        const int a = shop.supplier(QStringLiteral("A"));
        const int b = shop.supplier(QStringLiteral("B"));
        QCOMPARE(b, a + 1);
        shop.document(a, QStringLiteral("13"), 1, firstDay, 100.10);
        shop.document(a, QStringLiteral("26"), 1, firstDay, 30.05);
        shop.document(b, QStringLiteral("13"), 1, firstDay, 5);
        expectRefused([&] { shop.document(a, QStringLiteral("13"), 1, firstDay, 1); }, PaymentError::Kind::Invalid,
                      QStringLiteral("El proveedor ya tiene una factura número 1."));
        expectRefused([&] { shop.document(7, QStringLiteral("13"), 3, firstDay, 1); }, PaymentError::Kind::NoSupplier,
                      QStringLiteral("Proveedor no encontrado..."));
        expectRefused([&] { shop.supplier(QStringLiteral("A")); }, PaymentError::Kind::Invalid,
                      QStringLiteral("Ya hay un proveedor llamado A."));
        QCOMPARE(shop.supplierBalance(a), 70.05);
        QCOMPARE(shop.supplierBalance(b), 5.0);
        QCOMPARE(shop.count(QStringLiteral("PROCOM")), 3);
    }
};

QTEST_GUILESS_MAIN(TestSupplierPayment)
#include "tst_supplierpayment.moc"
