#include "platform/ui/PickList.h"

#include "platform/db/Dataset.h"
#include "platform/ui/Edit.h"

#include <QCompleter>
#include <QLineEdit>
#include <QListView>
#include <QStringListModel>

#include <algorithm>

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
    if (auto *list = qobject_cast<QListView *>(view()))
        list->setUniformItemSizes(true);
    m_completer->setModel(m_model);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    m_completer->setCompletionMode(QCompleter::InlineCompletion);
    setCompleter(m_completer);
}

void PickList::sortItems(QStringList &list) const
{
    if (m_sorted)
        std::sort(list.begin(), list.end(), lessCaseInsensitive);
}

void PickList::setItems(QStringList list)
{
    const QString typed = currentText();
    sortItems(list);
    m_model->setStringList(list);
    setEditText(typed);
}

QStringList PickList::items() const
{
    return m_model->stringList();
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
    m_model->setStringList({});
    setEditText(typed);
}

void PickList::setSorted(bool sorted)
{
    m_sorted = sorted;
    m_completer->setModelSorting(sorted ? QCompleter::CaseInsensitivelySortedModel : QCompleter::UnsortedModel);
    if (sorted)
        setItems(items());
}

void PickList::setAutoComplete(bool on)
{
    m_autoComplete = on;
    setCompleter(on ? m_completer : nullptr);
}

void PickList::setUpperCase(bool upper)
{
    vx::ui::setUpperCase(lineEdit(), upper);
}

void PickList::setMaxLength(int length)
{
    lineEdit()->setMaxLength(length);
}

QStringList fieldTexts(Dataset &dataset, const QString &fieldName, const std::function<void(int)> &progress)
{
    QStringList texts;
    if (!dataset.active())
        return texts;
    const Field *f = dataset.fieldByName(fieldName);
    texts.reserve(dataset.recordCount());
    dataset.disableControls();
    try {
        for (dataset.first(); !dataset.eof(); dataset.next()) {
            texts << f->asString();
            if (progress)
                progress(dataset.recNo());
        }
    } catch (...) {
        dataset.enableControls();
        throw;
    }
    dataset.enableControls();
    return texts;
}

}  // namespace vx::ui
