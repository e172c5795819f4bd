#pragma once

#include <QDialog>
#include <QHash>

#include <memory>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx {
class DataSource;
class Query;
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

    vx::Query &query() { return *m_query; }

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

    // Opens the query (the menu command, before showing the window).
    void openQuery();
    void closeQuery();

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
    // Moves to the first row whose field is at least the value in the current order, when its
    // value passes `matches`; the cursor stays otherwise.
    bool seek(const QString &field, const QVariant &value, const std::function<bool(const QVariant &)> &matches);
    void showCurrent();
    // Stores the observations typed for the customer shown, if they changed.
    void storePendingObservations();

    std::unique_ptr<vx::Query> m_query;
    vx::DataSource *m_source = nullptr;
    int m_shownCode = -1;
    QString m_shownObservations;
    // Observations stored from this window, shown instead of the query's copy read before.
    QHash<int, QString> m_storedObservations;
};

// The customer query window of the program, set while one exists.
extern TFConsCli *FConsCli;

// "Consulta de Clientes": opens the query, shows the window modally and closes the query after it.
void openConsCli(TFConsCli &window);
