#pragma once

#include "app/OwnCursor.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vx::ui {
class DBEdit;
class DBGrid;
class DBNavigator;
class ImageView;
class PickList;
}

// The image window: the articles with the photo of the current one, its price and stock, and a
// search by own code or by description. It browses a cursor of its own on STOCK and writes
// nothing, except through the article window it opens.
class TFImagen : public QDialog {
    Q_OBJECT
public:
    explicit TFImagen(QWidget *parent = nullptr);
    ~TFImagen() override;

    vx::ui::DBGrid *DBGrid1 = nullptr;
    vx::ui::ImageView *Image1 = nullptr;
    // Why the article's photo is not shown; under the picture.
    QLabel *LabFoto = nullptr;
    vx::ui::DBEdit *DBPrecio = nullptr;
    vx::ui::DBEdit *DBStock1 = nullptr;
    vx::ui::DBEdit *DBStock2 = nullptr;
    vx::ui::DBEdit *DBCodigoP = nullptr;
    vx::ui::DBEdit *DBCodigo = nullptr;
    vx::ui::DBEdit *DBDescripcion = nullptr;
    vx::ui::DBEdit *DBFoto = nullptr;
    vx::ui::PickList *CBRub = nullptr;
    QLineEdit *EdDes1 = nullptr;
    QPushButton *Lupa = nullptr;
    vx::ui::DBNavigator *DBNavigator1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;

    vx::Table &stock() { return *m_stock.table; }

    // What the main window's command does before showing the window: the articles from the
    // first, the own-code list asking the database. Throws DbError.
    void prepare();
    // Empties the description search and closes the list.
    void tidyUp();

    void CBRubSelect();
    void LupaClick();
    void EdDes1KeyUp();
    void DBGrid1TitleClick(int column);
    void BitBtn1Click();

    // Shows the current article's photo, or the placeholder and why.
    void showPhoto();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void buildLayout();
    void searchDescription();

    app::OwnCursor m_stock;
    // The photo on screen, so that a move that keeps it (a re-read, a sort) decodes nothing.
    QString m_shownName;
    QSize m_shownFrame;
};
