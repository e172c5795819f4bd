#pragma once

#include <QDialog>

#include <array>

class QPushButton;

namespace vx::ui {
class DBEdit;
}

// The modification window: edits the current article of the shared Stock table in place through
// bound boxes. Codes and quantities are shown but not changed here; a margin sets its price at
// once, and "Grabar" stores the record in a transaction.
class TFModArt : public QDialog {
    Q_OBJECT
public:
    explicit TFModArt(QWidget *parent = nullptr);
    ~TFModArt() override;

    vx::ui::DBEdit *DBEdit1 = nullptr;   // ARTCMCT
    vx::ui::DBEdit *DBEdit12 = nullptr;  // ARTCOD
    vx::ui::DBEdit *DBEdit3 = nullptr;   // ARTEX1
    vx::ui::DBEdit *DBEdit4 = nullptr;   // ARTEX2
    vx::ui::DBEdit *DBEdit6 = nullptr;   // ARTDES
    vx::ui::DBEdit *DBEdit7 = nullptr;   // ARTFOT
    vx::ui::DBEdit *DBEdit5 = nullptr;   // ARTREP
    vx::ui::DBEdit *DBEdit8 = nullptr;   // ARTCOS1
    vx::ui::DBEdit *DBEdit10 = nullptr;  // ARTVEN1
    vx::ui::DBEdit *DBEdit11 = nullptr;  // ARTVEN2
    vx::ui::DBEdit *DBEdit18 = nullptr;  // ARTVEN3
    vx::ui::DBEdit *DBEdit20 = nullptr;  // ARTVEN4
    vx::ui::DBEdit *DBEdit13 = nullptr;  // ARTUTI1
    vx::ui::DBEdit *DBEdit16 = nullptr;  // ARTUTI2
    vx::ui::DBEdit *DBEdit17 = nullptr;  // ARTUTI3
    vx::ui::DBEdit *DBEdit19 = nullptr;  // ARTUTI4
    vx::ui::DBEdit *DBEdit14 = nullptr;  // ARTFEC1
    vx::ui::DBEdit *DBEdit15 = nullptr;  // ARTFEC2
    vx::ui::DBEdit *DBEdit2 = nullptr;   // ARTOBS
    QPushButton *BGrabar = nullptr;
    QPushButton *BCerrar = nullptr;
    QPushButton *BitBtn1 = nullptr;

    void BGrabarClick();
    void BCerrarClick();
    void BitBtn1Click();
    void DBEdit13Exit() { marginToPrice(0); }
    void DBEdit16Exit() { marginToPrice(1); }
    void DBEdit17Exit() { marginToPrice(2); }
    void DBEdit19Exit() { marginToPrice(3); }

    // Leaving the window by any path (Escape, the title bar, "&Cerrar") drops an edit not saved,
    // so that the next move in the search grid does not store it.
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    vx::ui::DBEdit *addBox(const char *name, const char *field);
    void buildLayout();
    std::array<vx::ui::DBEdit *, 4> marginBoxes() const { return {DBEdit13, DBEdit16, DBEdit17, DBEdit19}; }
    void marginToPrice(int index);
};

// The modification window of the program, set while one exists.
extern TFModArt *FModArt;
