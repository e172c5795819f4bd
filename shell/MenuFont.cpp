#include "shell/MenuFont.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

struct MenuFontState {
    QFont font;
    QPointer<QMenuBar> root;
};

MenuFontState &state()
{
    static MenuFontState current;
    return current;
}

// Measures and draws menu captions with the process's menu font; backgrounds, highlights and
// sub-menu arrows stay the base style's.
class MenuCaptionStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item || (element != CE_MenuItem && element != CE_MenuBarItem)
            || item->menuItemType == QStyleOptionMenuItem::Separator) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem background(*item);
        background.text.clear();
        QProxyStyle::drawControl(element, &background, painter, widget);

        const bool highlighted = (item->state & State_Selected) && (item->state & State_Enabled);
        const QPalette::ColorGroup group = (item->state & State_Enabled) ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->setClipRect(item->rect, Qt::IntersectClip);
        painter->setFont(state().font);
        painter->setPen(item->palette.color(group, highlighted ? QPalette::HighlightedText : QPalette::ButtonText));
        painter->drawText(item->rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                          TCambiarLetraMenu::drawnCaption(item->text));
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (!item || (type != CT_MenuItem && type != CT_MenuBarItem)
            || item->menuItemType == QStyleOptionMenuItem::Separator)
            return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
        QStyleOptionMenuItem measured(*item);
        measured.font = state().font;
        measured.fontMetrics = QFontMetrics(state().font);
        const QSize text = measured.fontMetrics.size(Qt::TextSingleLine, TCambiarLetraMenu::drawnCaption(item->text));
        return QProxyStyle::sizeFromContents(type, &measured, text.expandedTo(QSize(0, contentsSize.height())), widget);
    }
};

QStyle *captionStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new MenuCaptionStyle;
        style->setParent(qApp);
    }
    return style;
}

void attach(QMenu *menu)
{
    menu->setStyle(captionStyle());
    const QList<QAction *> actions = menu->actions();
    for (QAction *action : actions) {
        if (QMenu *sub = action->menu())
            attach(sub);
    }
}

}  // namespace

TCambiarLetraMenu::TCambiarLetraMenu(QMenuBar *root, const QFont &font)
{
    state().font = font;
    state().root = root;
    // Menus attached before measure their items again in the new font.
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        if (widget->style() == captionStyle()) {
            QEvent changed(QEvent::StyleChange);
            QCoreApplication::sendEvent(widget, &changed);
        }
    }
}

void TCambiarLetraMenu::apply()
{
    QMenuBar *root = state().root;
    if (!root)
        return;
    root->setStyle(captionStyle());
    const QList<QAction *> actions = root->actions();
    for (QAction *action : actions) {
        if (QMenu *menu = action->menu())
            attach(menu);
    }
    root->updateGeometry();
    root->update();
}

QFont TCambiarLetraMenu::menuFont()
{
    return state().font;
}

QString TCambiarLetraMenu::drawnCaption(const QString &caption)
{
    QString text = caption;
    const qsizetype marker = text.indexOf(QLatin1Char('&'));
    if (marker >= 0)
        text.remove(marker, 1);
    return text;
}

QFont TCambiarLetraMenu::defaultMenuFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Nimbus Sans"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    font.setBold(true);
    return font;
}
