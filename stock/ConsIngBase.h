#pragma once

#include "platform/db/FilterExpression.h"
#include "stock/MovementQueries.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class QPushButton;

namespace vx {
class DataSource;
class Query;
}  // namespace vx
namespace vx::ui {
class DBGrid;
class DBNavigator;
class PickList;
}  // namespace vx::ui

// The receipt and issue queries: the movement lines joined with their articles, all of them, a
// date range or one article, with the two quantities totalled over exactly the lines listed.
// What differs between the two is data (MovementQueryKind).
class TFConsMovBase : public QDialog {
    Q_OBJECT
public:
    ~TFConsMovBase() override;

    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    QPushButton *BxTodos = nullptr;
    QLineEdit *EdDesF = nullptr;
    QLineEdit *EdHasF = nullptr;
    QPushButton *BxFec = nullptr;
    vx::ui::PickList *CBDes = nullptr;
    vx::ui::PickList *CBCod = nullptr;
    QPushButton *BxArt = nullptr;
    QPushButton *BTotal = nullptr;
    QLineEdit *EdCan = nullptr;
    QLineEdit *EdCan2 = nullptr;
    QPushButton *BExportar = nullptr;
    QPushButton *BCerrar = nullptr;
    QLineEdit *DBEdit1 = nullptr;     // the current line's article
    QLineEdit *EdOperador = nullptr;  // receipts: the operator's and the supplier's names
    QLineEdit *EdProveedor = nullptr;

    const stock::MovementQueryKind &kind() const { return m_kind; }
    vx::Query &list() { return *m_query; }
    // The code last chosen, kept between uses.
    QString chosenCode() const { return m_code; }

    // The opening command's steps: the pick lists when their flag says so, the level rule, every line.
    void prepareOpening();
    void closeQuery();

    void BxTodosClick();
    void BxFecClick();
    void CBCodChosen();
    void CBDesChosen();
    void BxArtClick();
    void BTotalClick();
    void BExportarClick();
    void BCerrarClick();

protected:
    TFConsMovBase(const stock::MovementQueryKind &kind, QWidget *parent);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void applyLevel();
    void showLine();
    void filterBy(const vx::SqlCondition &condition, const QString &sort);
    void clearArticle();

    const stock::MovementQueryKind &m_kind;
    std::unique_ptr<vx::Query> m_query;
    vx::DataSource *m_source = nullptr;
    QString m_code;
    bool m_filling = false;
};

// The opening commands of both windows: prepare, show modally, close.
void openMovementQuery(TFConsMovBase &window);
