#pragma once

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vx {
class DataSource;
class Query;
}  // namespace vx
namespace vx::ui {
class DBGrid;
class DBNavigator;
class PickList;
}  // namespace vx::ui

// "Consulta de movimientos de artículos": the stock movement journal, of every article or of one,
// with what came in and went out of each store, the net movement and, for one article, its stock
// beside it, so that the operator sees whether journal and stock agree.
class TFMovim : public QDialog {
    Q_OBJECT
public:
    explicit TFMovim(QWidget *parent = nullptr);
    ~TFMovim() override;

    QRadioButton *RBTodos = nullptr;
    QRadioButton *RBArt = nullptr;
    vx::ui::PickList *EdArt = nullptr;
    QPushButton *BCons = nullptr;
    QPushButton *BConsultar = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QLineEdit *DBEdit2 = nullptr;
    QLabel *LabStock = nullptr;
    QLineEdit *DBEdit5 = nullptr;
    QLineEdit *DBEdit6 = nullptr;
    QLineEdit *EdIng1 = nullptr;
    QLineEdit *EdIng2 = nullptr;
    QLineEdit *EdEgr1 = nullptr;
    QLineEdit *EdEgr2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *BCerrar = nullptr;

    vx::Query &movements() { return *m_query; }

    // The opening command's steps: the level's columns, every movement, standing on the last.
    void prepareOpening();
    void closeQuery();

    void EdArtExit();
    void BConsClick();
    void BConsultarClick();
    void BCerrarClick();

private:
    void createControls();
    void applyLevel();
    void showArticle();
    void setStockVisible(bool visible);
    void clearTotals();

    std::unique_ptr<vx::Query> m_query;
    vx::DataSource *m_source = nullptr;
    QString m_code;
};

extern TFMovim *FMovim;

// "UTILIDADES" / "Movimientos": creates the window, shows it modally and destroys it.
void openMovim(QWidget *parent);
