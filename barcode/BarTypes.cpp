#include "barcode/BarTypes.h"

namespace zebrune {

const TBCdata BCData[BarTypeCount] = {
    {"Code25 interleaved", true},
    {"Code25 industrial", true},
    {"Code25 matrix", true},
    {"Code39", false},
    {"Code39 Extended", false},
    {"Code128A", false},
    {"Code128B", false},
    {"Code128C", false},
    {"Code93", false},
    {"Code93 Extended", false},
    {"MSI", true},
    {"PostNet", true},
    {"Codebar", false},
    {"EAN8", true},
    {"EAN13", true},
    {"UPC_A", true},
    {"UPC_E0", true},
    {"UPC_E1", true},
    {"UPC Supp2", true},
    {"UPC Supp5", true},
    {"EAN128A", false},
    {"EAN128B", false},
    {"EAN128C", false},
};

const char *barTypeName(TBarType type)
{
    if (type < 0 || type >= BarTypeCount)
        throw BarcodeError("Wrong barcode type.");
    return BCData[type].name;
}

} // namespace zebrune
