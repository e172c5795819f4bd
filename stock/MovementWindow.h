#pragma once

#include "app/OwnCursor.h"
#include "app/uGlobales.h"
#include "stock/MovementRecording.h"
#include "stock/StockArticle.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBGrid;
class DBNavigator;
class PickList;
}  // namespace vx::ui

namespace stock {

// One line of the list, as the work table holds it.
struct WorkLine {
    QString code;          // TM1CHR1
    QString description;   // TM1CHR10
    double quantity1 = 0;  // TM1NUM1
    double quantity2 = 0;  // TM1NUM2
    double price1 = 0;     // TM1PRE1
    double price2 = 0;     // TM1PRE2
};

// What the goods receipt and goods issue windows share: the date and number, the three article
// boxes (own code, description, origin code), the two quantities and stocks, the list of lines in
// the window's own view of the work table TMP1, and the steps Agregar, Eliminar, Grabar, Cancelar
// and Cerrar. Each window adds its own boxes and records its own document.
class MovementWindow : public QDialog {
    Q_OBJECT
public:
    ~MovementWindow() override;

    // The menu command: prepares the window, shows it modally and tidies up after it.
    void prepareAndShow();
    // The preparation alone: pick lists, the proposed number, today's date, an empty list. False
    // when it failed; the operator was told.
    bool prepareOpening();
    // What follows the window's closing: the window's view of the work table is closed.
    void finishClosing();

    QLineEdit *EdFec = nullptr;
    QLineEdit *EdNro = nullptr;
    vx::ui::PickList *CBCMCT = nullptr;
    vx::ui::PickList *CBDes = nullptr;
    vx::ui::PickList *CBCodP = nullptr;
    QLineEdit *EdCan = nullptr;
    QLineEdit *EdCan2 = nullptr;
    QLineEdit *EdPre = nullptr;
    QLineEdit *EdPre2 = nullptr;
    QLineEdit *EdSt1 = nullptr;
    QLineEdit *EdSt2 = nullptr;
    QPushButton *BAgregar = nullptr;
    QPushButton *BEliminar = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;

    void CBCMCTSelect();
    void CBCMCTExit();
    void CBCodPSelect();
    void CBCodPExit();
    void CBDesSelect();
    void CBDesExit();
    void BAgregarClick();
    void BEliminarClick();
    void BGrabarClick();
    void BCancelarClick();
    void BCerrarClick();

    // The lines of the list, in the order they were added.
    QList<WorkLine> workLines();
    vx::Table &workTable() { return *m_work.table; }

    void reject() override;

protected:
    // A box whose number goes into a column of the list at "&Agregar".
    struct LineBox {
        QLineEdit *box;
        const char *column;
        const char *what;  // names the box in a message: "La cantidad", "El costo"
    };

    MovementWindow(const QString &objectName, const QString &caption, NumberSeries series,
                   uGlobales::ArticleList lists, QWidget *parent);

    // Creates the shared controls; the window lays them out with its own.
    void createSharedControls();
    // The grid's columns are the window's own.
    virtual QList<LineBox> lineBoxes() const = 0;
    // Fills the window's own boxes (costs or prices) from the article found.
    virtual void showArticle(const StockArticle &article) = 0;
    // What the window asks or checks at "&Grabar" before anything is written; false: nothing is
    // recorded (the operator was told why, or chose not to go on).
    virtual bool readyToRecord() { return true; }
    // Records the list; the number box is as the window holds it.
    virtual RecordedMovement record(const NumberBox &number) = 0;
    // What was recorded, for the message when its proposed number had been taken ("El ingreso").
    virtual QString documentName() const = 0;
    // The window's own lists, filled when it opens.
    virtual void prepareOwnLists() {}
    // The window's own boxes emptied by "Ca&ncelar".
    virtual void clearOwnBoxes() {}
    // Price and cost boxes: shown with two decimals when left.
    virtual QList<QLineEdit *> amountBoxes() const = 0;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

    QLineEdit *box(const char *name, int maxLength = 0);
    QPushButton *button(const char *name, const QString &text);
    void watch(QWidget *widget);
    // The window's own part is going: its boxes' events must no longer reach the steps that ask
    // it for its boxes. Each window calls this first thing in its destructor.
    void stopWatching();

private:
    enum class Lookup { Found, Missing, Failed };
    Lookup locate(app::ArticleColumn column, const QString &text, app::ArticleMatch match = app::ArticleMatch::Exact);
    void fill(bool withOwnCode);
    // The own-code lookup: the code padded and written back; `tell` shows a missing article.
    void ownCodeLookup(bool tell);
    void originLookup();
    void clearEntry();
    void clearWorkTable();
    void closeWindow();

    NumberSeries m_series;
    uGlobales::ArticleList m_lists;
    app::OwnCursor m_work;
    std::optional<StockArticle> m_article;
    QString m_proposedNumber;
    // The code in CBCMCT as the last lookup left it, until the operator types again.
    QString m_lookedUpCode;
    bool m_closing = false;
    bool m_listsAsked = false;
    QList<QWidget *> m_watched;
};

}  // namespace stock
