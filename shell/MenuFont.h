#pragma once

#include <QFont>
#include <QPointer>
#include <QString>

class QMenuBar;

// Draws every item of a menu tree with one chosen font, larger and bolder than the system's menu
// font. The font and the root are held process-wide: the changer can be released right after
// apply() and the menu keeps its font; a second changer replaces the font for every menu already
// attached.
class TCambiarLetraMenu {
public:
    TCambiarLetraMenu(QMenuBar *root, const QFont &font);

    // Attaches the drawing to the bar and, depth first in index order, to every sub-menu.
    void apply();

    // The font the attached menus are drawn with.
    static QFont menuFont();
    // The caption as drawn: the first "&" (the access-key marker) removed, any further one kept.
    static QString drawnCaption(const QString &caption);
    // The bold 10-point "MS Sans Serif", or the closest sans font installed.
    static QFont defaultMenuFont();
};
