#pragma once

#include <QDateTime>
#include <QString>

#include <array>

class TDM1;

namespace catalogue {

// What the article window read from its boxes, as the operator typed it.
struct ArticleForm {
    QString code;          // own code, padded on saving
    QString originCode;
    QString description;
    QString photo;
    QString remark;
    QString stock1;        // location 1
    QString stock2;        // location 2
    QString reorderPoint;
    QString cost1;
    std::array<QString, 4> margins;
    std::array<QString, 4> prices;
    QString lastIn;        // dd/mm/yyyy
    QString lastOut;
    // The article loaded into the boxes and the quantities they showed then. Saving that article
    // writes only the change the operator made to a quantity, so that stock another counter sold
    // meanwhile is not put back.
    QString loadedCode;
    QString loadedStock1;
    QString loadedStock2;
};

// Who records and when.
struct Recorder {
    int operatorCode = 0;
    int accessLevel = 0;
    QDateTime now;  // naive local date and time
};

// Writes the article of the form into the shared Stock table, in one transaction. A new article
// with stock gets its opening-stock rows (MOVIM "I" and INGRESOS number 0). For an existing one,
// a quantity box the operator changed adds the change (typed minus loaded) to the stored quantity
// in SQL, and the movement of that change is written ("I" for more, "E" for less), so that the
// movement journal keeps agreeing with the stock; unchanged quantities are not written. Empty
// number and date boxes leave their fields as they are. Returns the padded own code. Throws (a
// vx::DbError or a conversion error) with nothing written when a box does not convert or the
// database fails.
QString saveArticle(TDM1 &dm, const ArticleForm &form, const Recorder &recorder);

// The remark of the opening-stock movement and of the stock differences of a saved article.
inline constexpr const char *openingStockRemark = "Ingreso x Alta de Articulo";
inline constexpr const char *stockChangeRemark = "Ajuste x Modificacion de Articulo";

}  // namespace catalogue
