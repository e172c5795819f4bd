#pragma once

#include "stock/DeliveryNote.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLineEdit;
class QPushButton;
class TFImpRemi;

namespace vx {
class DataSource;
}
namespace vx::ui {
class DBGrid;
class DBNavigator;
}  // namespace vx::ui

// The delivery note window: the operator types a recorded issue's (or receipt's) number, the
// window gathers its lines and totals the units per location, and prints the note.
class TFRemi : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Egresos, Ingresos };

    explicit TFRemi(QWidget *parent = nullptr);
    ~TFRemi() override;

    void setMode(Mode mode);
    Mode mode() const { return m_mode; }

    QLineEdit *EdNro = nullptr;
    QPushButton *Armar = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *EdCant1 = nullptr;
    QLineEdit *EdCant2 = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BCerrar = nullptr;

    void ArmarClick();
    void BImpClick();
    void BCerrarClick();

    // Opens the window's rows (before it is shown) and removes them (after).
    void openViews();
    void closeViews();

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    stock::NoteMode noteMode() const;
    void showTotals(double total1, double total2);

    Mode m_mode = Mode::Egresos;
    std::unique_ptr<stock::NoteStaging> m_lines;
    std::unique_ptr<TFImpRemi> m_print;
    vx::DataSource *m_source = nullptr;
    bool m_closing = false;
};

// The delivery note window of the program, set while one exists.
extern TFRemi *FRemi;

// The "Remitos" commands: the window (created on first use) in the given mode, shown modally.
void openRemi(QWidget *owner, TFRemi::Mode mode);
