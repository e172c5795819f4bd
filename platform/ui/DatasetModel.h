#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/RowReader.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>

#include <functional>
#include <unordered_map>
#include <vector>

namespace vx {
class DataSource;
class Dataset;
class Field;
}  // namespace vx

namespace vx::ui {

// One column of a data grid.
struct GridColumn {
    QString fieldName;
    QString title;              // empty: the field's display label
    int width = 0;              // in characters; 0: the field's display width
    Qt::Alignment alignment{};  // empty: numbers to the right, everything else to the left
    bool visible = true;
    bool readOnly = false;
    bool yesNo = false;         // yes/no values shown as "Si" / "No"
    bool titleBold = false;
};

// The values of one grid row, for hooks that decide how the row looks.
class VXPLATFORM_EXPORT GridRow {
public:
    GridRow(const Dataset &dataset, const QVariantList &values, int position)
        : m_dataset(dataset), m_values(values), m_position(position)
    {
    }
    int position() const { return m_position; }  // 0-based, in the dataset's order
    // The row's value of a field; null when the dataset has no such field.
    QVariant value(const QString &fieldName) const;

private:
    const Dataset &m_dataset;
    const QVariantList &m_values;
    int m_position;
};

// A background colour for a cell; an invalid colour leaves the grid's own.
using CellColorHook = std::function<QColor(const GridRow &row, int column)>;

// The rows of a data source's dataset as a table model, one model column per grid column. Rows
// are read when a view asks for them and only then, so a grid over millions of rows opens and
// scrolls without walking them. The current record shows its buffer (with unposted edits); a
// record being inserted is shown as an extra last row until it is posted.
class VXPLATFORM_EXPORT DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject *parent = nullptr);
    ~DatasetModel() override;

    DataSource *dataSource() const { return m_source; }
    void setDataSource(DataSource *source);
    Dataset *dataset() const;

    // Without columns of its own the grid shows every visible field of the dataset.
    QList<GridColumn> columns() const { return m_columns; }
    void setColumns(const QList<GridColumn> &columns);
    const GridColumn &column(int index) const { return m_columns[index]; }
    void setColumn(int index, const GridColumn &column);
    bool hasOwnColumns() const { return m_ownColumns; }
    // The column showing a field, or -1.
    int columnOf(const QString &fieldName) const;
    // The field a column shows in the open dataset, or nullptr.
    Field *field(int column) const;

    void setCellColor(CellColorHook hook);
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // The model row of the dataset's current record, or -1.
    int currentRow() const;

    // How many rows were read from the dataset so far (those a view painted).
    qint64 rowsRead() const { return m_rowsRead; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // The dataset's current record is now at this row (-1: none).
    void currentRowChanged(int row);

private:
    struct CachedRow {
        QVariantList values;
        QStringList texts;
    };

    void connectSource();
    void rebuild();
    void sync();
    void recordChanged();
    void scrolled();
    void bindFields();
    QList<GridColumn> defaultColumns() const;
    int datasetRows() const;
    int bufferRow() const;
    const CachedRow *cachedRow(int row) const;
    QString cellText(int row, int column) const;
    QVariantList bufferValues() const;
    bool columnEditable(int column) const;
    void resyncLater() const;

    QPointer<DataSource> m_source;
    QList<QMetaObject::Connection> m_connections;
    QList<GridColumn> m_columns;
    bool m_ownColumns = false;
    std::vector<int> m_fieldIndex;  // per column: the field's index in the dataset, or -1
    QList<Field *> m_boundFields;
    CellColorHook m_cellColor;
    bool m_readOnly = false;

    int m_rowCount = 0;
    bool m_inserting = false;
    mutable RowReader m_reader;
    mutable std::unordered_map<int, CachedRow> m_cache;
    mutable qint64 m_rowsRead = 0;
    mutable bool m_resyncPending = false;
};

}  // namespace vx::ui
