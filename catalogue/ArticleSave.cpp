#include "catalogue/ArticleSave.h"

#include "data/DataModule.h"
#include "data/RowInserter.h"
#include "platform/db/DateTimeValue.h"
#include "platform/db/DbError.h"
#include "app/GlobalFunction.h"

#include <optional>

namespace catalogue {

namespace {

using OptionalNumber = std::optional<double>;

OptionalNumber number(const QString &box)
{
    if (box.isEmpty())
        return std::nullopt;
    return GlobalFunction::strToFloat(box);
}

std::optional<QDateTime> date(const QString &box)
{
    if (box.isEmpty())
        return std::nullopt;
    return vx::naiveDateTime(GlobalFunction::strToDate(box));
}

QVariant orNull(const OptionalNumber &value)
{
    return value ? QVariant(*value) : QVariant();
}

// The boxes converted before anything is written, so that a bad box writes nothing.
struct Values {
    OptionalNumber stock1, stock2, reorderPoint, cost1;
    std::array<OptionalNumber, 4> margins, prices;
    std::optional<QDateTime> lastIn, lastOut;

    explicit Values(const ArticleForm &form)
        : stock1(number(form.stock1)), stock2(number(form.stock2)), reorderPoint(number(form.reorderPoint)),
          cost1(number(form.cost1)), lastIn(date(form.lastIn)), lastOut(date(form.lastOut))
    {
        for (size_t i = 0; i < 4; ++i) {
            margins[i] = number(form.margins[i]);
            prices[i] = number(form.prices[i]);
        }
    }
    bool hasStock() const { return stock1 || stock2; }
};

void setIfGiven(vx::Table &stock, const QString &field, const OptionalNumber &value)
{
    if (value)
        stock.fieldByName(field)->setAsFloat(*value);
}

// Finds the article in Stock, also when the current filter hides it.
bool locateArticle(vx::Table &stock, const QString &code)
{
    const QString key = QStringLiteral("ARTCMCT");
    if (stock.locate(key, code))
        return true;
    if (!stock.filtered())
        return false;
    stock.setFiltered(false);
    return stock.locate(key, code);
}

class MovementWriter {
public:
    MovementWriter(vx::Connection &connection, const ArticleForm &form, const QString &code, const Recorder &recorder)
        : m_rows(connection, QStringLiteral("MOVIM"),
                 {QStringLiteral("MOVFEC"), QStringLiteral("MOVHOR"), QStringLiteral("MOVCOD"), QStringLiteral("MOVCMCT"),
                  QStringLiteral("MOVCAN1"), QStringLiteral("MOVCAN2"), QStringLiteral("MOVTIP"), QStringLiteral("MOVOBS"),
                  QStringLiteral("MOVOPE")}),
          m_form(form), m_code(code), m_recorder(recorder)
    {
    }

    void write(const QString &direction, const OptionalNumber &quantity1, const OptionalNumber &quantity2,
               const char *remark)
    {
        m_rows.insert({vx::naiveDateTime(m_recorder.now.date()), GlobalFunction::timeToStr(m_recorder.now.time()),
                       m_form.originCode, m_code, orNull(quantity1), orNull(quantity2), direction,
                       QString::fromLatin1(remark), m_recorder.operatorCode});
    }

private:
    data::RowInserter m_rows;
    const ArticleForm &m_form;
    QString m_code;
    const Recorder &m_recorder;
};

void writeOpeningReceipt(vx::Connection &connection, const Values &values, const QString &code, const Recorder &recorder)
{
    data::RowInserter receipt(connection, QStringLiteral("INGRESOS"),
                              {QStringLiteral("INGNRO"), QStringLiteral("INGNIV"), QStringLiteral("INGFEC"),
                               QStringLiteral("INGHOR"), QStringLiteral("INGCOD"), QStringLiteral("INGCMCT"),
                               QStringLiteral("INGCAN1"), QStringLiteral("INGCOS1"), QStringLiteral("INGCAN2")});
    const QDateTime day = values.lastIn.value_or(vx::naiveDateTime(recorder.now.date()));
    receipt.insert({0, recorder.accessLevel, day, recorder.now, code, code, orNull(values.stock1),
                    orNull(values.cost1), orNull(values.stock2)});
}

// What a save adds to the stock of each location.
struct StockChange {
    double location1 = 0;
    double location2 = 0;
    bool any() const { return location1 != 0 || location2 != 0; }
};

// The change the operator made to the quantities of an existing article: what a box holds now less
// what it showed when the article was loaded (nothing when it was not loaded into the boxes). An
// empty box changes nothing.
StockChange changeTyped(const ArticleForm &form, const Values &values, const QString &code)
{
    const bool loaded = !form.loadedCode.isEmpty() && form.loadedCode == code;
    const auto change = [loaded](const OptionalNumber &typed, const QString &shown) {
        if (!typed)
            return 0.0;
        return *typed - (loaded ? number(shown).value_or(0.0) : 0.0);
    };
    return {change(values.stock1, form.loadedStock1), change(values.stock2, form.loadedStock2)};
}

// Adds the change in SQL, so that what other counters sold or received meanwhile stays counted.
void addToStock(vx::Connection &connection, const QVariant &article, const StockChange &change)
{
    QStringList assignments;
    QVariantList params;
    if (change.location1 != 0) {
        assignments << QStringLiteral("ARTEX1 = COALESCE(ARTEX1, 0) + ?");
        params << change.location1;
    }
    if (change.location2 != 0) {
        assignments << QStringLiteral("ARTEX2 = COALESCE(ARTEX2, 0) + ?");
        params << change.location2;
    }
    if (assignments.isEmpty())
        return;
    params << article;
    connection.execute(QStringLiteral("UPDATE STOCK SET %1 WHERE ARTUNO = ?").arg(assignments.join(QStringLiteral(", "))),
                       params);
}

OptionalNumber positivePart(double difference)
{
    return difference > 0 ? OptionalNumber(difference) : std::nullopt;
}

void writeStockChange(MovementWriter &movements, const StockChange &change)
{
    if (change.location1 > 0 || change.location2 > 0)
        movements.write(QStringLiteral("I"), positivePart(change.location1), positivePart(change.location2),
                        stockChangeRemark);
    if (change.location1 < 0 || change.location2 < 0)
        movements.write(QStringLiteral("E"), positivePart(-change.location1), positivePart(-change.location2),
                        stockChangeRemark);
}

// The record's fields from the boxes. Quantities are set here only for a new article; an existing
// one gets its change added afterwards.
void writeRecord(vx::Table &stock, const ArticleForm &form, const Values &values, const QString &code,
                 const Recorder &recorder, bool existing, bool stockWritten)
{
    stock.fieldByName(QStringLiteral("ARTCOD"))->setAsString(form.originCode);
    stock.fieldByName(QStringLiteral("ARTCMCT"))->setAsString(code);
    stock.fieldByName(QStringLiteral("ARTDES"))->setAsString(form.description);
    stock.fieldByName(QStringLiteral("ARTFOT"))->setAsString(form.photo);
    stock.fieldByName(QStringLiteral("ARTOBS"))->setAsString(form.remark);
    if (values.lastIn)
        stock.fieldByName(QStringLiteral("ARTFEC1"))->setAsDateTime(*values.lastIn);
    else if (stockWritten)
        stock.fieldByName(QStringLiteral("ARTFEC1"))->setAsDateTime(vx::naiveDateTime(recorder.now.date()));
    if (values.lastOut)
        stock.fieldByName(QStringLiteral("ARTFEC2"))->setAsDateTime(*values.lastOut);
    if (!existing) {
        setIfGiven(stock, QStringLiteral("ARTEX1"), values.stock1);
        setIfGiven(stock, QStringLiteral("ARTEX2"), values.stock2);
    }
    for (int i = 0; i < 4; ++i) {
        setIfGiven(stock, QStringLiteral("ARTVEN%1").arg(i + 1), values.prices[size_t(i)]);
        setIfGiven(stock, QStringLiteral("ARTUTI%1").arg(i + 1), values.margins[size_t(i)]);
    }
    setIfGiven(stock, QStringLiteral("ARTCOS1"), values.cost1);
    setIfGiven(stock, QStringLiteral("ARTREP"), values.reorderPoint);
}

}  // namespace

QString saveArticle(TDM1 &dm, const ArticleForm &form, const Recorder &recorder)
{
    vx::Table &stock = *dm.Stock;
    if (!stock.active())
        stock.open();
    const QString code = GlobalFunction::articleCode(form.code);
    const Values values(form);
    vx::Connection &connection = *dm.ADOConnection1;
    try {
        vx::Transaction transaction(connection);
        const bool existing = locateArticle(stock, code);
        const StockChange change = existing ? changeTyped(form, values, code) : StockChange{};
        if (existing)
            stock.edit();
        else
            stock.append();
        writeRecord(stock, form, values, code, recorder, existing, existing ? change.any() : values.hasStock());
        // Added before the post, which reads the row back: the cursor then shows the quantities
        // as the database holds them.
        addToStock(connection, stock.fieldByName(QStringLiteral("ARTUNO"))->value(), change);
        stock.post();
        MovementWriter movements(connection, form, code, recorder);
        if (!existing && values.hasStock()) {
            movements.write(QStringLiteral("I"), values.stock1, values.stock2, openingStockRemark);
            writeOpeningReceipt(connection, values, code, recorder);
        } else {
            writeStockChange(movements, change);
        }
        transaction.commit();
    } catch (...) {
        // The record is not left half edited, and the cursor forgets a row the rollback took back.
        if (stock.state() == vx::Dataset::State::Edit || stock.state() == vx::Dataset::State::Insert)
            stock.cancel();
        try {
            stock.refresh();
        } catch (const vx::DbError &) {
            // The save's own failure is the one to report.
        }
        throw;
    }
    return code;
}

}  // namespace catalogue
