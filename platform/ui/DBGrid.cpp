#include "platform/ui/DBGrid.h"

#include "platform/db/Dataset.h"
#include "platform/db/DataSource.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/GridCellDelegate.h"
#include "platform/ui/TitleSort.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>

namespace vx::ui {

namespace {

constexpr int cellPadding = 8;

}  // namespace

DBGrid::DBGrid(QWidget *parent) : QTableView(parent), m_model(new DatasetModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setCursor(Qt::PointingHandCursor);
    setReadOnly(true);
    applyLayout();

    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &DBGrid::TitleClick);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DBGrid::rememberWidth);
    connect(m_model, &DatasetModel::currentRowChanged, this, &DBGrid::followLater);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DBGrid::applyLayout);
}

void DBGrid::setDataSource(DataSource *source)
{
    m_model->setDataSource(source);
    applyLayout();
    followDataset(m_model->currentRow());
}

void DBGrid::setColumns(const QList<GridColumn> &newColumns)
{
    m_userWidths.clear();
    m_sortedColumn = -1;
    m_model->setColumns(newColumns);
    applyLayout();
    followDataset(m_model->currentRow());
}

int DBGrid::addColumn(const QString &fieldName, const QString &title, int width)
{
    QList<GridColumn> all = m_model->hasOwnColumns() ? m_model->columns() : QList<GridColumn>();
    GridColumn c;
    c.fieldName = fieldName;
    c.title = title;
    c.width = width;
    all << c;
    const QHash<int, int> widths = m_userWidths;
    setColumns(all);
    m_userWidths = widths;
    return int(all.size()) - 1;
}

void DBGrid::setColumn(int index, const GridColumn &newColumn)
{
    m_model->setColumn(index, newColumn);
    applyLayout();
}

void DBGrid::setColumnVisible(int index, bool visible)
{
    GridColumn c = m_model->column(index);
    c.visible = visible;
    setColumn(index, c);
}

void DBGrid::setTitleBold(int index, bool bold)
{
    GridColumn c = m_model->column(index);
    c.titleBold = bold;
    m_model->setColumn(index, c);
}

bool DBGrid::titleBold(int index) const
{
    return m_model->column(index).titleBold;
}

void DBGrid::setReadOnly(bool readOnly)
{
    m_model->setReadOnly(readOnly);
    setEditTriggers(readOnly ? QAbstractItemView::NoEditTriggers
                             : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                   | QAbstractItemView::AnyKeyPressed);
}

void DBGrid::sortByTitle(int index)
{
    Dataset *ds = m_model->dataset();
    if (!ds || index < 0 || index >= m_model->columnCount())
        return;
    const Field *f = m_model->field(index);
    const QString fieldName = f ? f->fieldName() : m_model->column(index).fieldName;
    try {
        ds->setSort(titleSortText(ds->sort(), fieldName));
    } catch (const std::exception &failure) {
        dialogs().showException(this, failure);
        return;
    }
    if (m_sortedColumn >= 0 && m_sortedColumn != index && m_sortedColumn < m_model->columnCount())
        setTitleBold(m_sortedColumn, false);
    setTitleBold(index, true);
    m_sortedColumn = index;
}

int DBGrid::defaultWidth(int index) const
{
    const GridColumn &c = m_model->column(index);
    int characters = c.width;
    if (characters <= 0) {
        const Field *f = m_model->field(index);
        characters = f ? f->displayWidth() : 10;
    }
    const QFontMetrics cells(font());
    QFont titleFont = horizontalHeader()->font();
    titleFont.setBold(c.titleBold);
    const QString title = m_model->headerData(index, Qt::Horizontal).toString();
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(title);
    return std::max(characters * cells.horizontalAdvance(QLatin1Char('0')), titleWidth) + cellPadding;
}

void DBGrid::applyLayout()
{
    m_applyingLayout = true;
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (int i = 0; i < m_model->columnCount(); ++i) {
        setColumnHidden(i, !m_model->column(i).visible);
        setColumnWidth(i, m_userWidths.value(i, defaultWidth(i)));
    }
    m_applyingLayout = false;
}

void DBGrid::rememberWidth(int section, int, int newSize)
{
    if (!m_applyingLayout && newSize > 0)
        m_userWidths.insert(section, newSize);
}

void DBGrid::followDataset(int row)
{
    if (!selectionModel())
        return;
    m_following = true;
    if (row < 0) {
        selectionModel()->clear();
    } else {
        int column = currentIndex().isValid() ? currentIndex().column() : 0;
        while (column < m_model->columnCount() - 1 && isColumnHidden(column))
            ++column;
        const QModelIndex target = m_model->index(row, column);
        if (target.isValid()) {
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            scrollTo(target);
        }
    }
    m_following = false;
}

// A walk over thousands of records moves the dataset thousands of times before the screen is
// painted again; the selection follows once, where the walk ended.
void DBGrid::followLater()
{
    if (m_followPending)
        return;
    m_followPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_followPending = false;
            followDataset(m_model->currentRow());
        },
        Qt::QueuedConnection);
}

// The operator moved the selection: the dataset follows, posting an edited record first. A record
// that cannot be posted keeps the dataset (and then the selection) where it was.
void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid() || current.row() == m_model->currentRow())
        return;
    Dataset *ds = m_model->dataset();
    if (!ds || !ds->active())
        return;
    try {
        if (current.row() < ds->recordCount())
            ds->setRecNo(current.row() + 1);
    } catch (const std::exception &failure) {
        dialogs().showException(this, failure);
    }
    if (current.row() != m_model->currentRow())
        followLater();
}

void DBGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    emit KeyUp(event->key(), event->modifiers());
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        applyLayout();
}

}  // namespace vx::ui
