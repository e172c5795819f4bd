#include "platform/report/ReportProgress.h"

namespace vx::report {

namespace {

ProgressHook &installedHook()
{
    static ProgressHook hook;
    return hook;
}

int quietTime = 300;

} // namespace

void setProgressHook(ProgressHook hook)
{
    installedHook() = std::move(hook);
}

void setProgressQuietTime(int milliseconds)
{
    quietTime = milliseconds;
}

ProgressReporter::ProgressReporter()
{
    m_sinceStart.start();
}

ProgressReporter::~ProgressReporter()
{
    const ProgressHook &hook = installedHook();
    if (hook && m_sinceLast.isValid())
        hook(QString());
}

void ProgressReporter::laidOut(int page)
{
    report(QStringLiteral("Preparando hoja %1").arg(page));
}

void ProgressReporter::printed(int page, int pages)
{
    report(QStringLiteral("Imprimiendo hoja %1 de %2").arg(page).arg(pages));
}

void ProgressReporter::report(const QString &text)
{
    const ProgressHook &hook = installedHook();
    if (!hook || m_sinceStart.elapsed() < quietTime || (m_sinceLast.isValid() && m_sinceLast.elapsed() < 150))
        return;
    m_sinceLast.start();
    hook(text);
}

} // namespace vx::report
