#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vx::ui {
class DBEdit;
class DBGrid;
class DBNavigator;
}

namespace zebrune {
class TBarCode;
class TDBBarcode;
}

// The barcode window: the barcode of each article's own code, and one barcode with a line of
// text printed where the operator says. Not modal; it browses a cursor of its own on STOCK, so
// the windows opened beside it never move, sort or close its list.
class TFBarCode : public QDialog {
    Q_OBJECT
public:
    explicit TFBarCode(QWidget *parent = nullptr);
    ~TFBarCode() override;

    QComboBox *CB1 = nullptr;
    QLineEdit *EdBusca = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    zebrune::TDBBarcode *DBBarcode1 = nullptr;
    vx::ui::DBEdit *DBEdit1 = nullptr;
    vx::ui::DBEdit *DBEdit2 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QComboBox *CBBarType = nullptr;
    QLineEdit *EdAlto = nullptr;
    QLineEdit *EdMI = nullptr;
    QLineEdit *edMS = nullptr;
    QLineEdit *EdMID = nullptr;
    QLineEdit *EdMSD = nullptr;
    zebrune::TBarCode *BarCode1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    // Why the code to print would not print, or would not scan back as typed; red.
    QLabel *LabAviso = nullptr;
    QPushButton *Imprimir = nullptr;
    QPushButton *BCerrar = nullptr;

    vx::Table &stock() { return *m_stock.table; }

    // What the main window's command does before showing the window: the articles in own-code
    // order, from the first. Throws DbError.
    void prepare();

    void EdBuscaKeyUp();
    void DBGrid1DblClick();
    void Edit1Change();
    void CBBarTypeChange();
    void DBGrid1TitleClick(int column);
    void ImprimirClick();

    // Leaves the list closed, however the window is closed.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void warn(const QString &text);
    // The warning for a code that encodes: empty when a scanner reads it back as typed.
    void checkReadBack();

    app::OwnCursor m_stock;
};

// The barcode window of the program, set while one exists.
extern TFBarCode *FBarCode;
