#pragma once

#include "platform/db/DbError.h"

#include <QString>

class TDM1;

namespace catalogue {

// What stands in the way of deleting an article.
struct ArticleUsage {
    bool hasStock = false;      // a quantity other than 0 in either location
    bool hasMovements = false;  // goods receipts or issues recorded for it
};

// The article's own code is looked up by the data layer; throws vx::DbError when it fails.
ArticleUsage articleUsage(TDM1 &dm, const QString &code, double stock1, double stock2);

// Another recording holds the database: the operator should try again shortly.
class FilesBusy : public vx::DbError {
public:
    FilesBusy();
};

// Deletes the article at the current row of the shared Stock table, and with `withMovements` its
// goods receipts, issues and stock movements too, all in one transaction: a failure leaves every
// row in place. Sale lines are kept. Throws FilesBusy when a transaction is already open on the
// connection, and vx::DbError (after rolling back) when the database fails.
void deleteArticle(TDM1 &dm, const QString &code, bool withMovements);

}  // namespace catalogue
