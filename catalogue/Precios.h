#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace vx {
class DataSource;
class Table;
}  // namespace vx

namespace vx::ui {
class DBEdit;
class Edit;
class ImageView;
}  // namespace vx::ui

// The price verifier: the operator types or scans a code (own code first, then supplier code) and
// sees the article's description, codes, first two prices and photo. Reads STOCK through a table
// of its own and writes nothing. A fresh window serves each opening.
class TFPrecios : public QDialog {
    Q_OBJECT
public:
    explicit TFPrecios(QWidget *parent = nullptr);
    ~TFPrecios() override;

    vx::ui::Edit *EdCod = nullptr;
    vx::ui::DBEdit *DBEdit1 = nullptr;  // ARTDES
    vx::ui::DBEdit *DBEdit2 = nullptr;  // ARTVEN1
    vx::ui::DBEdit *DBEdit3 = nullptr;  // ARTVEN2
    vx::ui::DBEdit *DBEdit4 = nullptr;  // ARTCOD
    vx::ui::DBEdit *DBEdit5 = nullptr;  // ARTCMCT
    vx::ui::ImageView *Image1 = nullptr;
    QPushButton *BCerrar = nullptr;

    vx::Table *Stock = nullptr;
    vx::DataSource *DSStock = nullptr;

    // Looks the code in EdCod up and empties the box for the next one.
    void EdCodLookUp();
    void BCerrarClick();

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    vx::ui::DBEdit *boundBox(const char *name, const char *field);
    bool m_closing = false;
};

// The "Verificar Precios" command (F2 too): a new price verifier over `owner`, shown modally.
void openPriceVerifier(QWidget *owner);
