#pragma once

#include <QDialog>
#include <QHash>

#include <memory>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx {
class DataSource;
class Table;
} // namespace vx

namespace vx::ui {
class DBGrid;
class Edit;
} // namespace vx::ui

// The customer query "Consulta de Clientes": every customer in a read-only grid by name, a search
// by code or by name (prefix as typed, anywhere on a double click), and the current customer's
// contact boxes with observations that can be corrected in place.
class TFConsCli : public QDialog {
    Q_OBJECT
public:
    explicit TFConsCli(QWidget *parent = nullptr);
    ~TFConsCli() override;

    // Every customer, by name unless searching by code.
    vx::Table &list() { return *m_list; }

    vx::ui::DBGrid *DBGrid1 = nullptr;
    QRadioButton *RBxCod = nullptr;
    QRadioButton *RBxApe = nullptr;
    vx::ui::Edit *EdBus = nullptr;
    QLineEdit *EdTel = nullptr;
    QLineEdit *EdCel = nullptr;
    QLineEdit *EdMai = nullptr;
    vx::ui::Edit *EdObs = nullptr;
    QPushButton *BBSalir = nullptr;
    QPushButton *BBImp = nullptr;

    // Opens the list (the menu command, before showing the window).
    void openList();
    void closeList();

    void RBxCodClick();
    void RBxApeClick();
    void EdBusChange();
    void EdBusDblClick();
    void BBSalirClick();
    void BBImpClick();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setSortOnce(const QString &field);
    void showCurrent();
    // Stores the observations typed for the customer shown, if they changed.
    void storePendingObservations();

    std::unique_ptr<vx::Table> m_list;
    vx::DataSource *m_source = nullptr;
    int m_shownCode = -1;
    QString m_shownObservations;
    // Observations stored from this window, shown instead of the copy the list read before.
    QHash<int, QString> m_storedObservations;
};

// The customer query window of the program, set while one exists.
extern TFConsCli *FConsCli;

// "Consulta de Clientes": opens the list, shows the window modally and closes the list after it.
void openConsCli(TFConsCli &window);
