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

double quantity(const vx::Table &stock, const char *field)
{
    const vx::Field *f = stock.fieldByName(QLatin1String(field));
    return f->isNull() ? 0.0 : f->asFloat();
}

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

OptionalNumber positivePart(double difference)
{
    return difference > 0 ? OptionalNumber(difference) : std::nullopt;
}

void writeStockDifference(MovementWriter &movements, double old1, double old2, const Values &values)
{
    const double difference1 = values.stock1.value_or(old1) - old1;
    const double difference2 = values.stock2.value_or(old2) - old2;
    if (difference1 > 0 || difference2 > 0)
        movements.write(QStringLiteral("I"), positivePart(difference1), positivePart(difference2), stockChangeRemark);
    if (difference1 < 0 || difference2 < 0)
        movements.write(QStringLiteral("E"), positivePart(-difference1), positivePart(-difference2), stockChangeRemark);
}

void writeRecord(vx::Table &stock, const ArticleForm &form, const Values &values, const QString &code,
                 const Recorder &recorder)
{
    stock.fieldByName(QStringLiteral("ARTCOD"))->setAsString(form.originCode);
    stock.fieldByName(QStringLiteral("ARTCMCT"))->setAsString(code);
    stock.fieldByName(QStringLiteral("ARTDES"))->setAsString(form.description);
    stock.fieldByName(QStringLiteral("ARTFOT"))->setAsString(form.photo);
    stock.fieldByName(QStringLiteral("ARTOBS"))->setAsString(form.remark);
    if (values.lastIn)
        stock.fieldByName(QStringLiteral("ARTFEC1"))->setAsDateTime(*values.lastIn);
    else if (values.hasStock())
        stock.fieldByName(QStringLiteral("ARTFEC1"))->setAsDateTime(vx::naiveDateTime(recorder.now.date()));
    if (values.lastOut)
        stock.fieldByName(QStringLiteral("ARTFEC2"))->setAsDateTime(*values.lastOut);
    setIfGiven(stock, QStringLiteral("ARTEX1"), values.stock1);
    setIfGiven(stock, QStringLiteral("ARTEX2"), values.stock2);
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
        const double old1 = existing ? quantity(stock, "ARTEX1") : 0.0;
        const double old2 = existing ? quantity(stock, "ARTEX2") : 0.0;
        if (existing)
            stock.edit();
        else
            stock.append();
        writeRecord(stock, form, values, code, recorder);
        stock.post();
        MovementWriter movements(connection, form, code, recorder);
        if (!existing && values.hasStock()) {
            movements.write(QStringLiteral("I"), values.stock1, values.stock2, openingStockRemark);
            writeOpeningReceipt(connection, values, code, recorder);
        } else if (existing) {
            writeStockDifference(movements, old1, old2, values);
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
