#pragma once

#include "shell/Login.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The login window, the first one on screen: finds the operator by the password typed, records
// the operator's code and level for the run, adapts the main window's menu and hands over to it.
class TFIngreso : public QDialog {
    Q_OBJECT
public:
    explicit TFIngreso(QWidget *parent = nullptr);
    ~TFIngreso() override;

    QLabel *Label1 = nullptr;
    QLineEdit *Password = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    void OKBtnClick();
    void CancelBtnClick();
    // The access-level rules on the main window's menu.
    void Menu();

    // Escape and the title-bar button cancel, as the cancel button does.
    void reject() override;

private:
    void leave();

    Login::FailedAttempts m_failures;
};

// The login window, set while one exists.
extern TFIngreso *FIngreso;
