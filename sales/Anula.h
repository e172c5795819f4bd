#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBEdit;
class DBGrid;
class DBNavigator;
} // namespace vx::ui

// The sale cancellation window: the recorded receipts, the lines of the one selected and the
// article of the current line, and the button that voids the receipt chosen in CBFactura.
class TFAnula : public QDialog {
    Q_OBJECT
public:
    explicit TFAnula(QWidget *parent = nullptr);
    ~TFAnula() override;

    QLabel *Label1 = nullptr;
    QComboBox *CBFactura = nullptr;
    QLineEdit *EdFec = nullptr;
    QPushButton *BAnular = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBGrid *DBGrid2 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBNavigator *DBNavigator2 = nullptr;
    vx::ui::DBEdit *DBEdit1 = nullptr;

    // The window's own views: every receipt, the current receipt's lines, the line's article.
    vx::Table &clicom() { return *m_clicom.table; }
    vx::Table &itecli() { return *m_itecli.table; }
    vx::Table &stock() { return *m_stock.table; }

    // Opens the views (the menu command, before showing the window).
    void openViews();
    void closeViews();

    void DBGrid1CellClick();
    void CBFacturaChange();
    void DBGrid1TitleClick(int column);
    void DBGrid2TitleClick(int column);
    void BAnularClick();
    void BCerrarClick();

private:
    void createGrids();
    // The receipt number typed or chosen; false (and the operator told) when it is none.
    bool chosenNumber(double &number);

    // COMUNO of the receipt clicked in the grid; -1 once the operator types a number instead.
    qint64 m_chosenKey = -1;
    app::OwnCursor m_clicom;
    app::OwnCursor m_itecli;
    app::OwnCursor m_stock;
};

// The cancellation window of the program, set while one exists.
extern TFAnula *FAnula;

// The "Anulacion" command: prepares the window, shows it modally and tidies up after it.
void openAnula(TFAnula &window);
