#include "platform/ui/GridCellDelegate.h"

#include <QPainter>

namespace vx::ui {

namespace {

constexpr int textMargin = 3;
// Texts kept laid out: several screens of a grid's cells.
constexpr qsizetype keptTexts = 8192;

}  // namespace

const QStaticText &GridCellDelegate::laidOut(const QString &text, const QFont &font) const
{
    if (font != m_font) {
        m_texts.clear();
        m_font = font;
    }
    auto found = m_texts.find(text);
    if (found != m_texts.end())
        return *found;
    if (m_texts.size() >= keptTexts)
        m_texts.clear();
    QStaticText laid(text);
    // A description is never markup, whatever characters it holds.
    laid.setTextFormat(Qt::PlainText);
    laid.prepare(QTransform(), font);
    return *m_texts.insert(text, laid);
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = !option.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
        : option.state.testFlag(QStyle::State_Active)                              ? QPalette::Active
                                                                                   : QPalette::Inactive;
    if (selected) {
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    } else {
        const QVariant background = index.data(Qt::BackgroundRole);
        if (background.canConvert<QBrush>())
            painter->fillRect(option.rect, qvariant_cast<QBrush>(background));
    }
    QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return;
    const QRect area = option.rect.adjusted(textMargin, 0, -textMargin, 0);
    const QStaticText *shown = &laidOut(text, option.font);
    if (shown->size().width() > area.width()) {
        // Too wide for its column: cut with an ellipsis, as the style does (and kept as well).
        text = option.fontMetrics.elidedText(text, Qt::ElideRight, area.width());
        shown = &laidOut(text, option.font);
    }
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    const QSizeF size = shown->size();
    qreal x = area.left();
    if (alignment & Qt::AlignRight)
        x = area.right() + 1 - size.width();
    else if (alignment & Qt::AlignHCenter)
        x = area.left() + (area.width() - size.width()) / 2;
    const qreal y = area.top() + (area.height() - size.height()) / 2;
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawStaticText(QPointF(x, y), *shown);
    painter->restore();
}

}  // namespace vx::ui
