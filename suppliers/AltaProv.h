#pragma once

#include "app/OwnCursor.h"
#include "suppliers/SupplierStore.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vx::ui {
class DBNavigator;
class Edit;
} // namespace vx::ui

// Supplier maintenance "A B M de Proveedores": the customer window's boxes for one supplier, a
// navigator over the supplier file, save and delete. The balance is shown, never typed: only the
// supplier's documents and payments move it.
class TFAltaProv : public QDialog {
    Q_OBJECT
public:
    explicit TFAltaProv(QWidget *parent = nullptr);
    ~TFAltaProv() override;

    // The window's own cursor on PROVEEDORES, for the navigator.
    vx::Table &proveedores() { return *m_proveedores.table; }

    QLabel *Label1 = nullptr;
    vx::ui::Edit *EdCod = nullptr;
    vx::ui::Edit *EdApe = nullptr;
    vx::ui::Edit *EdDir = nullptr;
    vx::ui::Edit *EdCP = nullptr;
    vx::ui::Edit *EdLoc = nullptr;
    QComboBox *CBProv = nullptr;
    vx::ui::Edit *EdTel = nullptr;
    vx::ui::Edit *EdCel = nullptr;
    vx::ui::Edit *EdMai = nullptr;
    QComboBox *CBIVA = nullptr;
    vx::ui::Edit *EdCUI = nullptr;
    QComboBox *CBTDoc = nullptr;
    vx::ui::Edit *EdNDoc = nullptr;
    vx::ui::Edit *EdFec = nullptr;
    vx::ui::Edit *EdSal = nullptr;
    vx::ui::Edit *EdObs = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QPushButton *BBGrabar = nullptr;
    QPushButton *BBEliminar = nullptr;
    QPushButton *BLimpiar = nullptr;
    QPushButton *BBSalir = nullptr;

    void EdCodClick();
    void EdCodExit();
    void EdFecExit();
    void DBNavigator1Click();
    void BBGrabarClick();
    void BBEliminarClick();
    void BBSalirClick();

    // Every box back to its default.
    void clearBoxes();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createBoxes();
    void load(const suppliers::Supplier &supplier);
    // The supplier the boxes describe; nothing (and the operator told) when a box is wrong.
    std::optional<suppliers::Supplier> fromBoxes();
    std::optional<int> typedCode();
    void afterRecording();

    app::OwnCursor m_proveedores;
    // The code box holds the code the window proposed, untouched.
    std::optional<int> m_proposed;
    // The boxes show a stored supplier.
    bool m_loaded = false;
};

// The supplier maintenance window of the program, set while one exists.
extern TFAltaProv *FAltaProv;

// "A B M de Proveedores": opens the window's cursor, shows it modally and closes the cursor after it.
void openAltaProv(TFAltaProv &window);
