#pragma once

#include "app/uGlobales.h"
#include "platform/db/QueryStatement.h"

#include <QList>
#include <QString>
#include <QStringList>

// What tells the receipt query from the issue query: their tables, columns and filters as data,
// so that one window and one set of steps serve both.
namespace stock {

struct ColumnTitle {
    QString field;
    QString title;
    int width = 0;  // in characters; 0: as the column's size gives it
};

struct MovementQueryKind {
    QString caption;               // window caption and export title
    vx::QueryStatement statement;  // the movement rows joined with their articles
    QString dateColumn;            // the date the range filters and sorts on
    QString codeColumn;            // the article's own code in the movement
    bool codeContains = false;     // "Ver por Descrip." lists codes that contain the code
    QStringList quantityColumns;   // the two quantities totalled
    QList<ColumnTitle> gridColumns;
    QList<ColumnTitle> exportColumns;  // empty: no export
    bool showsLookups = false;         // operator and supplier of the current row
    QString codeLabel;
    uGlobales::ArticleList articleList;
};

const MovementQueryKind &receiptQuery();
const MovementQueryKind &issueQuery();

// The movement journal (MOVIM) for the history window: every column, by date.
vx::QueryStatement movementJournalStatement();
// In, out and net quantities of both stores over the journal rows listed, as sum expressions:
// receipts 1, receipts 2, issues 1, issues 2. A null quantity counts 0.
QStringList movementTotalsExpressions();

}  // namespace stock
