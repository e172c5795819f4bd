#pragma once

#include "app/OwnCursor.h"
#include "customers/CustomerStore.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vx::ui {
class DBNavigator;
class Edit;
} // namespace vx::ui

// Customer maintenance "Alta de Clientes": plain boxes for one customer, a navigator over the
// customer file, save and delete.
class TFAltaCli : public QDialog {
    Q_OBJECT
public:
    explicit TFAltaCli(QWidget *parent = nullptr);
    ~TFAltaCli() override;

    // The window's own cursor on CLIENTE, for the navigator.
    vx::Table &cliente() { return *m_cliente.table; }

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
    QPushButton *BBCancel = nullptr;
    QPushButton *BLimpiar = nullptr;
    QPushButton *BBSalir = nullptr;

    void EdCodClick();
    void EdCodExit();
    void EdFecExit();
    void DBNavigator1Click();
    void BBGrabarClick();
    void BBEliminarClick();
    void BLimpiarClick();
    void BBSalirClick();

    // Every box back to its default.
    void clearBoxes();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createBoxes();
    void load(const customers::Customer &customer);
    // The customer the boxes describe; nothing (and the operator told) when a box is wrong.
    std::optional<customers::Customer> fromBoxes();
    std::optional<int> typedCode();
    // Asks what the save needs to know; nothing when the operator declined or a box is wrong.
    std::optional<customers::SaveRequest> askForSave(const customers::Customer &customer);
    void afterRecording();

    app::OwnCursor m_cliente;
    customers::SaveRequest::Origin m_origin = customers::SaveRequest::Origin::Typed;
    std::optional<int> m_proposed;
};

// The customer maintenance window of the program, set while one exists.
extern TFAltaCli *FAltaCli;

// "ABM de Clientes": opens the window's cursor, shows it modally and closes the cursor after it.
void openAltaCli(TFAltaCli &window);
