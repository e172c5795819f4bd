#pragma once

#include "platform/report/Band.h"
#include "platform/report/Element.h"
#include "platform/report/Elements.h"
#include "platform/report/PreparedReport.h"
#include "platform/report/ReportProgress.h"
#include "platform/report/TextPlacer.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace vx::report {

class Report;

// Lays a report out page by page: walks its dataset from first to last, prints the detail bands
// of each row (and the sub-detail bands of its lines), starts a new page with the page and
// column headers when a row does not fit, and ends with the summary. A band taller than the
// room a page has goes on over the next pages, cut between its lines. A roll's paper ends
// where its content does.
class ReportLayouter {
public:
    explicit ReportLayouter(Report &report);

    std::shared_ptr<PreparedReport> run();

private:
    // A band laid out at the top of the page's content area, before it is moved to its place.
    struct Piece {
        std::vector<PageOp> ops;
        std::vector<DeferredText> deferred;
        double height = 0;
    };

    void bindBands();
    void walkRows();
    void walkLines(const Band *linesBand);
    Piece layoutBand(const Band &band);
    void put(Piece &piece, double y);
    // Puts a piece at the current position, going on over as many pages as it needs.
    void putAcrossPages(Piece &piece);
    // Moves what lies below `room` (measured from the piece's top, and moved up to the top of a
    // line it would cut) into the piece returned; false when not even one line fits in `room`.
    bool splitOff(Piece &piece, double room, Piece &rest);
    // Top and bottom of what an operation draws, from the piece's top.
    std::pair<double, double> extent(const PageOp &op);
    // Prints bands kept together, on a new page when they do not fit on this one.
    void placeTogether(const std::vector<const Band *> &bands);
    void startPage();
    void finishPage();
    void resolveDeferred();
    const Band *enabledBand(BandKind kind) const;

    Report &m_report;
    std::shared_ptr<PreparedReport> m_out;
    TextPlacer m_placer;
    Aggregates m_aggregates;
    QDateTime m_printedAt;
    QRectF m_content;
    std::map<const Band *, std::vector<const Element *>> m_order;
    std::vector<std::pair<int, DeferredText>> m_deferred; // page index and text
    double m_y = 0;
    double m_bodyBottom = 0;
    double m_contentEnd = 0; // the lowest point drawn on any page, for a roll
    bool m_pageHasBody = false;
    ProgressReporter m_progress;
};

} // namespace vx::report
