// The sales window's article entry: the three lookups (own code, origin code, description), adding,
// taking back and deleting lines of the work table, and its title sort.
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/PickList.h"
#include "sales/SaleTotals.h"
#include "sales/Ventas.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <exception>

namespace {

const QString notFound = QStringLiteral("Articulo no encontrado; revise el codigo...");

}  // namespace

void TFVentas::CBCodChange()
{
    m_entryArmed = true;
    const QString text = CBCod->currentText();
    if (text.size() < sales::ownCodeLength || text == sales::blankOwnCode())
        return;
    // A scanner types the whole code: the line goes in on its last digit, without a key.
    const Lookup found = locateOwnCode(text);
    if (found != Lookup::Found) {
        if (found == Lookup::Missing)
            vx::ui::dialogs().showMessage(notFound);
        CBCod->setEditText(QString());
        return;
    }
    fillFromStock(false);
    ownCodeLeft(false);
}

void TFVentas::CBCodExit()
{
    ownCodeLeft(false);
}

void TFVentas::CBCodSelect()
{
    ownCodeLeft(true);
    m_entryArmed = false;
}

void TFVentas::ownCodeLeft(bool fromList)
{
    const QString code = sales::padOwnCode(CBCod->currentText());
    if ((fromList || sales::isCompleteOwnCode(code)) && code != sales::blankOwnCode() && !code.isEmpty()
        && m_entryArmed) {
        CBCod->setEditText(code);
        const Lookup found = locateOwnCode(code);
        if (found == Lookup::Found) {
            fillFromStock(false);
            BAgregarClick();
        } else if (found == Lookup::Missing) {
            vx::ui::dialogs().showMessage(notFound);
        }
    }
    CBCod->setEditText(QString());
    CBCodP->setEditText(QString());
}

void TFVentas::CBCodPExit()
{
    originCodeLeft();
}

void TFVentas::CBCodPSelect()
{
    originCodeLeft();
    m_entryArmed = false;
}

void TFVentas::originCodeLeft()
{
    const QString code = CBCodP->currentText();
    const bool given = !code.isEmpty() && CBCod->currentText() != sales::blankOwnCode();
    if (given && m_entryArmed && !code.trimmed().isEmpty()) {
        const Lookup found = locateArticle(app::ArticleColumn::Origin, code);
        if (found == Lookup::Found) {
            fillFromStock(true);
            BAgregarClick();
        } else if (found == Lookup::Missing) {
            vx::ui::dialogs().showMessage(notFound);
        }
    }
    CBCod->setEditText(QString());
    CBCodP->setEditText(QString());
}

void TFVentas::CBDesExit()
{
    const QString description = CBDes->currentText();
    if (description.isEmpty())
        return;
    const Lookup found = locateArticle(app::ArticleColumn::Description, description);
    if (found == Lookup::Found) {
        fillFromStock(true);
    } else if (found == Lookup::Missing && CBCod->currentText() != sales::blankOwnCode()) {
        vx::ui::dialogs().showMessage(notFound);
        CBCod->setEditText(QString());
    }
}

void TFVentas::CBDesSelect()
{
    const QString description = CBDes->currentText();
    if (description.isEmpty())
        return;
    if (locateArticle(app::ArticleColumn::Description, description, app::ArticleMatch::Prefix) == Lookup::Found)
        fillFromStock(true);
    CBDesExit();
}

TFVentas::Lookup TFVentas::locateArticle(app::ArticleColumn column, const QString &text, app::ArticleMatch match)
{
    try {
        m_article = app::findArticle(*DM1->ADOConnection1, column, text, match);
        return m_article ? Lookup::Found : Lookup::Missing;
    } catch (const std::exception &failure) {
        m_article.reset();
        vx::ui::dialogs().showException(this, failure);
        return Lookup::Failed;
    }
}

void TFVentas::fillFromStock(bool withOwnCode)
{
    if (withOwnCode)
        CBCod->setEditText(m_article->ownCode);
    CBDes->setEditText(m_article->description);
    EdStock->setText(vx::shopformat::formatGeneral(m_article->stock1));
    EdPre->setText(sales::amountText(m_article->price(checkedList())));
}

void TFVentas::BAgregarClick()
{
    Label6->clear();
    const QString code = CBCod->currentText();
    if (code.isEmpty() || code == QLatin1String(" ")) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta Codigo de articulo..."));
    } else {
        if (EdCan->text().isEmpty())
            EdCan->setText(QStringLiteral("1"));
        if (EdPre->text().isEmpty())
            EdPre->setText(QStringLiteral("0"));
        const std::optional<double> quantity = vx::shopformat::parseNumber(EdCan->text());
        const std::optional<double> price = vx::shopformat::parseNumber(EdPre->text());
        // A quantity or price that is no number leaves the line out, without a word.
        if (quantity && price) {
            try {
                openWorkTable();
                vx::Table &work = *DM1->TMP1;
                work.append();
                work.fieldByName(QStringLiteral("TM1CHR1"))->setAsString(code);
                work.fieldByName(QStringLiteral("TM1CHR10"))->setAsString(CBDes->currentText());
                work.fieldByName(QStringLiteral("TM1NUM1"))->setAsFloat(*quantity);
                work.fieldByName(QStringLiteral("TM1PRE1"))->setAsFloat(*price);
                work.fieldByName(QStringLiteral("TM1PRE2"))->setAsFloat(*price * *quantity);
                work.fieldByName(QStringLiteral("TM1NUM2"))->setAsInteger(checkedList());
                work.post();
                ++m_linesAdded;
                clearEntry();
                recomputeTotals();
            } catch (const std::exception &failure) {
                if (DM1->TMP1->active() && DM1->TMP1->state() != vx::Dataset::State::Browse)
                    DM1->TMP1->cancel();
                vx::ui::dialogs().showException(this, failure);
            }
        }
    }
    CBCod->setEditText(QString());
    CBCodP->setEditText(QString());
    CBCod->setFocus();
}

void TFVentas::BEliminarClick()
{
    vx::Table &work = *DM1->TMP1;
    if (!work.active() || work.isEmpty())
        return;
    try {
        deleteCurrentLine();
        recomputeTotals();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFVentas::DBGrid1DblClick()
{
    vx::Table &work = *DM1->TMP1;
    if (!work.active() || work.isEmpty())
        return;
    try {
        const QString code = work.fieldByName(QStringLiteral("TM1CHR1"))->asString();
        const double quantity = work.fieldByName(QStringLiteral("TM1NUM1"))->asFloat();
        CBCod->setEditText(code);
        const bool known = locateOwnCode(code) == Lookup::Found;
        if (known) {
            fillFromStock(false);
            EdCan->setText(vx::shopformat::formatGeneral(quantity));
        }
        // The totals keep the line until it is added again; recording puts it back if it was not
        // (an article no longer in stock has no price to put it back with: it stays out).
        deleteCurrentLine();
        m_lineTakenBack = known;
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

void TFVentas::deleteCurrentLine()
{
    DM1->TMP1->deleteRecord();
}

void TFVentas::DBGrid1TitleClick(int column)
{
    DBGrid1->sortByTitle(column);
}
