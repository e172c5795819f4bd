#include "platform/report/ReportError.h"

namespace vx::report {

ReportError::ReportError(const QString &message)
    : std::runtime_error(message.toLocal8Bit().toStdString()), m_message(message)
{
}

} // namespace vx::report
