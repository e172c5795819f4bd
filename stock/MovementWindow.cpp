// The shared half of the goods receipt and goods issue windows: article lookup, the list of lines
// and the steps over it.
#include "stock/MovementWindow.h"

#include "app/Aguarde.h"
#include "app/GlobalFunction.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/PickList.h"
#include "platform/ui/NamedControls.h"

#include <QDate>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace stock {

namespace {

const QString notFound = QStringLiteral("Articulo no encontrado; revise el codigo...");

// Leaving a box counts when the operator moved on, not when another window or a drop-down list
// took the focus for a moment.
bool leftByOperator(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The description column holds 100 characters; an article's description fits unless it was
// written by something other than the article window.
constexpr int descriptionWidth = 100;

}  // namespace

MovementWindow::MovementWindow(const QString &objectName, const QString &caption, NumberSeries series,
                               uGlobales::ArticleList lists, QWidget *parent)
    : QDialog(parent), m_series(series), m_lists(lists),
      m_work(DM1->ADOConnection1, QStringLiteral("TMP1"), objectName + QStringLiteral("TMP1"), this)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    // The lines in the order they were added.
    m_work.table->setIndexFieldNames(QStringLiteral("TM1UNO"));
}

MovementWindow::~MovementWindow() = default;

QLineEdit *MovementWindow::box(const char *name, int maxLength)
{
    auto *edit = new vx::ui::Edit(this);
    edit->setObjectName(QLatin1String(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

QPushButton *MovementWindow::button(const char *name, const QString &text)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    // Enter in a box never presses a button: it looks a code up, or does nothing.
    b->setAutoDefault(false);
    return b;
}

void MovementWindow::watch(QWidget *widget)
{
    widget->installEventFilter(this);
    m_watched << widget;
}

void MovementWindow::stopWatching()
{
    for (QWidget *widget : std::as_const(m_watched))
        widget->removeEventFilter(this);
    m_watched.clear();
}

void MovementWindow::createSharedControls()
{
    EdFec = box("EdFec", 10);
    vx::ui::filterDateKeys(EdFec);
    EdNro = box("EdNro", 13);
    const auto pickList = [this](const char *name, bool upper) {
        auto *list = new vx::ui::PickList(this);
        list->setObjectName(QLatin1String(name));
        list->setSorted(true);
        list->setUpperCase(upper);
        return list;
    };
    CBCMCT = pickList("CBCMCT", true);
    CBCMCT->setMaxLength(GlobalFunction::articleCodeLength);
    CBCMCT->setToolTip(QStringLiteral(
        "Puede ingresar el cód por lector de cód de barras o seleccionarlo desplegando el campo"));
    CBDes = pickList("CBDes", false);
    CBDes->setMinimumContentsLength(30);
    CBCodP = pickList("CBCodP", true);
    CBCodP->setMaxLength(13);
    EdCan = box("EdCan");
    EdCan2 = box("EdCan2");
    EdPre = box("EdPre");
    EdPre2 = box("EdPre2");
    EdSt1 = box("EdSt1");
    EdSt2 = box("EdSt2");
    for (QLineEdit *readOnly : {EdSt1, EdSt2}) {
        readOnly->setReadOnly(true);
        readOnly->setFocusPolicy(Qt::ClickFocus);
    }
    for (QLineEdit *amount : {EdCan, EdCan2, EdPre, EdPre2, EdSt1, EdSt2})
        amount->setAlignment(Qt::AlignRight);
    for (QLineEdit *amount : {EdCan, EdCan2, EdPre, EdPre2})
        vx::ui::filterAmountKeys(amount, true);

    BAgregar = button("BAgregar", QStringLiteral("&Agregar"));
    BEliminar = button("BEliminar", QStringLiteral("&Eliminar"));
    BGrabar = button("BGrabar", QStringLiteral("&Grabar"));
    BCerrar = button("BCerrar", QStringLiteral("&Cerrar"));

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setReadOnly(true);
    DBGrid1->setDataSource(m_work.source);
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(vx::ui::NavigatorButton::First | vx::ui::NavigatorButton::Prior |
                                    vx::ui::NavigatorButton::Next | vx::ui::NavigatorButton::Last |
                                    vx::ui::NavigatorButton::Refresh);
    DBNavigator1->setDataSource(m_work.source);

    connect(CBCMCT, &QComboBox::activated, this, &MovementWindow::CBCMCTSelect);
    connect(CBCMCT->lineEdit(), &QLineEdit::textEdited, this, [this] { m_lookedUpCode.clear(); });
    connect(CBCodP, &QComboBox::activated, this, &MovementWindow::CBCodPSelect);
    connect(CBDes, &QComboBox::activated, this, &MovementWindow::CBDesSelect);
    connect(BAgregar, &QPushButton::clicked, this, &MovementWindow::BAgregarClick);
    connect(BEliminar, &QPushButton::clicked, this, &MovementWindow::BEliminarClick);
    connect(BGrabar, &QPushButton::clicked, this, &MovementWindow::BGrabarClick);
    connect(BCerrar, &QPushButton::clicked, this, &MovementWindow::BCerrarClick);
    for (QWidget *watched : {static_cast<QWidget *>(CBCMCT), static_cast<QWidget *>(CBCMCT->lineEdit()),
                             static_cast<QWidget *>(CBCodP), static_cast<QWidget *>(CBCodP->lineEdit()),
                             static_cast<QWidget *>(CBDes), static_cast<QWidget *>(CBDes->lineEdit())})
        watch(watched);
}

bool MovementWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool ownCode = watched == CBCMCT || watched == CBCMCT->lineEdit();
    const bool origin = watched == CBCodP || watched == CBCodP->lineEdit();
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event)->key())) {
        // Enter in a code box looks the code up (a scanner ends its code with it).
        if (ownCode) {
            ownCodeLookup(true);
            return true;
        }
        if (origin) {
            originLookup();
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && !m_closing && leftByOperator(static_cast<QFocusEvent *>(event))) {
        if (watched == CBCMCT)
            CBCMCTExit();
        else if (watched == CBCodP)
            CBCodPExit();
        else if (watched == CBDes)
            CBDesExit();
        else if (amountBoxes().contains(watched))
            if (auto *amount = qobject_cast<QLineEdit *>(watched);
                const std::optional<double> value = vx::shopformat::parseNumber(amount->text()))
                amount->setText(vx::shopformat::formatFixed(*value, 2));
    }
    return QDialog::eventFilter(watched, event);
}

void MovementWindow::keyPressEvent(QKeyEvent *event)
{
    // Enter left over by a box does nothing: it neither records nor closes the window.
    if (isEnter(event->key()))
        return;
    QDialog::keyPressEvent(event);
}

void MovementWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    CBCMCT->setFocus();
}

void MovementWindow::prepareAndShow()
{
    if (prepareOpening())
        vx::ui::dialogs().showModal(this);
    finishClosing();
}

bool MovementWindow::prepareOpening()
{
    aguarde::show();
    try {
        // The lists ask the article file as the operator types, so opening costs a page of each
        // whatever the size of the shop; a changed article list only has them read their page again.
        if (!m_listsAsked || uGlobales::articleListChanged(m_lists)) {
            aguarde::progress(QStringLiteral("Recopilando info de Art.: "));
            app::askArticleLists(*DM1->ADOConnection1, CBCMCT, CBDes, CBCodP);
            uGlobales::setArticleListChanged(m_lists, false);
            m_listsAsked = true;
        }
        prepareOwnLists();
        vx::Table &work = *m_work.table;
        if (!work.active())
            work.open();
        for (const char *amount : {"TM1PRE1", "TM1PRE2", "TM1PRE3", "TM1PRE4"})
            work.fieldByName(QLatin1String(amount))->setDisplayFormat(QStringLiteral("0.00"));
        m_proposedNumber = QString::number(nextNumber(*DM1->ADOConnection1, m_series));
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        finishClosing();
        return false;
    }
    aguarde::close();
    EdFec->setText(vx::shopformat::formatDate(QDate::currentDate()));
    EdNro->setText(m_proposedNumber);
    m_closing = false;
    BCancelarClick();
    return true;
}

void MovementWindow::finishClosing()
{
    if (m_work.table->active())
        m_work.table->close();
}

MovementWindow::Lookup MovementWindow::locate(app::ArticleColumn column, const QString &text, app::ArticleMatch match)
{
    try {
        m_article = findStockArticle(*DM1->ADOConnection1, column, text, match);
        return m_article ? Lookup::Found : Lookup::Missing;
    } catch (const std::exception &failure) {
        m_article.reset();
        vx::ui::dialogs().showException(this, failure);
        return Lookup::Failed;
    }
}

void MovementWindow::fill(bool withOwnCode)
{
    if (withOwnCode)
        CBCMCT->setEditText(m_article->ownCode);
    CBDes->setEditText(m_article->description);
    EdSt1->setText(vx::shopformat::formatGeneral(m_article->stock1));
    EdSt2->setText(vx::shopformat::formatGeneral(m_article->stock2));
    showArticle(*m_article);
}

void MovementWindow::ownCodeLookup(bool tell)
{
    const QString typed = CBCMCT->currentText().trimmed();
    if (typed.isEmpty())
        return;
    const QString code = GlobalFunction::articleCode(typed);
    CBCMCT->setEditText(code);
    m_lookedUpCode = code;
    const Lookup found = locate(app::ArticleColumn::OwnCode, code);
    if (found == Lookup::Found) {
        fill(false);
        EdCan->setFocus();
    } else if (found == Lookup::Missing && tell) {
        vx::ui::dialogs().showMessage(notFound);
    }
}

void MovementWindow::CBCMCTSelect()
{
    ownCodeLookup(false);
    EdCan->setFocus();
}

void MovementWindow::CBCMCTExit()
{
    // A code Enter already looked up is not looked up (and told about) again on leaving the box.
    if (CBCMCT->currentText() != m_lookedUpCode)
        ownCodeLookup(true);
}

// An origin code leads to the first article that carries it, then to that article's own code.
void MovementWindow::originLookup()
{
    const QString origin = CBCodP->currentText().trimmed();
    if (origin.isEmpty())
        return;
    if (locate(app::ArticleColumn::Origin, origin) == Lookup::Found)
        CBCMCT->setEditText(m_article->ownCode);
    ownCodeLookup(true);
}

void MovementWindow::CBCodPSelect()
{
    originLookup();
}

void MovementWindow::CBCodPExit()
{
    originLookup();
}

void MovementWindow::CBDesSelect()
{
    const QString description = CBDes->currentText();
    if (!description.isEmpty() &&
        locate(app::ArticleColumn::Description, description, app::ArticleMatch::Prefix) == Lookup::Found)
        fill(true);
}

void MovementWindow::CBDesExit()
{
    const QString description = CBDes->currentText();
    if (description.isEmpty())
        return;
    const Lookup found = locate(app::ArticleColumn::Description, description);
    if (found == Lookup::Found)
        fill(true);
    else if (found == Lookup::Missing)
        vx::ui::dialogs().showMessage(notFound);
}

void MovementWindow::BAgregarClick()
{
    const QString typed = CBCMCT->currentText().trimmed();
    if (typed.isEmpty()) {
        vx::ui::dialogs().showMessage(QStringLiteral("Falta Codigo de articulo..."));
        CBCodP->setEditText(QString());
        return;
    }
    const QString code = GlobalFunction::articleCode(typed);
    CBCMCT->setEditText(code);
    // Only articles of the file go into the list; the stock shown is the one of this moment.
    const Lookup found = locate(app::ArticleColumn::OwnCode, code);
    if (found != Lookup::Found) {
        if (found == Lookup::Missing)
            vx::ui::dialogs().showMessage(notFound);
        CBCMCT->setFocus();
        return;
    }
    QList<double> values;
    for (const LineBox &line : lineBoxes()) {
        if (line.box->text().trimmed().isEmpty())
            line.box->setText(QStringLiteral("0"));
        const std::optional<double> value = vx::shopformat::parseNumber(line.box->text());
        if (!value) {
            vx::ui::dialogs().error(this,
                                    QStringLiteral("%1 \"%2\" no es un número: el artículo no se agregó.")
                                        .arg(QString::fromUtf8(line.what), line.box->text()),
                                    windowTitle());
            line.box->setFocus();
            return;
        }
        values << *value;
    }
    vx::Table &work = *m_work.table;
    try {
        if (!work.active())
            work.open();
        work.append();
        work.fieldByName(QStringLiteral("TM1CHR1"))->setAsString(code);
        work.fieldByName(QStringLiteral("TM1CHR10"))->setAsString(m_article->description.left(descriptionWidth));
        const QList<LineBox> boxes = lineBoxes();
        for (qsizetype i = 0; i < boxes.size(); ++i)
            work.fieldByName(QLatin1String(boxes[i].column))->setAsFloat(values[i]);
        work.fieldByName(QStringLiteral("TM1NUM3"))->setAsFloat(m_article->stock1);
        work.fieldByName(QStringLiteral("TM1NUM4"))->setAsFloat(m_article->stock2);
        work.post();
    } catch (const std::exception &failure) {
        if (work.active() && work.state() != vx::Dataset::State::Browse)
            work.cancel();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    clearEntry();
    CBCMCT->setFocus();
}

void MovementWindow::clearEntry()
{
    for (QComboBox *combo : {static_cast<QComboBox *>(CBCMCT), static_cast<QComboBox *>(CBDes),
                             static_cast<QComboBox *>(CBCodP)})
        combo->setEditText(QString());
    for (QLineEdit *edit : {EdCan, EdCan2, EdPre, EdPre2, EdSt1, EdSt2})
        edit->clear();
    for (const LineBox &line : lineBoxes())
        line.box->clear();
    m_article.reset();
}

void MovementWindow::BEliminarClick()
{
    vx::Table &work = *m_work.table;
    if (!work.active() || work.isEmpty())
        return;
    try {
        work.deleteRecord();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

// The work table is this workstation's own (the data module gives every connection a private
// one), so emptying it touches no other workstation's list.
void MovementWindow::clearWorkTable()
{
    DM1->ADOConnection1->execute(QStringLiteral("DELETE FROM TMP1"));
    if (m_work.table->active())
        m_work.table->refresh();
}

void MovementWindow::BCancelarClick()
{
    clearEntry();
    clearOwnBoxes();
    try {
        clearWorkTable();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    CBCMCT->setFocus();
}

void MovementWindow::BCerrarClick()
{
    m_closing = true;
    try {
        clearWorkTable();
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    closeWindow();
}

void MovementWindow::closeWindow()
{
    clearEntry();
    clearOwnBoxes();
    if (m_work.table->active())
        m_work.table->close();
    QDialog::reject();
}

void MovementWindow::reject()
{
    if (!m_closing)
        BCerrarClick();
}

QList<WorkLine> MovementWindow::workLines()
{
    QList<WorkLine> lines;
    if (!m_work.table->active())
        return lines;
    const QList<QVariantList> rows = m_work.table->columnValues(
        {QStringLiteral("TM1CHR1"), QStringLiteral("TM1CHR10"), QStringLiteral("TM1NUM1"), QStringLiteral("TM1NUM2"),
         QStringLiteral("TM1PRE1"), QStringLiteral("TM1PRE2")});
    for (const QVariantList &row : rows)
        lines.append({row[0].toString(), row[1].toString(), row[2].toDouble(), row[3].toDouble(), row[4].toDouble(),
                      row[5].toDouble()});
    return lines;
}

void MovementWindow::BGrabarClick()
{
    if (!readyToRecord())
        return;
    const QString typed = EdNro->text().trimmed();
    const NumberBox number{typed, !m_proposedNumber.isEmpty() && typed == m_proposedNumber};
    RecordedMovement recorded;
    aguarde::show();
    try {
        recorded = record(number);
    } catch (const MovementRecordingError &failure) {
        aguarde::close();
        // The operator reads why: a date that is none, an article deleted meanwhile.
        const QString cause = failure.cause();
        vx::ui::dialogs().error(this,
                                QString::fromUtf8(failure.what()) + (cause.isEmpty() ? QString() : QLatin1Char('\n') + cause),
                                windowTitle());
        return;
    } catch (const std::exception &failure) {
        aguarde::close();
        vx::ui::dialogs().showException(this, failure);
        return;
    }
    aguarde::close();
    if (recorded.numberChanged)
        vx::ui::dialogs().information(
            this,
            QStringLiteral("El comprobante %1 ya había sido usado en otro puesto. %2 se grabó con el número %3.")
                .arg(typed, documentName())
                .arg(recorded.number),
            windowTitle());
    EdNro->setText(QString::number(recorded.number));
    vx::ui::dialogs().showMessage(QStringLiteral("Proceso Terminado."));
    BCerrarClick();
}

}  // namespace stock
