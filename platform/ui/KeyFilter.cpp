#include "platform/ui/KeyFilter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace vx::ui {

namespace {

constexpr QChar bell(7);

QLineEdit *lineEditOf(QWidget *box)
{
    if (auto *edit = qobject_cast<QLineEdit *>(box))
        return edit;
    if (auto *combo = qobject_cast<QComboBox *>(box))
        return combo->lineEdit();
    return nullptr;
}

// Control characters other than the bell are keys (Enter, Tab, Escape, shortcuts), not typing.
bool typesCharacter(QChar c)
{
    return c == bell || !(c.category() == QChar::Other_Control);
}

}  // namespace

KeyFilter::KeyFilter(const QString &accepted, QObject *parent) : QObject(parent), m_accepted(accepted) {}

void KeyFilter::attach(QWidget *box)
{
    QWidget *target = lineEditOf(box);
    (target ? target : box)->installEventFilter(this);
}

bool KeyFilter::refusedAsSecond(QWidget *target, QChar character) const
{
    if (m_single.isNull() || character != m_single)
        return false;
    const QLineEdit *edit = lineEditOf(target);
    if (!edit)
        return false;
    QString kept = edit->text();
    if (edit->hasSelectedText())
        kept.remove(edit->selectionStart(), edit->selectedText().size());
    return kept.contains(character);
}

bool KeyFilter::keyPress(QWidget *target, QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace || event->text().size() != 1)
        return false;
    const QChar typed = event->text().front();
    if (!typesCharacter(typed))
        return false;
    if (!m_accepted.contains(typed) || refusedAsSecond(target, typed)) {
        if (m_onReject)
            m_onReject(typed);
        return true;
    }
    const auto replacement = m_replacements.constFind(typed);
    if (replacement == m_replacements.constEnd())
        return false;
    // Typed again as the replacement, so that the box (and this filter) treat it as typed.
    QKeyEvent retyped(QEvent::KeyPress, replacement->toUpper().unicode(), event->modifiers(), QString(*replacement));
    QCoreApplication::sendEvent(target, &retyped);
    return true;
}

bool KeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        return keyPress(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

KeyFilter *filterAmountKeys(QWidget *box, bool singleComma)
{
    auto *filter = new KeyFilter(QStringLiteral("0123456789.,-") + bell, box);
    filter->setReplacement(QLatin1Char('.'), QLatin1Char(','));
    if (singleComma)
        filter->setSingle(QLatin1Char(','));
    filter->attach(box);
    return filter;
}

KeyFilter *filterDateKeys(QWidget *box)
{
    auto *filter = new KeyFilter(QStringLiteral("0123456789/"), box);
    filter->attach(box);
    return filter;
}

}  // namespace vx::ui
