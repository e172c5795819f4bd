#pragma once

#include <QFont>
#include <QString>

// A band of the spreadsheet: the font its cells use and a row height kept for the designer
// (the file format has no row heights).
class TxlBand {
public:
    QFont Font{QStringLiteral("Arial"), 10};
    int RowHeight = 0;
};

// The title line above the header; written only when it has text.
class TxlTitle : public TxlBand {
public:
    QString Text;
};

class TxlHeader : public TxlBand {};

class TxlDetail : public TxlBand {};
