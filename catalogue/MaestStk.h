#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
}

// The stock list: every article with its stock, costs and prices, narrowed to a range of own
// codes, with the stock valued per location; it prints the valued list and exports it. It is not
// modal and works on a cursor of its own on STOCK, so the windows opened beside it never move,
// sort, filter or close its list.
class TFMArt : public QDialog {
    Q_OBJECT
public:
    explicit TFMArt(QWidget *parent = nullptr);
    ~TFMArt() override;

    QLineEdit *EdDesA = nullptr;
    QLineEdit *EdHasA = nullptr;
    QPushButton *BCons = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *BExportar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *EdTot1 = nullptr;
    QLineEdit *EdTot2 = nullptr;
    QLineEdit *EdVen1 = nullptr;
    QLineEdit *EdVen2 = nullptr;
    QLineEdit *EdDepo1 = nullptr;
    QLineEdit *EdDepo2 = nullptr;
    QPushButton *BTotales = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BCerrar = nullptr;

    vx::Table &stock() { return *m_stock.table; }

    // What the main window's command does before showing the list: the whole file in own-code
    // order, from the first article. The totals follow once the list shows. Throws DbError.
    void prepare();

    void EdDesAExit();
    void EdHasAExit();
    void BConsClick();
    void Button1Click();
    void BTotalesClick();
    void DBGrid1TitleClick(int column);
    void BImpClick();
    void BExportarClick();
    void BCerrarClick();
    // Computes the six totals over what the list shows. Throws DbError.
    void CalcTotales();

    // However the window is closed, it leaves its list closed and unfiltered.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    // The filter text of the range in the boxes; empty "Hasta" has no upper bound.
    QString rangeFilter() const;
    void tidyUp();

    app::OwnCursor m_stock;
};

// The stock list of the program, set while one exists.
extern TFMArt *FMArt;
