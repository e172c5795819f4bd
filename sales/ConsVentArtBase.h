#pragma once

#include "platform/db/DayRange.h"
#include "platform/db/FilterExpression.h"
#include "platform/db/QueryStatement.h"

#include <QDialog>

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QHBoxLayout;

namespace vx {
class DataSource;
class Query;
}  // namespace vx
namespace vx::ui {
class DBGrid;
class DBNavigator;
class PickList;
}  // namespace vx::ui

// The sale-line query the article history and the customer query share: a date range, a range of
// own codes or one article by description, the lines listed with their totals (units, sale, cost
// and margin over the lines not cancelled), the printed list and the spreadsheet.
class TFSaleLinesQuery : public QDialog {
    Q_OBJECT
public:
    ~TFSaleLinesQuery() override;

    QRadioButton *RBxCod = nullptr;
    QRadioButton *RBxDes = nullptr;
    QRadioButton *RBxFec = nullptr;
    vx::ui::PickList *CBCod = nullptr;
    vx::ui::PickList *CBCodH = nullptr;
    vx::ui::PickList *CBDes = nullptr;
    vx::ui::PickList *CBDesH = nullptr;
    QLineEdit *EdDes = nullptr;
    QLineEdit *EdHas = nullptr;
    QPushButton *BConsultar = nullptr;
    QPushButton *BImp = nullptr;
    QPushButton *BExportar = nullptr;
    QPushButton *BCerrar = nullptr;
    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QLineEdit *DBEdit4 = nullptr;
    QLineEdit *EdUni = nullptr;
    QLineEdit *EdPreC = nullptr;
    QLineEdit *EdCUS = nullptr;
    QLineEdit *EdDif = nullptr;

    vx::Query &list() { return *m_query; }
    std::optional<vx::DayRange> queriedDays() const { return m_days; }

    // The opening command's steps: the pick lists, the level rule, today's lines.
    void prepareOpening();
    void closeQuery();

    void BConsultarClick();
    void BImpClick();
    void BExportarClick();
    void BCerrarClick();

protected:
    TFSaleLinesQuery(const vx::QueryStatement &statement, const QString &unitsCaption, QWidget *parent);

    // A window's own kinds of query: the condition beside dates and codes; nullopt when its
    // choice names nothing (said to the operator), and the list is then empty.
    virtual std::optional<vx::SqlCondition> ownCondition() { return vx::SqlCondition{}; }
    // Whether one of the window's own kinds is chosen (dates and codes then both apply).
    virtual bool ownKindChosen() const { return false; }
    // Fills the window's own lists at opening.
    virtual void prepareOwnLists() {}
    virtual QString articleListCaption() const = 0;
    virtual bool refillArticleLists() = 0;

    // Where a window adds its own choices.
    QHBoxLayout *ownChoices() const { return m_ownChoices; }

private:
    void createControls(const QString &unitsCaption);
    void applyLevel();
    void showTotals(const QList<double> &totals);
    void clearTotals();
    void showLine();
    void fillPartner(vx::ui::PickList *from, bool byCode, vx::ui::PickList *to);
    std::optional<vx::SqlCondition> codeCondition();

    std::unique_ptr<vx::Query> m_query;
    vx::DataSource *m_source = nullptr;
    QHBoxLayout *m_ownChoices = nullptr;
    QList<QWidget *> m_costWidgets;
    std::optional<vx::DayRange> m_days;
    bool m_filling = false;
};

// The opening commands of both windows: prepare, show modally, close.
void openSaleLinesQuery(TFSaleLinesQuery &window);
