#include "cash/CashWidgets.h"

#include "app/OwnCursor.h"
#include "platform/core/ShopFormat.h"
#include "platform/ui/DBGrid.h"
#include "platform/ui/DBNavigator.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"
#include "platform/ui/KeyFilter.h"
#include "platform/ui/NamedControls.h"

#include <QLineEdit>

namespace cash {

QLineEdit *readOnlyBox(QWidget *parent, const char *name)
{
    return vx::ui::readOnlyFigureBox(parent, name);
}

QLineEdit *dateBox(QWidget *parent, const char *name, int maxLength)
{
    auto *box = new vx::ui::Edit(maxLength, false, parent);
    box->setObjectName(QLatin1String(name));
    vx::ui::filterDateKeys(box);
    return box;
}

std::optional<QDate> leaveDateBox(QLineEdit *box)
{
    const QString text = box->text().trimmed();
    if (text.isEmpty()) {
        box->setText(vx::shopformat::formatDate(QDate::currentDate()));
        return QDate::currentDate();
    }
    const std::optional<QDate> date = vx::shopformat::parseDate(text);
    if (!date) {
        vx::ui::dialogs().error(box->window(), vx::shopformat::notADateMessage(text), box->window()->windowTitle());
        return std::nullopt;
    }
    box->setText(vx::shopformat::formatDate(*date));
    return date;
}

QList<vx::ui::GridColumn> cashBookColumns(const QString &amountTitle)
{
    return {{QStringLiteral("CAJMOV"), QStringLiteral("I/E"), 4},
            {QStringLiteral("CAJTIP"), QStringLiteral("M.P."), 4},
            {QStringLiteral("CAJCOM"), QStringLiteral("Comprobante Nro."), 14},
            {QStringLiteral("CAJIMP"), amountTitle, 12},
            {QStringLiteral("CAJFEC"), {}, 10},
            {QStringLiteral("CAJENT"), {}, 10},
            {QStringLiteral("CAJSAL"), {}, 10},
            {QStringLiteral("CAJCON"), QStringLiteral("CONCEPTO"), 40}};
}

vx::ui::DBGrid *cashBookGrid(QWidget *parent, app::OwnCursor &book, const QString &amountTitle)
{
    auto *grid = new vx::ui::DBGrid(parent);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setColumns(cashBookColumns(amountTitle));
    grid->setReadOnly(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setDataSource(book.source);
    QObject::connect(grid, &vx::ui::DBGrid::TitleClick, grid, &vx::ui::DBGrid::sortByTitle);
    return grid;
}

vx::ui::DBNavigator *moveNavigator(QWidget *parent, app::OwnCursor &book)
{
    using vx::ui::NavigatorButton;
    auto *navigator = new vx::ui::DBNavigator(parent);
    navigator->setObjectName(QStringLiteral("DBNavigator1"));
    navigator->setVisibleButtons(NavigatorButton::First | NavigatorButton::Prior | NavigatorButton::Next |
                                 NavigatorButton::Last);
    navigator->setDataSource(book.source);
    return navigator;
}

} // namespace cash
