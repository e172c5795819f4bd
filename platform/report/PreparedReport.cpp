#include "platform/report/PreparedReport.h"

namespace vx::report {

int FontTable::indexOf(const QFont &wanted)
{
    // Without kerning a text is as wide as its letters, so measuring it needs no shaping.
    QFont font = wanted;
    font.setKerning(false);
    for (size_t i = 0; i < m_fonts.size(); ++i) {
        if (m_fonts[i] == font)
            return int(i);
    }
    m_fonts.push_back(font);
    return int(m_fonts.size() - 1);
}

} // namespace vx::report
