#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBEdit;
class DBGrid;
class DBNavigator;
}

// The article search: browses the shared Stock table, finds an article by own code, origin code
// or description as the operator types, shows the articles at their reorder point, and opens the
// modification of the chosen article, deletes it or prints the article list. Stock's order stays
// as the window leaves it; its filter is turned off when the window closes.
class TFBuscando : public QDialog {
    Q_OBJECT
public:
    explicit TFBuscando(QWidget *parent = nullptr);
    ~TFBuscando() override;

    QComboBox *CB1 = nullptr;
    QLineEdit *EdBusca = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBEdit *DBEdit1 = nullptr;
    QPushButton *BBModifi = nullptr;
    QPushButton *BBEliminar = nullptr;
    QPushButton *BBImp = nullptr;
    QPushButton *BCerrar = nullptr;

    // The search modes, as CB1 lists them.
    static QString byOrigin() { return QStringLiteral("Cod.Origen"); }
    static QString byOwnCode() { return QStringLiteral("Cod.Propio"); }
    static QString byDescription() { return QStringLiteral("Descripcion"); }
    static QString byReorder() { return QStringLiteral("Pto.Reposicion"); }
    // The background of an article at or under its reorder point.
    static QColor reorderColor();

    void CB1Exit();
    // A mode chosen in the list: it is set, and the operator types on in the search box.
    void CB1Change();
    void EdBuscaKeyUp();
    void EdBuscaDblClick();
    void DBGrid1TitleClick(int column);
    void BBModifiClick();
    void BBEliminarClick();
    void BBImpClick();
    void BCerrarClick() { reject(); }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Each opening starts in the mode list, so that what the operator types chooses the mode.
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void search(bool sorting);
    void reorderView(const QString &sortColumn);
    void deleteCurrent();
};

// The article search window of the program, set while one exists.
extern TFBuscando *FBuscando;
