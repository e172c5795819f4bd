#include "platform/report/ReportLayouter.h"

#include "platform/db/Dataset.h"
#include "platform/report/Band.h"
#include "platform/report/DatasetWalk.h"
#include "platform/report/Overloaded.h"
#include "platform/report/Report.h"

#include <algorithm>

namespace vx::report {

namespace {

// Bands whose bottoms meet within this distance count as touching, not overflowing.
constexpr double toleranceMm = 1e-6;

void translate(PageOp &op, const QPointF &offset)
{
    std::visit(Overloaded{
                   [&](TextOp &text) { text.baseline += offset; },
                   [&](LineOp &line) { line.line.translate(offset); },
                   [&](BoxOp &box) { box.rect.translate(offset); },
                   [&](ImageOp &image) { image.rect.translate(offset); },
               },
               op);
}

// The detail dataset is walked first and given back first, so that the lines linked to it
// follow its restored record before they are given back themselves.
struct Walks {
    DatasetWalk rows;
    DatasetWalk lines;
    Walks(Dataset *rowsDataset, Dataset *linesDataset) : rows(rowsDataset), lines(linesDataset) {}
    void restore()
    {
        rows.restore();
        lines.restore();
    }
    ~Walks()
    {
        try {
            restore();
        } catch (...) {
            // Unwinding from the failure that ended the walk; that one is reported.
        }
    }
};

} // namespace

ReportLayouter::ReportLayouter(Report &report)
    : m_report(report), m_out(std::make_shared<PreparedReport>()), m_placer(m_out->fonts)
{
    m_out->page = report.page();
    m_out->title = report.title();
    m_content = report.page().contentRect();
}

std::shared_ptr<PreparedReport> ReportLayouter::run()
{
    m_printedAt = QDateTime::currentDateTime();
    Walks walks(m_report.dataset(), m_report.subDetailDataset());
    bindBands();
    if (m_report.dataset())
        m_report.dataset()->first();
    startPage();
    walkRows();
    if (const Band *summary = enabledBand(BandKind::Summary))
        placeTogether({summary});
    finishPage();
    walks.restore();
    resolveDeferred();
    m_out->overflows = m_placer.overflows();
    if (m_out->page.isRoll())
        m_out->page = m_out->page.cutAt(m_contentEnd + m_out->page.margins().bottom());
    return m_out;
}

const Band *ReportLayouter::enabledBand(BandKind kind) const
{
    const Band *band = m_report.band(kind);
    return band && band->enabled() ? band : nullptr;
}

void ReportLayouter::bindBands()
{
    const Dataset *rows = m_report.dataset();
    const Dataset *lines = m_report.subDetailDataset();
    for (const BandKind kind : {BandKind::PageHeader, BandKind::ColumnHeader, BandKind::Detail, BandKind::SubDetail,
                                BandKind::Summary, BandKind::PageFooter}) {
        std::vector<Band *> bands = kind == BandKind::Detail ? m_report.details() : std::vector<Band *>{};
        if (kind != BandKind::Detail && m_report.band(kind))
            bands.push_back(m_report.band(kind));
        for (Band *band : bands) {
            BindContext context{kind == BandKind::SubDetail ? lines : rows,
                                rows,
                                lines,
                                &m_out->fonts,
                                m_report.defaultFont(),
                                &m_aggregates};
            for (const auto &element : band->elements())
                element->bind(context);
            m_order[band] = band->elementsTopDown();
        }
    }
}

void ReportLayouter::walkRows()
{
    Dataset *rows = m_report.dataset();
    if (!rows)
        return;
    std::vector<const Band *> details;
    for (const Band *band : m_report.details()) {
        if (band->enabled())
            details.push_back(band);
    }
    const Band *linesBand = enabledBand(BandKind::SubDetail);
    // run() put the rows on the first one before the first page header was laid out.
    for (; !rows->eof(); rows->next()) {
        m_aggregates.accumulate(Over::Detail);
        placeTogether(details);
        walkLines(linesBand);
    }
}

void ReportLayouter::walkLines(const Band *linesBand)
{
    Dataset *lines = m_report.subDetailDataset();
    if (!lines)
        return;
    // The rows' controls are off while they are walked, so the link does not follow by itself.
    lines->refresh();
    for (lines->first(); !lines->eof(); lines->next()) {
        m_aggregates.accumulate(Over::SubDetail);
        if (linesBand)
            placeTogether({linesBand});
    }
}

ReportLayouter::Piece ReportLayouter::layoutBand(const Band &band)
{
    Piece piece;
    LayoutContext context{&m_placer, m_out->pageCount(), m_printedAt, &m_aggregates, &piece.ops, &piece.deferred};
    // Each element that grew pushes down the elements that start below its box.
    struct Pushed {
        double bottom;
        double to;
    };
    std::vector<Pushed> pushed;
    const auto shiftAt = [&pushed](double top) {
        double shift = 0;
        for (const Pushed &p : pushed) {
            if (p.bottom <= top + toleranceMm)
                shift = std::max(shift, p.to);
        }
        return shift;
    };
    const double natural = band.naturalHeight();
    double bottom = 0;
    for (const Element *element : m_order.at(&band)) {
        const QRectF box = element->rect();
        const double shift = shiftAt(box.top());
        const double height = element->layout(context, shift);
        if (element->stretches() && height > box.height() + toleranceMm)
            pushed.push_back(Pushed{box.bottom(), shift + height - box.height()});
        bottom = std::max(bottom, box.top() + shift + height);
    }
    piece.height = std::max(bottom, natural + shiftAt(natural));
    return piece;
}

void ReportLayouter::put(Piece &piece, double y)
{
    const QPointF offset(m_content.left(), y);
    std::vector<PageOp> &ops = m_out->pages.back().ops;
    for (PageOp &op : piece.ops) {
        translate(op, offset);
        ops.push_back(std::move(op));
    }
    const int pageIndex = m_out->pageCount() - 1;
    for (DeferredText &text : piece.deferred) {
        text.box.translate(offset);
        m_deferred.emplace_back(pageIndex, text);
    }
}

void ReportLayouter::placeTogether(const std::vector<const Band *> &bands)
{
    if (bands.empty())
        return;
    const auto layoutAll = [&] {
        std::vector<Piece> pieces;
        for (const Band *band : bands)
            pieces.push_back(layoutBand(*band));
        return pieces;
    };
    std::vector<Piece> pieces = layoutAll();
    double height = 0;
    for (const Piece &piece : pieces)
        height += piece.height;
    if (m_pageHasBody && m_y + height > m_bodyBottom + toleranceMm) {
        finishPage();
        startPage();
        pieces = layoutAll(); // again, for what shows the page number
    }
    for (Piece &piece : pieces)
        putAcrossPages(piece);
}

void ReportLayouter::putAcrossPages(Piece &piece)
{
    while (m_y + piece.height > m_bodyBottom + toleranceMm) {
        Piece rest;
        if (!splitOff(piece, m_bodyBottom - m_y, rest)) {
            if (!m_pageHasBody)
                break; // not one line fits a whole page: printed from the top and cut at its foot
            finishPage();
            startPage();
            continue;
        }
        put(piece, m_y);
        m_y += piece.height;
        finishPage();
        startPage();
        piece = std::move(rest);
    }
    put(piece, m_y);
    m_y += piece.height;
    m_pageHasBody = true;
}

std::pair<double, double> ReportLayouter::extent(const PageOp &op)
{
    return std::visit(Overloaded{
                          [&](const TextOp &text) {
                              return std::pair{text.baseline.y() - m_placer.ascent(text.font),
                                               text.baseline.y() + m_placer.descent(text.font)};
                          },
                          [](const LineOp &line) {
                              return std::pair{std::min(line.line.y1(), line.line.y2()),
                                               std::max(line.line.y1(), line.line.y2())};
                          },
                          [](const BoxOp &box) { return std::pair{box.rect.top(), box.rect.bottom()}; },
                          [](const ImageOp &image) { return std::pair{image.rect.top(), image.rect.bottom()}; },
                      },
                      op);
}

bool ReportLayouter::splitOff(Piece &piece, double room, Piece &rest)
{
    // Texts and pictures are never cut: the cut moves up to the top of the first one it crosses.
    double cut = room;
    for (bool moved = true; moved;) {
        moved = false;
        for (const PageOp &op : piece.ops) {
            if (std::holds_alternative<LineOp>(op) || std::holds_alternative<BoxOp>(op))
                continue;
            const auto [top, bottom] = extent(op);
            if (top < cut - toleranceMm && bottom > cut + toleranceMm) {
                cut = top;
                moved = true;
            }
        }
    }
    if (cut <= toleranceMm)
        return false;
    const QPointF up(0, -cut);
    std::vector<PageOp> kept;
    for (PageOp &op : piece.ops) {
        const auto [top, bottom] = extent(op);
        if (top >= cut - toleranceMm) {
            translate(op, up);
            rest.ops.push_back(std::move(op));
            continue;
        }
        // Rules and frames that cross the cut are drawn in two parts, one on each page.
        if (bottom > cut + toleranceMm) {
            if (auto *box = std::get_if<BoxOp>(&op)) {
                BoxOp below = *box;
                below.rect.setTop(cut);
                below.rect.translate(up);
                rest.ops.emplace_back(std::move(below));
                box->rect.setBottom(cut);
            } else if (auto *line = std::get_if<LineOp>(&op)) {
                const QLineF &l = line->line;
                const double t = (cut - l.y1()) / (l.y2() - l.y1());
                const QPointF atCut = l.pointAt(t);
                const QPointF upper = l.y1() < l.y2() ? l.p1() : l.p2();
                const QPointF lower = l.y1() < l.y2() ? l.p2() : l.p1();
                rest.ops.emplace_back(std::in_place_type<LineOp>, QLineF(atCut, lower).translated(up), line->widthMm);
                line->line = QLineF(upper, atCut);
            }
        }
        kept.push_back(std::move(op));
    }
    piece.ops = std::move(kept);
    std::vector<DeferredText> keptDeferred;
    for (DeferredText &text : piece.deferred) {
        if (text.box.top() >= cut - toleranceMm) {
            text.box.translate(up);
            ++text.pageNumber;
            rest.deferred.push_back(text);
        } else {
            keptDeferred.push_back(text);
        }
    }
    piece.deferred = std::move(keptDeferred);
    rest.height = piece.height - cut;
    piece.height = cut;
    return true;
}

void ReportLayouter::startPage()
{
    m_out->pages.emplace_back();
    m_progress.laidOut(int(m_out->pages.size()));
    m_y = m_content.top();
    m_pageHasBody = false;
    const Band *footer = enabledBand(BandKind::PageFooter);
    m_bodyBottom = m_content.bottom() - (footer ? footer->naturalHeight() : 0);
    for (const BandKind kind : {BandKind::PageHeader, BandKind::ColumnHeader}) {
        if (const Band *band = enabledBand(kind)) {
            Piece piece = layoutBand(*band);
            put(piece, m_y);
            m_y += piece.height;
        }
    }
}

void ReportLayouter::finishPage()
{
    const bool roll = m_out->page.isRoll();
    if (const Band *footer = enabledBand(BandKind::PageFooter)) {
        Piece piece = layoutBand(*footer);
        // On a roll the footer follows the content, since the paper is cut after it.
        const double top = roll ? m_y : m_content.bottom() - piece.height;
        put(piece, top);
        m_y = std::max(m_y, top + piece.height);
    }
    m_contentEnd = std::max(m_contentEnd, m_y);
}

void ReportLayouter::resolveDeferred()
{
    const int pageCount = m_out->pageCount();
    for (auto &[pageIndex, text] : m_deferred) {
        std::vector<PageOp> ops;
        LayoutContext context{&m_placer, text.pageNumber, m_printedAt, &m_aggregates, &ops, nullptr};
        text.element->placeDeferred(context, text, pageCount);
        auto &pageOps = m_out->pages[size_t(pageIndex)].ops;
        std::move(ops.begin(), ops.end(), std::back_inserter(pageOps));
    }
}

} // namespace vx::report
