#pragma once

#include "catalogue/ABMEmpStore.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vx {
class DataSource;
class Table;
} // namespace vx

namespace vx::ui {
class DBGrid;
class DBNavigator;
class Edit;
} // namespace vx::ui

// The maintenance window of a small code table (brands, colours, sizes): the table in a grid, a
// search line, a line for a new entry, save and delete. The kind holds what differs between them.
class TFCatalogo : public QDialog {
    Q_OBJECT
public:
    TFCatalogo(const catalogue::CatalogueKind &kind, vx::Table *table, vx::DataSource *source, QWidget *parent);

    const catalogue::CatalogueKind &kind() const { return m_kind; }
    vx::Table &table() const { return *m_table; }

    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QComboBox *CB1 = nullptr;
    vx::ui::Edit *EdBus = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QLabel *LabNuevo = nullptr;
    vx::ui::Edit *EdCod = nullptr;
    vx::ui::Edit *EdDes = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BEliminar = nullptr;
    QPushButton *BCerrar = nullptr;

    void EdCodClick();
    void EdCodExit();
    void CB1Exit();
    void EdBusKeyUp();
    void BitBtn1Click();
    void BGrabarClick();
    void BEliminarClick();
    void BCerrarClick();
    void DBNavigator1Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void search();

    const catalogue::CatalogueKind &m_kind;
    vx::Table *m_table;
    // The code a click proposed, while the box still shows it untouched.
    std::optional<int> m_proposed;
};

// Brands: "Marcas".
class TFEmpresas : public TFCatalogo {
    Q_OBJECT
public:
    explicit TFEmpresas(QWidget *parent);
};

// Opens a catalogue window as the menu commands do: made afresh, its table opened, shown modally,
// the table closed and the window destroyed afterwards, also when showing fails.
void openCatalogue(TFCatalogo *window);
