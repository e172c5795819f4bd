#pragma once

#include "sales/TktFac.h"

#include <array>
#include <optional>

namespace vx {
class Connection;
class Table;
} // namespace vx

// The print positions kept in FILCOL: the pre-printed receipt C layout and the ticket layout.
namespace sales::filcol {

// Row and column of each of the eleven items of the receipt C, and the spacing between lines.
struct InvoiceLayout {
    std::array<int, 11> rows{};
    std::array<int, 11> columns{};
    int spacing = 40;
};

// The ticket row written the first time the ticket layout is looked at.
constexpr int defaultTicketSpacing = 40;
constexpr int defaultTicketTop = 20;
constexpr int defaultTicketLeft = 140;

// The receipt C row, located on the open table; nullopt when there is none.
std::optional<InvoiceLayout> invoiceLayout(vx::Table &filcol);
// Stores the layout in the receipt C row, appending one when there is none: one row stays.
void saveInvoiceLayout(vx::Table &filcol, const InvoiceLayout &layout);

// Leaves the open table on the ticket row, appending it with the defaults when there is none.
void showTicketRow(vx::Table &filcol);
// Stores the spacing in the ticket row with whatever its bound boxes put into it; false when
// there is no ticket row.
bool saveTicketSpacing(vx::Table &filcol, int spacing);

// The header top and the left edge the ticket reprints use; nullopt when the shop has no ticket
// row.
std::optional<TicketPositions> ticketPositions(vx::Connection &connection);

} // namespace sales::filcol
