#pragma once

#include "sales/ConsVentArtBase.h"

class QRadioButton;

// "Consulta de Ventas" by customer or operator: the article history's sale lines, each with its
// customer's and operator's names, narrowed to one customer or one operator within a code range.
class TFConsVenCli : public TFSaleLinesQuery {
    Q_OBJECT
public:
    explicit TFConsVenCli(QWidget *parent = nullptr);
    ~TFConsVenCli() override;

    QRadioButton *RBxCli = nullptr;
    QRadioButton *RBxOpe = nullptr;
    vx::ui::PickList *CBCliente = nullptr;
    vx::ui::PickList *CBOperador = nullptr;

    // The entry of both name lists that stands for every customer or operator.
    static QString everyone() { return QStringLiteral(" TODOS"); }

protected:
    std::optional<vx::SqlCondition> ownCondition() override;
    bool ownKindChosen() const override;
    void prepareOwnLists() override;
    QString articleListCaption() const override { return QStringLiteral("Agrupando Articulos... "); }
    bool refillArticleLists() override { return true; }

private:
    // The code of the row whose name column equals the name, or nullopt.
    std::optional<int> codeOf(const char *table, const char *codeColumn, const char *nameColumn, const QString &name);
};

extern TFConsVenCli *FConsVenCli;
