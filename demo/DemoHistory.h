#pragma once

#include <QDate>

namespace vx {
class Connection;
}

namespace demo {

// How many days back the sample shop's history starts.
inline constexpr int historyDays = 28;

// Records the sample shop's recent past, day by day up to today, through the same recordings the
// windows use: what each subsystem does on a shop day runs in the order a shop lives it (goods
// arrive, the counter sells, the cash is looked after), so that every window opens on a history
// that agrees with itself.
void recordHistory(vx::Connection &connection, const QDate &today);

// A small deterministic generator, so that two demo shops made the same day are alike.
class DemoRandom {
public:
    explicit DemoRandom(quint32 seed) : m_state(seed) {}
    int below(int bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % quint32(bound));
    }

private:
    quint32 m_state;
};

}  // namespace demo
