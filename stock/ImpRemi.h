#pragma once

#include "stock/DeliveryNote.h"

#include <QImage>
#include <QStringList>

#include <memory>
#include <optional>

class QWidget;

namespace vx {
class Connection;
}
namespace vx::report {
class Report;
}

// The printed delivery note: the shop's logo and letterhead, the number and date, one line per
// article with the units of each location, and the totals. It prints from rows of its own in the
// workstation's TMP1, apart from the note window's.
class TFImpRemi {
public:
    explicit TFImpRemi(vx::Connection &connection);
    ~TFImpRemi();

    // The letterhead file and the logo: the user folder first, then the working folder, their
    // names matched without regard to case. nullopt / a null image when they cannot be read.
    static std::optional<QStringList> letterhead();
    static QImage logo();
    // The line the note carries when the shop has no letterhead file.
    static QStringList builtInLetterhead();

    // What the window hands over besides the lines.
    struct Print {
        stock::NoteMode mode = stock::NoteMode::Issues;
        QImage logo;
        QStringList letterhead;
        QString total1;
        QString total2;
    };

    // Copies the lines into the printout's rows and builds the report over them.
    std::unique_ptr<vx::report::Report> build(const QList<stock::NoteLine> &lines, const Print &print);
    // Removes the printout's rows.
    void clear();

private:
    stock::NoteStaging m_rows;
};
