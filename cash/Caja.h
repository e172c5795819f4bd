#pragma once

#include "app/OwnCursor.h"

#include <QDate>
#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// "RESUMEN DE CAJA": the cash and card rows of the open period written between two days, and
// the period's cash and cards as a whole.
class TFCaja : public QDialog {
    Q_OBJECT
public:
    explicit TFCaja(QWidget *parent = nullptr);
    ~TFCaja() override;

    QLineEdit *EdDesF = nullptr;
    QLineEdit *EdHasF = nullptr;
    QPushButton *BConsultar = nullptr;
    QPushButton *BCerrar = nullptr;
    QLineEdit *EdEfePer = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *EdEfect = nullptr;
    QLineEdit *EdTarj = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;

    vx::Table &book() { return *m_book.table; }

    // The command's preparation: the whole period's cash and cards.
    void openBook();

    void EdDesFExit();
    void EdHasFExit();
    void BConsultarClick();
    void BCerrarClick();

protected:
    void reject() override;

private:
    void createControls();

    app::OwnCursor m_book;
};

// The "Resumen de Caja" command: a window made afresh, shown modally.
void openCaja(QWidget *parent);
