#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

// The menu as lines "TOP > Sub > Item", captions without their blanks, with " [oculto]" after an
// item that is hidden and " [inactivo]" after a visible one that is disabled (a hidden action is
// always disabled).
inline void collectMenu(const QList<QAction *> &actions, const QString &prefix, QStringList &lines)
{
    for (QAction *action : actions) {
        const QString caption = action->text().trimmed();
        const QString path = prefix.isEmpty() ? caption : prefix + QStringLiteral(" > ") + caption;
        QString line = path;
        if (!action->isVisible())
            line += QStringLiteral(" [oculto]");
        else if (!action->isEnabled())
            line += QStringLiteral(" [inactivo]");
        lines << line;
        if (action->menu())
            collectMenu(action->menu()->actions(), path, lines);
    }
}

inline QStringList menuTree(const QMenuBar *bar)
{
    QStringList lines;
    collectMenu(bar->actions(), QString(), lines);
    return lines;
}

// The captions of the visible top-level menus, in order.
inline QStringList visibleTopLevel(const QMenuBar *bar)
{
    QStringList captions;
    const QList<QAction *> actions = bar->actions();
    for (QAction *action : actions) {
        if (action->isVisible())
            captions << action->text().trimmed();
    }
    return captions;
}

// Whether the operator can get to the item: it and every menu above it are visible.
inline bool reachable(QAction *action)
{
    while (action) {
        if (!action->isVisible())
            return false;
        QMenu *menu = nullptr;
        const QObjectList owners = action->associatedObjects();
        for (QObject *owner : owners) {
            if ((menu = qobject_cast<QMenu *>(owner)))
                break;
        }
        action = menu ? menu->menuAction() : nullptr;
    }
    return true;
}
