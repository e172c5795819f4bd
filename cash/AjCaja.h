#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

// "Ajuste de caja": money put into or taken out of the till outside any sale, and the clean-up of
// the card rows of some days.
class TFAjCaja : public QDialog {
    Q_OBJECT
public:
    explicit TFAjCaja(QWidget *parent = nullptr);
    ~TFAjCaja() override;

    QRadioButton *RB1 = nullptr;
    QRadioButton *RB2 = nullptr;
    QLineEdit *EdFec = nullptr;
    QLineEdit *EdImp = nullptr;
    QLineEdit *EdCon = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BCancel = nullptr;
    QPushButton *BCerrar = nullptr;
    QLineEdit *EdDesF = nullptr;
    QLineEdit *EdHasF = nullptr;
    QPushButton *BEliminar = nullptr;

    void BGrabarClick();
    void BCancelClick();
    void BCerrarClick();
    void BEliminarClick();

protected:
    void reject() override;

private:
    void createControls();
};

// The "Ajustes de Caja Diaria" command: a window made afresh, shown modally.
void openAjCaja(QWidget *parent);
