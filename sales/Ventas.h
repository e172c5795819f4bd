#pragma once

#include "app/ArticleLists.h"

#include <QDialog>
#include <QList>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TFCobro;

namespace sales {
struct RecordedSale;
struct SaleEntry;
}  // namespace sales

namespace vx::ui {
class DBGrid;
class DBNavigator;
class PickList;
}  // namespace vx::ui

// The sales window: the operator composes one sale at the counter (receipt number and date,
// customer, price list, the article lines in the work table TMP1, the discount and the tender in
// cash and by card) and records it. A barcode scanner typing into CBCod adds a line by itself; F9
// records; F2 checks a price. Created once at start-up and reused for every sale.
class TFVentas : public QDialog {
    Q_OBJECT
public:
    explicit TFVentas(QWidget *parent = nullptr);
    ~TFVentas() override;

    // The "VENTAS" command: prepares the window, shows it modally and tidies up after it.
    void prepareAndShow();
    // The preparation alone: pick lists (reloaded when the article list changed), the proposed
    // receipt number, the work table, today's date. False when it failed; the operator was told.
    bool prepareOpening();
    // What follows the window's closing: the shared tables it used are closed.
    void finishClosing();

    // False after a line came from a drop-down choice: leaving a code box then adds nothing until
    // the operator types in or clicks a code box.
    bool entryArmed() const { return m_entryArmed; }

    QLineEdit *EdFec = nullptr;
    QLineEdit *EdNro = nullptr;
    QPushButton *BNuevo = nullptr;
    vx::ui::PickList *CBCliente = nullptr;
    QRadioButton *CBLista1 = nullptr;
    QRadioButton *CBLista2 = nullptr;
    QRadioButton *CBLista3 = nullptr;
    QRadioButton *CBLista4 = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::PickList *CBCod = nullptr;
    vx::ui::PickList *CBDes = nullptr;
    QLineEdit *EdPre = nullptr;
    QLineEdit *EdCan = nullptr;
    QLineEdit *EdStock = nullptr;
    vx::ui::PickList *CBCodP = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *BAgregar = nullptr;
    QPushButton *BAgregar2 = nullptr;
    QPushButton *BEliminar = nullptr;
    QPushButton *BCancelar = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QLineEdit *EdSTot = nullptr;
    QLineEdit *EdPor = nullptr;
    QLineEdit *EdDcto = nullptr;
    QLineEdit *EdTotal = nullptr;
    QLineEdit *EdTOT = nullptr;
    QPushButton *Button2 = nullptr;
    QLineEdit *EdTar = nullptr;
    QLineEdit *EdEFE = nullptr;
    QLineEdit *EdVTO = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BBGrabar = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BTicket = nullptr;
    QPushButton *BFiscal = nullptr;

    // Article entry (VentasLookup.cpp).
    void CBCodChange();
    void CBCodExit();
    void CBCodSelect();
    void CBCodPExit();
    void CBCodPSelect();
    void CBDesExit();
    void CBDesSelect();
    void BAgregarClick();
    void BEliminarClick();
    void DBGrid1DblClick();
    void DBGrid1TitleClick(int column);

    // Totals and tender.
    void EdSTotChange();
    void EdPorExit();
    void tenderChange();
    void EdEFEExit();
    void EdTarExit();

    // The sale as a whole (VentasRecord.cpp).
    void Button2Click();
    void BNuevoClick();
    void BCancelarClick();
    void BCerrarClick();
    void BGrabarClick();

    // The card coupons written through the card window for the sale in progress.
    QList<qint64> couponIds() const { return m_couponIds; }

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void createControls();
    void layoutControls();
    void connectHandlers();
    bool FormKeyDown(int key);

    // The leave-box step of the own-code box; `fromList` after a drop-down choice.
    void ownCodeLeft(bool fromList);
    void originCodeLeft();
    // Looks the article up in the database at this moment (one just created at another
    // workstation is found); a failure of the database has been shown to the operator.
    enum class Lookup { Found, Missing, Failed };
    Lookup locateArticle(app::ArticleColumn column, const QString &text,
                         app::ArticleMatch match = app::ArticleMatch::Exact);
    Lookup locateOwnCode(const QString &code) { return locateArticle(app::ArticleColumn::OwnCode, code); }
    // Shows the located article: description, stock, and the price of the checked list.
    void fillFromStock(bool withOwnCode);
    int checkedList() const;
    void recomputeTotals();
    // The discount step: the percentage box's value applied to the subtotal box.
    void applyPercentage();
    void rewriteTender();
    void clearWorkTable();
    void openWorkTable();
    void releaseWorkTable();
    void deleteCurrentLine();
    void clearEntry();
    // Every amount box back to a sale with nothing in it, and no percentage kept.
    void clearAmounts();
    void proposeReceiptNumber(bool saleTypesOnly);
    void recordSale();
    bool putBackTakenLine();
    bool typedNumberAccepted(const sales::SaleEntry &entry);
    void showRecorded(const sales::RecordedSale &recorded);

    std::unique_ptr<TFCobro> m_cobro;
    // The article the last lookup found.
    std::optional<app::Article> m_article;
    QList<qint64> m_couponIds;
    QString m_proposedNumber;
    double m_percentage = 0;
    bool m_entryArmed = true;
    bool m_closing = false;
    // A line was taken back by double click and its code is still in the entry boxes.
    bool m_lineTakenBack = false;
    // Lines added so far; leaving a code box compares it to tell whether the box added one.
    int m_linesAdded = 0;
    // Leaving a code box for a click on "&Agregar" already added the line that click asks for.
    bool m_lineAddedOnLeave = false;
};

// The sales window of the program, set while one exists.
extern TFVentas *FVentas;
