#include "catalogue/Precios.h"

#include "data/DataModule.h"
#include "platform/db/DataSource.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ImageView.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

TFPrecios::TFPrecios(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FPrecios"));
    setWindowTitle(QStringLiteral("Verificador de Precios"));

    Stock = new vx::Table(DM1->ADOConnection1, QStringLiteral("STOCK"), this);
    Stock->setObjectName(QStringLiteral("Stock"));
    DSStock = new vx::DataSource(Stock, this);
    DSStock->setObjectName(QStringLiteral("DSStock"));

    EdCod = new vx::ui::Edit(20, true, this);
    EdCod->setObjectName(QStringLiteral("EdCod"));
    // Every box is read-only: the verifier shows prices, it never changes one.
    DBEdit1 = boundBox("DBEdit1", "ARTDES");
    DBEdit2 = boundBox("DBEdit2", "ARTVEN1");
    DBEdit3 = boundBox("DBEdit3", "ARTVEN2");
    DBEdit4 = boundBox("DBEdit4", "ARTCOD");
    DBEdit5 = boundBox("DBEdit5", "ARTCMCT");
    Image1 = new vx::ui::ImageView(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaling(vx::ui::ImageView::Scaling::Stretch);
    Image1->setFixedSize(220, 220);
    BCerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    BCerrar->setObjectName(QStringLiteral("BCerrar"));
    BCerrar->setAutoDefault(false);
    connect(BCerrar, &QPushButton::clicked, this, &TFPrecios::BCerrarClick);

    QFont large = EdCod->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    large.setBold(true);
    for (QWidget *shown : {static_cast<QWidget *>(EdCod), static_cast<QWidget *>(DBEdit2),
                           static_cast<QWidget *>(DBEdit3)})
        shown->setFont(large);

    auto *title = new QLabel(QStringLiteral("CONSULTA DE PRECIOS"), this);
    title->setFont(large);
    title->setAlignment(Qt::AlignCenter);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("INGRESE CODIGO DEL PRODUCTO:"), EdCod);
    form->addRow(QStringLiteral("DESCRIPCION"), DBEdit1);
    form->addRow(QStringLiteral("PRECIO 1"), DBEdit2);
    form->addRow(QStringLiteral("PRECIO 2"), DBEdit3);
    form->addRow(QStringLiteral("COD. de ARTITCULO"), DBEdit4);
    form->addRow(QString(), DBEdit5);
    auto *body = new QHBoxLayout;
    body->addLayout(form, 1);
    body->addWidget(Image1, 0, Qt::AlignTop);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BCerrar);
    auto *main = new QVBoxLayout(this);
    main->addWidget(title);
    main->addLayout(body);
    main->addLayout(buttons);
    resize(720, 300);

    EdCod->installEventFilter(this);
    EdCod->setFocus();
}

TFPrecios::~TFPrecios() = default;

vx::ui::DBEdit *TFPrecios::boundBox(const char *name, const char *field)
{
    auto *edit = new vx::ui::DBEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setDataSource(DSStock);
    edit->setDataField(QLatin1String(field));
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

bool TFPrecios::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCod && !m_closing) {
        switch (event->type()) {
        case QEvent::FocusIn:
            EdCodLookUp();
            break;
        case QEvent::FocusOut: {
            // Another window taking the focus for a moment (a message) is not the operator leaving.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                EdCodLookUp();
            break;
        }
        case QEvent::KeyPress:
            // Enter looks up when released; it never closes the window.
            if (isEnter(static_cast<QKeyEvent *>(event)->key()))
                return true;
            break;
        case QEvent::KeyRelease:
            if (isEnter(static_cast<QKeyEvent *>(event)->key()))
                EdCodLookUp();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFPrecios::EdCodLookUp()
{
    const QString code = EdCod->text();
    if (code.isEmpty())
        return;
    try {
        if (!Stock->active())
            Stock->open();
        if (Stock->locate(QStringLiteral("ARTCMCT"), code) || Stock->locate(QStringLiteral("ARTCOD"), code)) {
            const QString photo = Stock->fieldByName(QStringLiteral("ARTFOT"))->asString();
            if (photo.isEmpty()) {
                // The previous article's photo must not pass for this one's.
                Image1->setVisible(false);
                Image1->clear();
            } else {
                Image1->setVisible(true);
                if (!Image1->loadFile(photo)) {
                    Image1->clear();
                    vx::ui::dialogs().error(this, QStringLiteral("No se puede leer la foto %1").arg(photo),
                                            windowTitle());
                }
            }
        } else {
            Image1->setVisible(false);
            Stock->close();
            EdCod->clear();
            vx::ui::dialogs().showMessage(QStringLiteral("No se encuentra el producto..."));
            EdCod->setFocus();
        }
    } catch (const std::exception &failure) {
        vx::ui::dialogs().showException(this, failure);
    }
    EdCod->clear();
}

void TFPrecios::BCerrarClick()
{
    m_closing = true;
    Image1->setVisible(false);
    Stock->close();
    EdCod->clear();
    QDialog::reject();
}

void TFPrecios::reject()
{
    if (!m_closing)
        BCerrarClick();
}

void openPriceVerifier(QWidget *owner)
{
    // Before the shop's data module exists there is nothing to look up.
    if (!DM1)
        return;
    auto *window = new TFPrecios(owner);
    vx::ui::dialogs().showModal(window);
    delete window;
}
