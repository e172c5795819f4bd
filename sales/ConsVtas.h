#pragma once

#include "platform/db/DayRange.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vx {
class DataSource;
class Query;
class Table;
}  // namespace vx
namespace vx::ui {
class DBGrid;
class DBNavigator;
}  // namespace vx::ui

// "CONSULTA de VENTAS": the receipts of a date range with the lines of the current one, the
// range's sales total (cancelled receipts aside), the current receipt's cost (level 9) and the
// printed list of the range.
class TFConsVtas : public QDialog {
    Q_OBJECT
public:
    explicit TFConsVtas(QWidget *parent = nullptr);
    ~TFConsVtas() override;

    QLineEdit *EdDesF = nullptr;
    QLineEdit *EdHasF = nullptr;
    QPushButton *BxTot = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBGrid *DBGrid2 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBNavigator *DBNavigator2 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BExportar = nullptr;
    QPushButton *BCerrar = nullptr;

    vx::Query &receipts() { return *m_clicom; }
    vx::Table &lines() { return *m_itecli; }
    // The range of the last query run.
    std::optional<vx::DayRange> queriedDays() const { return m_days; }

    // The opening command's steps: tables open, level rule, today's sales.
    void prepareOpening();
    void closeTables();

    void BxTotClick();
    void Edit3DblClick();
    void BImpClick();
    void BExportarClick();
    void BCerrarClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyLevel();
    void showLine();

    std::unique_ptr<vx::Query> m_clicom;
    std::unique_ptr<vx::Table> m_itecli;
    vx::DataSource *m_receiptSource = nullptr;
    vx::DataSource *m_lineSource = nullptr;
    std::optional<vx::DayRange> m_days;
    double m_total = 0;
};

extern TFConsVtas *FConsVtas;

// "Consulta de Ventas" / "Por Facturas": prepares the window, shows it modally, closes its tables.
void openConsVtas(TFConsVtas &window);
