#include "platform/ui/PickList.h"

#include "platform/db/Dataset.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Edit.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

#include <algorithm>
#include <utility>
#include <vector>

namespace vx::ui {

namespace {

// The order the completer's binary search assumes: without regard to case, then by case so that
// equal texts in other cases keep one order.
bool lessCaseInsensitive(const QString &a, const QString &b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

PickList::PickList(QWidget *parent)
    : QComboBox(parent), m_model(new QStringListModel(this)), m_completer(new QCompleter(this))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setModel(m_model);
    // Sizing to the contents would measure every item.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(13);
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    m_completer->setModel(m_model);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    m_completer->setCompletionMode(QCompleter::InlineCompletion);
    setCompleter(m_completer);
    // Connected first, so that the page follows the text before the owner hears of the change.
    connect(lineEdit(), &QLineEdit::textEdited, this, &PickList::textTyped);
}

void PickList::askDatabase(Connection *connection, const PickSource &source)
{
    if (m_prefixModel && m_prefixModel->connection() == connection
        && m_prefixModel->source().table == source.table && m_prefixModel->source().column == source.column) {
        refresh();
        return;
    }
    const QString typed = currentText();
    auto *model = new PrefixListModel(connection, source, this);
    // The list completes by itself from each page; the completer would search only the page.
    setCompleter(nullptr);
    setModel(model);
    if (m_prefixModel)
        m_prefixModel->deleteLater();
    m_prefixModel = model;
    lineEdit()->installEventFilter(this);
    // A new model empties the box; what was in it stays.
    setEditText(typed);
    readPageKeepingText(typed);
}

void PickList::refresh()
{
    if (m_prefixModel)
        readPageKeepingText(currentText());
}

void PickList::readPageKeepingText(const QString &prefix)
{
    // A new page makes the combo box show its first item; the operator's text and cursor stay.
    QLineEdit *edit = lineEdit();
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    const bool hadSelection = edit->hasSelectedText();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = int(edit->selectedText().size());
    m_pageBehind = false;
    try {
        m_prefixModel->setPrefix(prefix);
    } catch (const std::exception &failure) {
        m_prefixModel->forget();
        dialogs().showException(this, failure);
    }
    // No item is current, so that Down in the box goes to the first one.
    setCurrentIndex(-1);
    edit->setText(text);
    if (hadSelection)
        edit->setSelection(selectionStart, selectionLength);
    else
        edit->setCursorPosition(cursor);
}

void PickList::textTyped(const QString &text)
{
    if (!m_prefixModel)
        return;
    m_typed = text;
    if (!m_autoComplete) {
        // Nothing shows the page while the operator types; it is read when something looks at it.
        m_pageBehind = true;
        return;
    }
    readPageKeepingText(text);
    // Inline completion as the operator types forward: the first text that begins with what was
    // typed, the completed part selected so that the next key replaces it.
    if (!m_autoComplete || text.isEmpty() || m_lastKey == Qt::Key_Backspace || m_lastKey == Qt::Key_Delete)
        return;
    QLineEdit *edit = lineEdit();
    if (edit->cursorPosition() != text.size() || m_prefixModel->rowCount() == 0)
        return;
    const QString first = m_prefixModel->texts().constFirst();
    if (first.size() <= text.size() || !first.startsWith(text, Qt::CaseInsensitive))
        return;
    edit->setText(text + first.mid(text.size()));
    edit->setSelection(int(text.size()), int(first.size() - text.size()));
}

void PickList::readPageIfTyped()
{
    if (m_prefixModel && m_pageBehind)
        readPageKeepingText(m_typed);
}

bool PickList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        m_lastKey = static_cast<QKeyEvent *>(event)->key();
        // Keys that step through the items step through those of the typed text.
        if (m_lastKey == Qt::Key_Up || m_lastKey == Qt::Key_Down || m_lastKey == Qt::Key_PageUp
            || m_lastKey == Qt::Key_PageDown)
            readPageIfTyped();
    }
    return QComboBox::eventFilter(watched, event);
}

void PickList::wheelEvent(QWheelEvent *event)
{
    readPageIfTyped();
    QComboBox::wheelEvent(event);
}

void PickList::showPopup()
{
    // The drop-down shows what the database holds now: the texts that begin with what the
    // operator typed, or from the first one when the box holds a text put there for him.
    if (m_prefixModel)
        readPageKeepingText(currentText() == m_typed ? m_typed : QString());
    QComboBox::showPopup();
}

void PickList::sortItems(QStringList &list) const
{
    // Lists read in an index's order arrive sorted already; checking is far cheaper than sorting.
    if (!m_sorted || std::is_sorted(list.cbegin(), list.cend(), lessCaseInsensitive))
        return;
    // Folding each text once and comparing the folded texts plainly is about twice as fast as
    // folding on every comparison, and gives the same order.
    std::vector<std::pair<QString, qsizetype>> keys;
    keys.reserve(size_t(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        keys.emplace_back(list[i].toCaseFolded(), i);
    std::sort(keys.begin(), keys.end(), [&list](const auto &a, const auto &b) {
        const int folded = QStringView(a.first).compare(QStringView(b.first));
        return folded != 0 ? folded < 0 : list[a.second] < list[b.second];
    });
    QStringList sorted;
    sorted.reserve(list.size());
    for (const auto &key : keys)
        sorted << list[key.second];
    list = std::move(sorted);
}

void PickList::setItems(QStringList list)
{
    const QString typed = currentText();
    sortItems(list);
    m_model->setStringList(list);
    setEditText(typed);
}

QStringList PickList::items()
{
    readPageIfTyped();
    return m_prefixModel ? m_prefixModel->texts() : m_model->stringList();
}

void PickList::addText(const QString &text)
{
    int row = m_model->rowCount();
    if (m_sorted) {
        const QStringList &list = m_model->stringList();
        row = int(std::upper_bound(list.begin(), list.end(), text, lessCaseInsensitive) - list.begin());
    }
    m_model->insertRows(row, 1);
    m_model->setData(m_model->index(row), text);
}

void PickList::clearItems()
{
    const QString typed = currentText();
    if (m_prefixModel)
        m_prefixModel->forget();
    else
        m_model->setStringList({});
    setEditText(typed);
}

void PickList::setSorted(bool sorted)
{
    m_sorted = sorted;
    m_completer->setModelSorting(sorted ? QCompleter::CaseInsensitivelySortedModel : QCompleter::UnsortedModel);
    if (sorted && !m_prefixModel)
        setItems(items());
}

void PickList::setAutoComplete(bool on)
{
    m_autoComplete = on;
    if (!m_prefixModel)
        setCompleter(on ? m_completer : nullptr);
}

void PickList::setUpperCase(bool upper)
{
    vx::ui::setUpperCase(lineEdit(), upper);
}

void PickList::setMaxLength(int length)
{
    setTypedLength(lineEdit(), length);
}

QList<QStringList> fieldTexts(Dataset &dataset, const QStringList &fieldNames, const std::function<void(int)> &progress)
{
    QList<QStringList> texts(fieldNames.size());
    if (!dataset.active())
        return texts;
    QList<const Field *> fields;
    for (const QString &name : fieldNames)
        fields << dataset.fieldByName(name);
    // The columns alone, in the dataset's order and filter, without moving its cursor.
    const QList<QVariantList> rows = dataset.columnValues(fieldNames);
    for (QStringList &list : texts)
        list.reserve(rows.size());
    int done = 0;
    for (const QVariantList &row : rows) {
        for (int i = 0; i < fields.size(); ++i)
            texts[i] << fields[i]->asString(row[i]);
        if (progress && ++done % 1000 == 0)
            progress(done);
    }
    if (progress)
        progress(int(rows.size()));
    return texts;
}

QStringList fieldTexts(Dataset &dataset, const QString &fieldName, const std::function<void(int)> &progress)
{
    return fieldTexts(dataset, QStringList{fieldName}, progress).constFirst();
}

}  // namespace vx::ui
