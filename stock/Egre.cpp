#include "stock/Egre.h"

#include "app/Aguarde.h"
#include "data/DataModule.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/PickList.h"
#include "platform/ui/NamedControls.h"
#include "stock/GoodsIssue.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFEgre *FEgre = nullptr;

TFEgre::TFEgre(QWidget *parent)
    : MovementWindow(QStringLiteral("FEgre"), QStringLiteral("Egreso de Mercaderia"), stock::issueSeries,
                     uGlobales::ArticleList::Egresos, parent)
{
    createSharedControls();
    CBCliente = new vx::ui::PickList(this);
    CBCliente->setObjectName(QStringLiteral("CBCliente"));
    CBCliente->setMaxLength(50);
    CBCliente->setMinimumContentsLength(30);
    LabCli = new QLabel(QStringLiteral("Codigo"), this);
    LabCli->setObjectName(QStringLiteral("LabCli"));
    EdPre3 = box("EdPre3");
    EdPre4 = box("EdPre4");
    EdConcepto = box("EdConcepto", 50);
    for (QLineEdit *amount : {EdPre3, EdPre4}) {
        amount->setAlignment(Qt::AlignRight);
        vx::ui::filterAmountKeys(amount, true);
    }
    Button1 = button("Button1", QStringLiteral("Ca&ncelar"));
    connect(Button1, &QPushButton::clicked, this, &TFEgre::BCancelarClick);
    connect(CBCliente, &QComboBox::activated, this, &TFEgre::CBClienteSelect);
    for (QLineEdit *amount : amountBoxes())
        watch(amount);
    watch(CBCliente->lineEdit());

    DBGrid1->setColumns({{QStringLiteral("TM1CHR1"), QStringLiteral("CODIGO "), 14},
                         {QStringLiteral("TM1CHR10"), QStringLiteral("Descripcion"), 32},
                         {QStringLiteral("TM1NUM1"), QStringLiteral("Cantidad"), 8},
                         {QStringLiteral("TM1NUM2"), QStringLiteral("Cant.2"), 8},
                         {QStringLiteral("TM1PRE1"), QStringLiteral("P.Venta 1"), 10},
                         {QStringLiteral("TM1PRE2"), QStringLiteral("P.Venta 2"), 10},
                         {QStringLiteral("TM1PRE3"), QStringLiteral("P.Venta 3"), 10},
                         {QStringLiteral("TM1PRE4"), QStringLiteral("P.Venta 4"), 10}});

    auto *header = new QGridLayout;
    header->addWidget(vx::ui::captionFor(QStringLiteral("Fecha"), EdFec), 0, 0);
    header->addWidget(EdFec, 0, 1);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Nro.Comprobante"), EdNro), 0, 2);
    header->addWidget(EdNro, 0, 3);
    header->addWidget(BCerrar, 0, 5);
    header->addWidget(vx::ui::captionFor(QStringLiteral("Recibe: "), CBCliente), 1, 0);
    header->addWidget(CBCliente, 1, 1, 1, 3);
    header->addWidget(LabCli, 1, 4);
    header->setColumnStretch(4, 1);

    auto *entry = new QGridLayout;
    entry->addWidget(vx::ui::captionFor(QStringLiteral("CODIGO"), CBCMCT), 0, 0);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Descripcion"), CBDes), 0, 1, 1, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Cantidad"), EdCan), 0, 4);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("en Stock"), EdSt1), 0, 5);
    entry->addWidget(CBCMCT, 1, 0);
    entry->addWidget(CBDes, 1, 1, 1, 3);
    entry->addWidget(EdCan, 1, 4);
    entry->addWidget(EdSt1, 1, 5);
    entry->addWidget(BAgregar, 1, 6);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Codigo de Origen"), CBCodP), 2, 0);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("$ Venta 1"), EdPre), 2, 1);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("$ Venta 2"), EdPre2), 2, 2);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("$ Venta 3"), EdPre3), 2, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("del Depo. 2"), EdCan2), 2, 4);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("en Depo. 2"), EdSt2), 2, 5);
    entry->addWidget(CBCodP, 3, 0);
    entry->addWidget(EdPre, 3, 1);
    entry->addWidget(EdPre2, 3, 2);
    entry->addWidget(EdPre3, 3, 3);
    entry->addWidget(EdCan2, 3, 4);
    entry->addWidget(EdSt2, 3, 5);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("$ Venta 4"), EdPre4), 4, 3);
    entry->addWidget(EdPre4, 5, 3);
    entry->addWidget(vx::ui::captionFor(QStringLiteral("Concepto del Egreso"), EdConcepto), 4, 0);
    entry->addWidget(EdConcepto, 5, 0, 1, 3);
    entry->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    buttons->addWidget(BEliminar);
    buttons->addWidget(Button1);
    buttons->addWidget(BGrabar);

    auto *main = new QVBoxLayout(this);
    main->addLayout(header);
    main->addLayout(entry);
    main->addWidget(DBGrid1, 1);
    main->addLayout(buttons);
    resize(900, 580);
    setTabOrder(CBCMCT, EdCan);
    setTabOrder(EdCan, EdCan2);
    setTabOrder(EdCan2, BAgregar);
    FEgre = this;
}

TFEgre::~TFEgre()
{
    stopWatching();
    if (FEgre == this)
        FEgre = nullptr;
}

bool TFEgre::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CBCliente->lineEdit()) {
        const bool enter = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Return ||
                            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Enter);
        const bool left = event->type() == QEvent::FocusOut &&
                          static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason &&
                          static_cast<QFocusEvent *>(event)->reason() != Qt::ActiveWindowFocusReason;
        // A name typed and left (or ended with Enter) is chosen as a name picked from the list.
        if ((enter || left) && CBCliente->currentText() != m_receiverName)
            CBClienteSelect();
        if (enter)
            return true;
    }
    return MovementWindow::eventFilter(watched, event);
}

void TFEgre::CBClienteSelect()
{
    const QString name = CBCliente->currentText();
    if (name.trimmed().isEmpty())
        return;
    try {
        const QVariant code = DM1->ADOConnection1->scalar(
            QStringLiteral("SELECT CLICOD FROM CLIENTE WHERE CLIAPE = ? ORDER BY CLIUNO LIMIT 1"), {name});
        if (code.isNull()) {
            vx::ui::dialogs().showMessage(QStringLiteral("Revise datos de quien recibe..."));
            return;
        }
        m_receiverCode = code.toInt();
        m_receiverName = name;
        LabCli->setText(QString::number(m_receiverCode));
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
}

QList<stock::MovementWindow::LineBox> TFEgre::lineBoxes() const
{
    return {{EdCan, "TM1NUM1", "La cantidad"},   {EdCan2, "TM1NUM2", "La cantidad del depósito 2"},
            {EdPre, "TM1PRE1", "El precio 1"},   {EdPre2, "TM1PRE2", "El precio 2"},
            {EdPre3, "TM1PRE3", "El precio 3"},  {EdPre4, "TM1PRE4", "El precio 4"}};
}

void TFEgre::showArticle(const stock::StockArticle &article)
{
    const QList<QLineEdit *> prices{EdPre, EdPre2, EdPre3, EdPre4};
    for (int i = 0; i < 4; ++i)
        prices[i]->setText(vx::shopformat::formatFixed(article.prices[size_t(i)], 2));
}

void TFEgre::prepareOwnLists()
{
    // Who receives is picked as articles are: a page of the names that begin with the text.
    CBCliente->askDatabase(DM1->ADOConnection1, {QStringLiteral("CLIENTE"), QStringLiteral("CLIAPE")});
    CBCliente->setEditText(m_receiverName);
}

void TFEgre::clearOwnBoxes()
{
    EdConcepto->clear();
}

stock::RecordedMovement TFEgre::record(const stock::NumberBox &number)
{
    stock::IssueEntry entry;
    entry.number = number;
    entry.dateText = EdFec->text();
    entry.receiverCode = m_receiverCode;
    entry.purpose = EdConcepto->text();
    entry.operatorCode = uGlobales::session().operatorCode;
    entry.accessLevel = uGlobales::session().accessLevel;
    for (const stock::WorkLine &line : workLines())
        entry.lines.append({line.code, line.description, line.quantity1, line.quantity2, line.price1, line.price2});
    return stock::recordIssue(*DM1->ADOConnection1, entry, [](const QString &step) { aguarde::progress(step); });
}
