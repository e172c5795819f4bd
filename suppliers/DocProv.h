#pragma once

#include <QDialog>

#include <optional>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace vx::ui {
class PickList;
} // namespace vx::ui

// "Comprobantes de Proveedores": a supplier's invoices and credits recorded as they arrive, the
// supplier's documents listed, and one nothing was paid on cancelled.
class TFDocProv : public QDialog {
    Q_OBJECT
public:
    explicit TFDocProv(QWidget *parent = nullptr);
    ~TFDocProv() override;

    vx::ui::PickList *CBProv = nullptr;
    QLabel *LabCod = nullptr;
    QLineEdit *EdSal = nullptr;
    QComboBox *CBTip = nullptr;
    QLineEdit *EdNro = nullptr;
    QLineEdit *EdFec = nullptr;
    QLineEdit *EdVto = nullptr;
    QLineEdit *EdTot = nullptr;
    QLineEdit *EdNota = nullptr;
    QTableWidget *Grilla = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BAnular = nullptr;
    QPushButton *BCerrar = nullptr;

    // What the command does before showing: the supplier list asked of the database, empty boxes.
    void prepare();
    void CBProvSelect();
    void BGrabarClick();
    void BAnularClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    // The chosen supplier's balance and documents, read again.
    void fillList();
    void clearEntry();

    std::optional<int> m_supplierCode;
};

// The "Comprobantes de Proveedores" command.
void openDocProv(QWidget *parent);
