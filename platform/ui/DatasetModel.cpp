#include "platform/ui/DatasetModel.h"

#include "platform/db/DataSource.h"
#include "platform/db/Dataset.h"
#include "platform/ui/Dialogs.h"

#include <QFont>

#include <optional>

namespace vx::ui {

namespace {

// Rows kept formatted; a screen shows a few dozen, so this covers scrolling back and forth.
constexpr size_t cachedRowsLimit = 1024;

QString yesNoText(const QVariant &value)
{
    if (value.isNull())
        return {};
    return value.toBool() ? QStringLiteral("Si") : QStringLiteral("No");
}

// A yes/no typed into a cell: the texts the grid shows, or the field's own "yes;no" format.
std::optional<bool> parseYesNo(const QString &text, const QString &format)
{
    const QString typed = text.trimmed();
    QStringList yes{QStringLiteral("Si"), QStringLiteral("Sí"), QStringLiteral("S"), QStringLiteral("True"),
                    QStringLiteral("1")};
    QStringList no{QStringLiteral("No"), QStringLiteral("N"), QStringLiteral("False"), QStringLiteral("0")};
    if (format.contains(QLatin1Char(';'))) {
        yes << format.section(QLatin1Char(';'), 0, 0);
        no << format.section(QLatin1Char(';'), 1, 1);
    }
    if (yes.contains(typed, Qt::CaseInsensitive))
        return true;
    if (no.contains(typed, Qt::CaseInsensitive))
        return false;
    return std::nullopt;
}

}  // namespace

QVariant GridRow::value(const QString &fieldName) const
{
    const Field *f = m_dataset.findField(fieldName);
    if (!f || f->index() >= m_values.size())
        return {};
    return m_values[f->index()];
}

DatasetModel::DatasetModel(QObject *parent) : QAbstractTableModel(parent) {}

DatasetModel::~DatasetModel() = default;

Dataset *DatasetModel::dataset() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

void DatasetModel::setDataSource(DataSource *source)
{
    if (m_source == source)
        return;
    for (const QMetaObject::Connection &c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_source = source;
    connectSource();
    rebuild();
}

void DatasetModel::rebuild()
{
    beginResetModel();
    m_cache.clear();
    bindFields();
    m_rowCount = datasetRows();
    m_inserting = dataset() && dataset()->state() == Dataset::State::Insert;
    endResetModel();
    emit currentRowChanged(currentRow());
}

void DatasetModel::connectSource()
{
    if (!m_source)
        return;
    m_connections << connect(m_source, &DataSource::dataSetChanged, this, &DatasetModel::sync)
                  << connect(m_source, &DataSource::activeChanged, this, &DatasetModel::sync)
                  << connect(m_source, &DataSource::stateChanged, this, &DatasetModel::sync)
                  << connect(m_source, &DataSource::dataSetScrolled, this, &DatasetModel::scrolled)
                  << connect(m_source, &DataSource::recordChanged, this, &DatasetModel::recordChanged)
                  << connect(m_source, &QObject::destroyed, this, [this] {
                         m_connections.clear();
                         rebuild();
                     });
}

void DatasetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_ownColumns = !columns.isEmpty();
    m_columns = columns;
    bindFields();
    m_cache.clear();
    endResetModel();
}

void DatasetModel::setColumn(int index, const GridColumn &newColumn)
{
    if (index < 0 || index >= m_columns.size())
        return;
    const bool refield = m_columns[index].fieldName != newColumn.fieldName;
    m_columns[index] = newColumn;
    m_ownColumns = true;
    if (refield) {
        const Dataset *ds = dataset();
        const Field *f = ds ? ds->findField(newColumn.fieldName) : nullptr;
        m_fieldIndex[size_t(index)] = f ? f->index() : -1;
    }
    emit headerDataChanged(Qt::Horizontal, index, index);
    if (m_rowCount > 0)
        emit dataChanged(this->index(0, index), this->index(m_rowCount - 1, index));
}

int DatasetModel::columnOf(const QString &fieldName) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Field *DatasetModel::field(int column) const
{
    const Dataset *ds = dataset();
    if (!ds || !ds->active() || column < 0 || size_t(column) >= m_fieldIndex.size() || m_fieldIndex[size_t(column)] < 0)
        return nullptr;
    return ds->field(m_fieldIndex[size_t(column)]);
}

void DatasetModel::setCellColor(CellColorHook hook)
{
    m_cellColor = std::move(hook);
    if (m_rowCount > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(m_rowCount - 1, int(m_columns.size()) - 1), {Qt::BackgroundRole});
}

void DatasetModel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

QList<GridColumn> DatasetModel::defaultColumns() const
{
    QList<GridColumn> out;
    const Dataset *ds = dataset();
    if (!ds || !ds->active())
        return out;
    for (const Field *f : ds->fields()) {
        if (!f->visible())
            continue;
        GridColumn c;
        c.fieldName = f->fieldName();
        out << c;
    }
    return out;
}

// Resolves the columns' fields again when the dataset's fields are new (opened, reopened, another
// dataset), and rebinds the row reader to them.
void DatasetModel::bindFields()
{
    Dataset *ds = dataset();
    m_boundFields = ds && ds->active() ? ds->fields() : QList<Field *>();
    m_reader.bind(ds && ds->active() ? ds : nullptr);
    if (!m_ownColumns)
        m_columns = defaultColumns();
    m_fieldIndex.assign(size_t(m_columns.size()), -1);
    for (int i = 0; i < m_columns.size(); ++i) {
        const Field *f = ds && ds->active() ? ds->findField(m_columns[i].fieldName) : nullptr;
        m_fieldIndex[size_t(i)] = f ? f->index() : -1;
    }
}

int DatasetModel::datasetRows() const
{
    const Dataset *ds = dataset();
    if (!ds || !ds->active())
        return 0;
    return ds->recordCount() + (ds->state() == Dataset::State::Insert ? 1 : 0);
}

int DatasetModel::bufferRow() const
{
    const Dataset *ds = dataset();
    if (!ds || !ds->active())
        return -1;
    if (ds->state() == Dataset::State::Insert)
        return m_inserting ? m_rowCount - 1 : -1;
    return ds->recNo() - 1;
}

int DatasetModel::currentRow() const
{
    const int row = bufferRow();
    return row >= 0 && row < m_rowCount ? row : -1;
}

void DatasetModel::sync()
{
    Dataset *ds = dataset();
    const bool inserting = ds && ds->active() && ds->state() == Dataset::State::Insert;
    const int count = datasetRows();
    const bool refield = (ds && ds->active() ? ds->fields() : QList<Field *>()) != m_boundFields;
    m_cache.clear();
    m_resyncPending = false;

    if (refield && !m_ownColumns) {
        // The default columns follow the fields: the table's shape changes.
        beginResetModel();
        bindFields();
        m_rowCount = count;
        m_inserting = inserting;
        endResetModel();
    } else {
        if (refield)
            bindFields();
        if (count == m_rowCount && inserting == m_inserting) {
            if (count > 0 && !m_columns.isEmpty())
                emit dataChanged(index(0, 0), index(count - 1, int(m_columns.size()) - 1));
        } else if (inserting && !m_inserting && count == m_rowCount + 1) {
            beginInsertRows({}, m_rowCount, m_rowCount);
            m_rowCount = count;
            m_inserting = true;
            endInsertRows();
        } else if (!inserting && m_inserting && count == m_rowCount - 1) {
            beginRemoveRows({}, m_rowCount - 1, m_rowCount - 1);
            m_rowCount = count;
            m_inserting = false;
            endRemoveRows();
        } else {
            beginResetModel();
            m_rowCount = count;
            m_inserting = inserting;
            endResetModel();
        }
    }
    emit currentRowChanged(currentRow());
}

void DatasetModel::scrolled()
{
    emit currentRowChanged(currentRow());
}

void DatasetModel::recordChanged()
{
    const int row = currentRow();
    if (row >= 0 && !m_columns.isEmpty())
        emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
}

void DatasetModel::resyncLater() const
{
    // A row deleted elsewhere was dropped while painting; the view learns the new count after it.
    if (m_resyncPending)
        return;
    m_resyncPending = true;
    QMetaObject::invokeMethod(const_cast<DatasetModel *>(this), &DatasetModel::sync, Qt::QueuedConnection);
}

const DatasetModel::CachedRow *DatasetModel::cachedRow(int row) const
{
    const auto found = m_cache.find(row);
    if (found != m_cache.end())
        return &found->second;
    CachedRow fresh;
    ++m_rowsRead;
    try {
        if (!m_reader.read(row, fresh.values)) {
            resyncLater();
            return nullptr;
        }
    } catch (const std::exception &) {
        // A row the database cannot give now is painted empty; painting is no place for a message.
        return nullptr;
    }
    fresh.texts = m_reader.displayTexts(fresh.values);
    if (m_cache.size() >= cachedRowsLimit)
        m_cache.clear();
    return &m_cache.emplace(row, std::move(fresh)).first->second;
}

QVariantList DatasetModel::bufferValues() const
{
    QVariantList values;
    const Dataset *ds = dataset();
    for (const Field *f : ds->fields())
        values << f->value();
    return values;
}

QString DatasetModel::cellText(int row, int column) const
{
    const int fieldIndex = m_fieldIndex[size_t(column)];
    if (fieldIndex < 0)
        return {};
    const bool yesNo = m_columns[column].yesNo;
    if (row == bufferRow()) {
        const Field *f = dataset()->field(fieldIndex);
        return yesNo ? yesNoText(f->value()) : f->displayText();
    }
    const CachedRow *cached = cachedRow(row);
    if (!cached)
        return {};
    if (yesNo)
        return yesNoText(cached->values.value(fieldIndex));
    return cached->texts.value(fieldIndex);
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole: return cellText(row, column);
    case Qt::EditRole: {
        const int fieldIndex = m_fieldIndex[size_t(column)];
        if (fieldIndex < 0)
            return QString();
        if (m_columns[column].yesNo)
            return cellText(row, column);
        if (row == bufferRow())
            return dataset()->field(fieldIndex)->editText();
        const CachedRow *cached = cachedRow(row);
        return cached ? m_reader.editText(fieldIndex, cached->values) : QString();
    }
    case Qt::TextAlignmentRole: {
        Qt::Alignment alignment = m_columns[column].alignment;
        if (!(alignment & Qt::AlignHorizontal_Mask)) {
            const Field *f = field(column);
            alignment |= f && f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft;
        }
        if (!(alignment & Qt::AlignVertical_Mask))
            alignment |= Qt::AlignVCenter;
        return QVariant::fromValue(alignment);
    }
    case Qt::BackgroundRole: {
        if (!m_cellColor)
            return {};
        const Dataset *ds = dataset();
        QColor color;
        if (row == bufferRow()) {
            const QVariantList values = bufferValues();
            color = m_cellColor(GridRow(*ds, values, row), column);
        } else if (const CachedRow *cached = cachedRow(row)) {
            color = m_cellColor(GridRow(*ds, cached->values, row), column);
        }
        return color.isValid() ? QVariant(color) : QVariant();
    }
    default: return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn &c = m_columns[section];
    switch (role) {
    case Qt::DisplayRole: {
        if (!c.title.isEmpty())
            return c.title;
        const Field *f = field(section);
        return f ? f->displayLabel() : c.fieldName;
    }
    case Qt::FontRole: {
        if (!c.titleBold)
            return {};
        // Only the weight is set, so the header's own font supplies the rest.
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    default: return {};
    }
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

bool DatasetModel::columnEditable(int column) const
{
    const Dataset *ds = dataset();
    const Field *f = field(column);
    return !m_readOnly && f && !f->readOnly() && !m_columns[column].readOnly && ds && !ds->isReadOnly();
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid))
        return Qt::NoItemFlags;
    Qt::ItemFlags out = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (columnEditable(index.column()))
        out |= Qt::ItemIsEditable;
    return out;
}

// A cell typed into edits the current record, as the field would from an edit box; leaving the
// row (or the navigator's post) stores it.
bool DatasetModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index, CheckIndexOption::ParentIsInvalid)
        || !columnEditable(index.column()) || index.row() != bufferRow())
        return false;
    Dataset *ds = dataset();
    Field *f = field(index.column());
    const QString text = value.toString();
    if (ds->state() == Dataset::State::Browse && text == data(index, Qt::EditRole).toString())
        return false;
    try {
        if (ds->state() == Dataset::State::Browse)
            ds->edit();
        f = field(index.column());
        if (f->dataType() == FieldType::Boolean) {
            const std::optional<bool> yes = parseYesNo(text, f->displayFormat());
            if (yes)
                f->setAsBoolean(*yes);
            else if (text.trimmed().isEmpty())
                f->clear();
            else
                return false;
        } else {
            f->setAsString(text);
        }
    } catch (const std::exception &failure) {
        dialogs().showException(nullptr, failure);
        return false;
    }
    return true;
}

}  // namespace vx::ui
