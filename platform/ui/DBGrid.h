#pragma once

#include "platform/VxPlatformExport.h"
#include "platform/ui/DatasetModel.h"

#include <QHash>
#include <QTableView>

namespace vx {
class DataSource;
class Field;
}  // namespace vx

namespace vx::ui {

// A data grid: the rows of a data source's dataset, one line per record, with the current record
// selected as a whole row. Selecting a row moves the dataset there; moving the dataset moves the
// selection (on the next turn of the event loop, as painting does). Titles are clickable (TitleClick) with a pointing hand over them; sortByTitle applies
// the shop's title sort rule. Rows are read only as they are painted.
class VXPLATFORM_EXPORT DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent = nullptr);

    DataSource *dataSource() const { return m_model->dataSource(); }
    void setDataSource(DataSource *source);
    DatasetModel *datasetModel() const { return m_model; }

    // Without columns of its own the grid shows every visible field.
    void setColumns(const QList<GridColumn> &columns);
    // Appends a column; returns its index.
    int addColumn(const QString &fieldName, const QString &title = {}, int width = 0);
    QList<GridColumn> columns() const { return m_model->columns(); }
    int columnCount() const { return m_model->columnCount(); }
    const GridColumn &column(int index) const { return m_model->column(index); }
    void setColumn(int index, const GridColumn &column);
    int columnOf(const QString &fieldName) const { return m_model->columnOf(fieldName); }
    // The field a column shows in the open dataset, or nullptr.
    Field *columnField(int column) const { return m_model->field(column); }
    void setColumnVisible(int column, bool visible);
    void setTitleBold(int column, bool bold);
    bool titleBold(int column) const;

    // A read-only grid never edits; otherwise cells of editable columns are typed into.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_model->isReadOnly(); }

    // Decides a cell's background from its row's values (e.g. marks articles to reorder).
    void setCellColor(CellColorHook hook) { m_model->setCellColor(std::move(hook)); }

    // Sorts the dataset by a column's field as a title click asks (see titleSortText); the title
    // becomes bold and the title sorted before returns to regular. A failure is shown.
    void sortByTitle(int column);

signals:
    // A column title was clicked.
    void TitleClick(int column);
    // A key was released while the grid had the focus.
    void KeyUp(int key, Qt::KeyboardModifiers modifiers);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void followDataset(int row);
    void followLater();
    void applyLayout();
    int defaultWidth(int column) const;
    void rememberWidth(int section, int oldSize, int newSize);

    DatasetModel *m_model;
    QHash<int, int> m_userWidths;  // pixels, for columns the operator resized
    int m_sortedColumn = -1;
    bool m_following = false;
    bool m_followPending = false;
    bool m_applyingLayout = false;
};

}  // namespace vx::ui
