#pragma once

#include "catalogue/ArticleSave.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace vx::ui {
class DBNavigator;
}

// The article window: creates an article with its opening stock, cost, four prices from their
// margins, reorder point, photo file and remark; browses the shared Stock table to load an
// article into the boxes and save it again. The boxes are plain text boxes: the window copies a
// record into them and writes them back on "Grabar".
class TFABMArt : public QDialog {
    Q_OBJECT
public:
    explicit TFABMArt(QWidget *parent = nullptr);
    ~TFABMArt() override;

    QLineEdit *COD = nullptr;
    QLineEdit *EdCodP = nullptr;
    QLineEdit *Des = nullptr;
    QLineEdit *EdFoto = nullptr;
    QLineEdit *EdObs = nullptr;
    QLineEdit *Cant1 = nullptr;
    QLineEdit *Cant2 = nullptr;
    QLineEdit *PtoRep = nullptr;
    QLineEdit *Costo1 = nullptr;
    QLineEdit *Util1 = nullptr;
    QLineEdit *Util2 = nullptr;
    QLineEdit *Util3 = nullptr;
    QLineEdit *Util4 = nullptr;
    QLineEdit *Pre1 = nullptr;
    QLineEdit *Pre2 = nullptr;
    QLineEdit *Pre3 = nullptr;
    QLineEdit *Pre4 = nullptr;
    QLineEdit *UltFecI = nullptr;
    QLineEdit *UltFecE = nullptr;
    QPushButton *BGrabar = nullptr;
    QPushButton *BNuevo = nullptr;
    QPushButton *BCerrar = nullptr;
    QToolButton *Image1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;

    // The current Stock record into the boxes; every box the record leaves empty is emptied.
    void VerDatos();
    void LimpiarDatos();

    // Checks the own code, when the operator changed it since the boxes were loaded or emptied.
    void CODExit();
    // Copies the origin code into the own code and checks it, when the operator changed it since
    // the boxes were loaded or emptied.
    void EdCodPExit();
    void Costo1Exit() { amountExit(Costo1); }
    void Pre1Exit() { amountExit(Pre1); }
    void Pre2Exit() { amountExit(Pre2); }
    void Pre3Exit() { amountExit(Pre3); }
    void Pre4Exit() { amountExit(Pre4); }
    void Util1Exit() { marginToPrice(0); }
    void Util2Exit() { marginToPrice(1); }
    void Util3Exit() { marginToPrice(2); }
    void Util4Exit() { marginToPrice(3); }
    void UltFecIExit() { dateExit(UltFecI); }
    void UltFecEExit() { dateExit(UltFecE); }
    void BGrabarClick();
    void BNuevoClick() { LimpiarDatos(); }
    void BCerrarClick();
    void Image1Click();
    void BitBtn1Click();
    void DBNavigator1Click();

    // The form as the boxes hold it.
    catalogue::ArticleForm form() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *addBox(const char *name, int maxLength, bool upper);
    void buildLayout();
    std::array<QLineEdit *, 4> margins() const { return {Util1, Util2, Util3, Util4}; }
    std::array<QLineEdit *, 4> prices() const { return {Pre1, Pre2, Pre3, Pre4}; }
    QList<QLineEdit *> boxes() const;
    void amountExit(QLineEdit *box);
    void marginToPrice(int index);
    void dateExit(QLineEdit *box);
    void boxLeft(QObject *box);
    void checkOwnCode();

    // What the operator typed since the boxes were last loaded or emptied.
    bool m_ownCodeTyped = false;
    bool m_originTyped = false;
    // The article loaded into the boxes and the quantities they showed.
    QString m_loadedCode;
    QString m_loadedStock1;
    QString m_loadedStock2;
};

// The article window of the program, set while one exists.
extern TFABMArt *FABMArt;
