#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace vx::ui {

// Paints a data grid's cells: the background (selection or the row's colour) and one line of
// text. A cell's text is laid out once and kept: the style's own painting shapes every text again
// on each paint, twice (to size the cell and to draw it), which is nearly all a keystroke in a
// big grid costs. Editing is the styled delegate's.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    const QStaticText &laidOut(const QString &text, const QFont &font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};

}  // namespace vx::ui
