#include "sales/SalePrint.h"

// The receipt and ticket layouts join here with the print-choice window; until then a recorded
// sale offers nothing to print.
void sales::printRecordedSale(QWidget *, const SaleOnScreen &) {}
