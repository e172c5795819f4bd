#pragma once

#include "platform/VxPlatformExport.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>

namespace vx::report {

// Where long report work tells the operator how far it got (the wait window's progress line):
// the pages laid out, then the pages printed out of all of them. Called a few times a second
// at most, and once with an empty text when the work that reported is over (also on failure);
// none is installed unless the program installs one.
using ProgressHook = std::function<void(const QString &text)>;
VXPLATFORM_EXPORT void setProgressHook(ProgressHook hook);
// Work shorter than this (a ticket: 300 ms unless set) reports nothing.
VXPLATFORM_EXPORT void setProgressQuietTime(int milliseconds);

// Reports to the installed hook once the work has lasted the quiet time, then no oftener than
// every 150 ms.
class VXPLATFORM_EXPORT ProgressReporter {
public:
    ProgressReporter();
    ~ProgressReporter();
    ProgressReporter(const ProgressReporter &) = delete;
    ProgressReporter &operator=(const ProgressReporter &) = delete;

    void laidOut(int page);
    void printed(int page, int pages);

private:
    void report(const QString &text);

    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceLast;
};

} // namespace vx::report
