#include "shell/Ficha1.h"

#include "app/Aguarde.h"
#include "shell/MenuFont.h"
#include "shell/PanelWidgets.h"
#include "shell/Termination.h"
#include "app/uGlobales.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFF1 *FF1 = nullptr;

namespace {

// The size the picture is shown at when the window leaves room for it.
constexpr QSize pictureSize(480, 340);

}  // namespace

TFF1::TFF1(QWidget *parent) : QMainWindow(parent), m_picture(QStringLiteral(":/shell/Vendrix.png"))
{
    setObjectName(QStringLiteral("FF1"));
    setWindowTitle(QStringLiteral("Sistema de Control de Stock - Desarrollado por Orvanesys"));
    resize(960, 660);
    createMenu();
    createClientArea();
    qApp->installEventFilter(this);
    FormCreate();
    FF1 = this;
}

TFF1::~TFF1()
{
    if (FF1 == this)
        FF1 = nullptr;
}

void TFF1::createClientArea()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);

    Image1 = new QLabel(client);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Panel1 = new CaptionPanel(client);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    createShortcutStrip(Panel1);

    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    layout->addWidget(Panel1);
    client->installEventFilter(this);
}

void TFF1::createShortcutStrip(QWidget *panel)
{
    const auto keyLabel = [panel](const char *name, const QString &text) {
        auto *label = new KeyLabel(text, panel);
        label->setObjectName(QLatin1String(name));
        label->setFrameShape(QFrame::Box);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        return label;
    };
    const auto button = [panel](const char *name, const QString &text) {
        auto *b = new QPushButton(text, panel);
        b->setObjectName(QLatin1String(name));
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    StaticText1 = keyLabel("StaticText1", QStringLiteral(" F2 "));
    BPrecios = button("BPrecios", QStringLiteral("Consulta de Precios"));
    StaticText3 = keyLabel("StaticText3", QStringLiteral(" F3 "));
    BitBtn1 = button("BitBtn1", QStringLiteral(" Ingresos "));
    StaticText4 = keyLabel("StaticText4", QStringLiteral(" F4 "));
    BitBtn2 = button("BitBtn2", QStringLiteral(" Egrresos "));
    StaticText2 = keyLabel("StaticText2", QStringLiteral(" F5 "));
    BBVentas = button("BBVentas", QStringLiteral(" Ventas "));
    StaticText5 = keyLabel("StaticText5", QStringLiteral(" F1 "));
    BitBtn3 = button("BitBtn3", QStringLiteral(" Ayuda "));

    auto *strip = new QHBoxLayout(panel);
    strip->setContentsMargins(8, 6, 12, 6);
    strip->setSpacing(4);
    const QList<QPair<KeyLabel *, QPushButton *>> pairs{
        {StaticText1, BPrecios}, {StaticText3, BitBtn1}, {StaticText4, BitBtn2}, {StaticText2, BBVentas}, {StaticText5, BitBtn3}};
    for (const auto &[label, b] : pairs) {
        strip->addWidget(label);
        strip->addWidget(b);
        strip->addSpacing(10);
    }
    strip->addStretch(1);
    strip->addWidget(Panel1->captionLabel());

    const auto asKey = [this](int key) { return [this, key] { runFunctionKey(key); }; };
    connect(StaticText1, &KeyLabel::clicked, this, asKey(Qt::Key_F2));
    connect(BPrecios, &QPushButton::clicked, this, asKey(Qt::Key_F2));
    connect(StaticText3, &KeyLabel::clicked, this, asKey(Qt::Key_F3));
    connect(BitBtn1, &QPushButton::clicked, this, asKey(Qt::Key_F3));
    connect(StaticText4, &KeyLabel::clicked, this, asKey(Qt::Key_F4));
    connect(BitBtn2, &QPushButton::clicked, this, asKey(Qt::Key_F4));
    connect(StaticText2, &KeyLabel::clicked, this, asKey(Qt::Key_F5));
    connect(BBVentas, &QPushButton::clicked, this, asKey(Qt::Key_F5));
    connect(StaticText5, &KeyLabel::clicked, this, [this] { openUserGuide(false); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { openUserGuide(false); });
}

void TFF1::FormCreate()
{
    TCambiarLetraMenu changer(MainMenu1, TCambiarLetraMenu::defaultMenuFont());
    changer.apply();
    FormCanResize();
}

void TFF1::FormDblClick()
{
    FormCreate();
}

void TFF1::FormCanResize()
{
    const QWidget *client = centralWidget();
    const int panelHeight = Panel1->sizeHint().height();
    const QSize room(client->width(), client->height() - panelHeight);
    // Shrunk proportionally when the window leaves less room than the picture's size.
    const QSize shown = pictureSize.boundedTo(room.expandedTo(QSize(1, 1)));
    const QSize scaled = pictureSize.scaled(shown, Qt::KeepAspectRatio);
    if (Image1->size() != scaled) {
        Image1->resize(scaled);
        Image1->setPixmap(m_picture.scaled(scaled, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    Image1->move((client->width() - Image1->width()) / 2, (client->height() - Image1->height() - panelHeight) / 2);
}

bool TFF1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        FormCanResize();
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType()
               && static_cast<QWidget *>(watched)->window() == this) {
        if (FormKeyDown(static_cast<QKeyEvent *>(event)->key()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TFF1::FormKeyDown(int key)
{
    switch (key) {
    case Qt::Key_F1:
        openUserGuide(true);
        return true;
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
        runFunctionKey(key);
        return true;
    default:
        return false;
    }
}

void TFF1::runFunctionKey(int key)
{
    const int level = uGlobales::session().accessLevel;
    switch (key) {
    case Qt::Key_F2:
        VerificarPrecios1->trigger();
        break;
    case Qt::Key_F3:
        if (level != 2)
            INGRESOS1->trigger();
        break;
    case Qt::Key_F4:
        if (level != 2)
            Egresos2->trigger();
        break;
    case Qt::Key_F5:
        if (level != 1)
            VENTAS1->trigger();
        break;
    default:
        break;
    }
}

void TFF1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_centredOnScreen) {
        m_centredOnScreen = true;
        if (const QScreen *screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
}

void TFF1::closeEvent(QCloseEvent *event)
{
    event->accept();
    terminateApplication();
}

void TFF1::mouseDoubleClickEvent(QMouseEvent *event)
{
    QMainWindow::mouseDoubleClickEvent(event);
    FormDblClick();
}

void TFF1::applyMovementMenuRules(int level)
{
    if (level == 2) {
        STOCK1->menuAction()->setVisible(false);
        INGRESOS2->menuAction()->setVisible(false);
        EGRESOS1->menuAction()->setVisible(false);
        UTILIDADES1->menuAction()->setVisible(false);
        AjustesdeCaja1->setVisible(false);
        Clientes1->menuAction()->setVisible(false);
        VENTAS2->menuAction()->setVisible(true);
    } else if (level == 3) {
        STOCK1->menuAction()->setVisible(false);
        EGRESOS1->menuAction()->setVisible(false);
        UTILIDADES1->menuAction()->setVisible(false);
        Clientes1->menuAction()->setVisible(false);
        INGRESOS2->menuAction()->setVisible(true);
        VENTAS2->menuAction()->setVisible(true);
        AjustesdeCaja1->setVisible(true);
    }
}
