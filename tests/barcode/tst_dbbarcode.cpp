// TDBBarcode on a real SQLite table: it follows the current record, writes a barcode set on it
// into the field, and never writes a rejected or stale text.
#include "barcode/pDBBarcode.h"

#include "platform/db/Connection.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zebrune;

namespace {

vx::ColumnDef column(const char *name, vx::FieldType type, int size)
{
    vx::ColumnDef c;
    c.name = QString::fromLatin1(name);
    c.type = type;
    c.size = size;
    return c;
}

vx::Schema schema()
{
    vx::TableDef stock{QStringLiteral("STOCK"),
                       {column("ARTCMCT", vx::FieldType::String, 13), column("ARTDES", vx::FieldType::String, 30)},
                       {{QStringLiteral("ARTCMCT")}}};
    return vx::Schema({stock});
}

bool hasBars(TBarCode &bar)
{
    const QImage image = bar.grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixelColor(x, image.height() / 2) == Qt::black)
            return true;
    }
    return false;
}

} // namespace

class TestDBBarcode : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    vx::Schema schema_ = schema();
    std::unique_ptr<vx::Connection> db_;
    std::unique_ptr<vx::Table> table_;
    std::unique_ptr<vx::DataSource> source_;
    std::unique_ptr<TDBBarcode> bar_;

    QString stored(const QString &description)
    {
        return db_->scalar(QStringLiteral("SELECT ARTCMCT FROM STOCK WHERE ARTDES = ?"), {description}).toString();
    }

private slots:
    void init()
    {
        db_ = vx::Connection::openSqlite(dir_.filePath(QStringLiteral("%1.db").arg(QTest::currentTestFunction())),
                                         &schema_, true);
        db_->createSchema();
        const char *rows[][2] = {{"7791234567898", "CAMISA"}, {"4006381333931", "PANTALON"}, {"ABC", "SIN CODIGO"}};
        for (const auto &row : rows)
            db_->execute(QStringLiteral("INSERT INTO STOCK (ARTCMCT, ARTDES) VALUES (?, ?)"),
                         {QString::fromLatin1(row[0]), QString::fromLatin1(row[1])});
        table_ = std::make_unique<vx::Table>(db_.get(), QStringLiteral("STOCK"));
        table_->setIndexFieldNames(QStringLiteral("ARTDES"));
        source_ = std::make_unique<vx::DataSource>(table_.get());
        bar_ = std::make_unique<TDBBarcode>();
        bar_->resize(220, 50);
        bar_->SetBarType(bcCodeEAN13);
        bar_->SetDataSource(source_.get());
        bar_->SetDataField(QStringLiteral("ARTCMCT"));
    }

    void cleanup()
    {
        bar_.reset();
        source_.reset();
        table_.reset();
        db_.reset();
    }

    void followsTheCurrentRecord()
    {
        QCOMPARE(bar_->BarCode(), QString());
        QVERIFY(bar_->Field() == nullptr);
        table_->open();
        QCOMPARE(bar_->BarCode(), QStringLiteral("7791234567898"));
        table_->next();
        QCOMPARE(bar_->BarCode(), QStringLiteral("4006381333931"));
        QVERIFY(hasBars(*bar_));
        // A record whose text the symbology refuses shows no bars, not the last record's.
        table_->next();
        QCOMPARE(bar_->BarCode(), QStringLiteral("ABC"));
        QVERIFY(!hasBars(*bar_));
        table_->close();
        QCOMPARE(bar_->BarCode(), QString());
        // Reopening makes new field objects; the link finds the new one.
        table_->open();
        QCOMPARE(bar_->BarCode(), QStringLiteral("7791234567898"));
        QCOMPARE(bar_->Field()->fieldName(), QStringLiteral("ARTCMCT"));
        bar_->SetDataField(QStringLiteral("ARTDES"));
        bar_->SetBarType(bcCode128B);
        QCOMPARE(bar_->BarCode(), QStringLiteral("CAMISA"));
    }

    void writesAnAcceptedBarcodeIntoTheField()
    {
        table_->open();
        bar_->SetBarcode(QStringLiteral("5901234123457"));
        QCOMPARE(table_->state(), vx::Dataset::State::Edit);
        QCOMPARE(bar_->BarCode(), QStringLiteral("5901234123457"));
        QCOMPARE(table_->fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("5901234123457"));
        table_->post();
        QCOMPARE(stored(QStringLiteral("CAMISA")), QStringLiteral("5901234123457"));
        QCOMPARE(bar_->BarCode(), QStringLiteral("5901234123457"));

        // The corrected text is the one that lands in the field.
        bar_->SetOnInvalidChar([](QObject *, QString &text) { text.remove(QLatin1Char('-')); });
        bar_->SetBarcode(QStringLiteral("400-6381-333931"));
        table_->post();
        QCOMPARE(stored(QStringLiteral("CAMISA")), QStringLiteral("4006381333931"));
    }

    void aRejectedBarcodeLeavesTheFieldAlone()
    {
        table_->open();
        QVERIFY_THROWS_EXCEPTION(BarcodeError, bar_->SetBarcode(QStringLiteral("12x")));
        QCOMPARE(table_->state(), vx::Dataset::State::Browse);
        QCOMPARE(table_->fieldByName(QStringLiteral("ARTCMCT"))->asString(), QStringLiteral("7791234567898"));
    }

    void readOnlyChangesNothing()
    {
        table_->open();
        bar_->SetReadOnly(true);
        bar_->SetBarcode(QStringLiteral("5901234123457"));
        QCOMPARE(bar_->BarCode(), QStringLiteral("7791234567898"));
        QCOMPARE(table_->state(), vx::Dataset::State::Browse);

        bar_->SetReadOnly(false);
        table_->fieldByName(QStringLiteral("ARTCMCT"))->setReadOnly(true);
        bar_->SetBarcode(QStringLiteral("5901234123457"));
        QCOMPARE(bar_->BarCode(), QStringLiteral("7791234567898"));

        // Without a field nothing is taken either.
        bar_->SetDataField(QString());
        QCOMPARE(bar_->BarCode(), QString());
        bar_->SetBarcode(QStringLiteral("5901234123457"));
        QCOMPARE(bar_->BarCode(), QString());
    }

    void postingNeverWritesAStaleBarcodeBack()
    {
        table_->open();
        // Controls are disabled: the barcode does not hear of the new value before the post.
        table_->disableControls();
        table_->edit();
        table_->fieldByName(QStringLiteral("ARTCMCT"))->setAsString(QStringLiteral("4006381333931"));
        table_->post();
        table_->enableControls();
        QCOMPARE(stored(QStringLiteral("CAMISA")), QStringLiteral("4006381333931"));
        QCOMPARE(bar_->BarCode(), QStringLiteral("4006381333931"));
    }

    void aRemovedDataSourceUnbinds()
    {
        table_->open();
        QCOMPARE(bar_->BarCode(), QStringLiteral("7791234567898"));
        source_.reset();
        QVERIFY(bar_->DataSource() == nullptr);
        QCOMPARE(bar_->BarCode(), QString());
        table_->next();
        QCOMPARE(bar_->BarCode(), QString());
    }
};

QTEST_MAIN(TestDBBarcode)
#include "tst_dbbarcode.moc"
