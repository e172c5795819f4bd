#pragma once

#include "platform/report/Report.h"

class QWidget;

namespace vx {
class Dataset;
}

// The article list: one line per article of the dataset, in its current order and filter, on A4
// portrait; the second line (second location's quantity, cost and price) only for the level that
// sees costs in full.
class TQRArt {
public:
    explicit TQRArt(vx::Dataset *stock);

    // The band of the second line per article.
    static constexpr const char *secondLineBand = "QRBand2";

    void setSecondLine(bool on) { m_report.setBandEnabled(QString::fromLatin1(secondLineBand), on); }
    vx::report::Report &report() { return m_report; }
    void preview(QWidget *parent) { m_report.preview(parent); }

private:
    vx::report::Report m_report;
};
