#include "cash/Cupones.h"

#include "cash/BankStore.h"
#include "cash/CouponStore.h"
#include "data/DataModule.h"
#include "platform/db/Field.h"
#include "platform/db/Table.h"
#include "platform/ui/DBEdit.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"

#include <QFont>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(QDialog *window, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, window);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

vx::ui::DBEdit *fieldBox(QWidget *parent, const char *name, vx::DataSource *source, const QString &field)
{
    auto *box = new vx::ui::DBEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setDataSource(source);
    box->setDataField(field);
    box->setReadOnly(true);
    return box;
}

} // namespace

TFCupones::TFCupones(QWidget *parent)
    : QDialog(parent), m_coupons(DM1->ADOConnection1, QStringLiteral("CUPONES"), QStringLiteral("Cupones"), this)
{
    setObjectName(QStringLiteral("FCupones"));
    setWindowTitle(QStringLiteral("Cupones de tarjetas"));
    createControls();
}

TFCupones::~TFCupones() = default;

void TFCupones::createControls()
{
    using vx::ui::NavigatorButton;
    DBNavigator1 = new vx::ui::DBNavigator(this);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    DBNavigator1->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                    NavigatorButton::Last);
    DBNavigator1->setDataSource(m_coupons.source);
    auto *heading = new QLabel(QStringLiteral("CUPONES DE TARJETAS"), this);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    DBGrid1 = new vx::ui::DBGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{QStringLiteral("CUPFEC"), {}, 10},
                         {QStringLiteral("CUPCOM"), {}, 10},
                         {QStringLiteral("CUPTARC"), {}, 5},
                         {QStringLiteral("CUPTARD"), {}, 16},
                         {QStringLiteral("CUPNRO"), {}, 12},
                         {QStringLiteral("CUPIMP"), {}, 10},
                         {QStringLiteral("CUPCTA"), {}, 16},
                         {QStringLiteral("CUPDIA"), {}, 5},
                         {QStringLiteral("CUPFAC"), {}, 10}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setToolTip(QStringLiteral("Doble Click para cambiar el Estado del Cupón"));
    DBGrid1->setDataSource(m_coupons.source);
    connect(DBGrid1, &vx::ui::DBGrid::TitleClick, DBGrid1, &vx::ui::DBGrid::sortByTitle);
    connect(DBGrid1, &QAbstractItemView::doubleClicked, this, &TFCupones::DBGrid1DblClick);

    DBEdit1 = fieldBox(this, "DBEdit1", m_coupons.source, QStringLiteral("CUPNRO"));
    DBEdit2 = fieldBox(this, "DBEdit2", m_coupons.source, QStringLiteral("CUPEST"));
    DBEdit2->setMaximumWidth(40);
    BEliminar = button(this, "BEliminar", QStringLiteral("&Eliminar 1 Cupón"));
    BEliminarA = button(this, "BEliminarA", QStringLiteral("&Eliminar Cupones Acreditados"));
    BCerrar = button(this, "BCerrar", QStringLiteral("&Cerrar"));
    connect(BEliminar, &QPushButton::clicked, this, &TFCupones::BEliminarClick);
    connect(BEliminarA, &QPushButton::clicked, this, &TFCupones::BEliminarAClick);
    connect(BCerrar, &QPushButton::clicked, this, &TFCupones::BCerrarClick);

    auto *current = new QHBoxLayout;
    current->addWidget(new QLabel(QStringLiteral("Número de Cupón"), this));
    current->addWidget(DBEdit1);
    current->addWidget(new QLabel(QStringLiteral("Estado"), this));
    current->addWidget(DBEdit2);
    current->addWidget(new QLabel(QStringLiteral("Estado del Cupón:  P:Presentado    A:Acreditado"), this), 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BEliminar);
    buttons->addWidget(BEliminarA);
    buttons->addStretch(1);
    buttons->addWidget(BCerrar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addWidget(DBNavigator1);
    layout->addWidget(DBGrid1, 1);
    layout->addLayout(current);
    layout->addLayout(buttons);
    resize(900, 480);
}

void TFCupones::prepare()
{
    m_coupons.table->open();
    m_coupons.table->fieldByName(QStringLiteral("CUPIMP"))->setDisplayFormat(QStringLiteral("0.00"));
}

std::optional<qint64> TFCupones::currentCoupon() const
{
    if (!m_coupons.table->active() || m_coupons.table->isEmpty())
        return std::nullopt;
    return m_coupons.table->fieldByName(QStringLiteral("Id"))->value().toLongLong();
}

void TFCupones::reload(std::optional<qint64> keep)
{
    m_coupons.table->refresh();
    if (!keep || !m_coupons.table->locate(QStringLiteral("Id"), *keep))
        m_coupons.table->first();
}

void TFCupones::DBGrid1DblClick()
{
    const std::optional<qint64> coupon = currentCoupon();
    if (!coupon)
        return;
    try {
        cash::toggleCouponState(*DM1->ADOConnection1, *coupon);
    } catch (const cash::BankError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
    }
    reload(coupon);
}

void TFCupones::BEliminarClick()
{
    const std::optional<qint64> coupon = currentCoupon();
    if (!coupon)
        return;
    const QString number = m_coupons.table->fieldByName(QStringLiteral("CUPNRO"))->asString();
    if (!vx::ui::dialogs().confirm(this, QStringLiteral("Elimina el cupón Nro.: ") + number + QStringLiteral(" ?"),
                                   windowTitle()))
        return;
    try {
        cash::deleteCoupon(*DM1->ADOConnection1, *coupon);
    } catch (const cash::BankError &error) {
        vx::ui::dialogs().error(this, error.message(), windowTitle());
    }
    reload(std::nullopt);
}

void TFCupones::BEliminarAClick()
{
    if (vx::ui::dialogs().confirm(this, QStringLiteral("Elimina TODOS los cupones Acreditados?"), windowTitle())) {
        try {
            cash::deleteCreditedCoupons(*DM1->ADOConnection1);
        } catch (const cash::BankError &error) {
            vx::ui::dialogs().error(this, error.message(), windowTitle());
        }
    }
    reload(std::nullopt);
}

void TFCupones::BCerrarClick()
{
    done(QDialog::Rejected);
}

void TFCupones::reject()
{
    BCerrarClick();
}

void openCupones(QWidget *parent)
{
    TFCupones window(parent);
    window.prepare();
    vx::ui::dialogs().showModal(&window);
}
