#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

#include <stdexcept>

namespace vx::report {

// A failure of the report engine: a definition that names something that does not exist, a
// dataset that cannot be walked, a file or printer that cannot be written. The message is
// Spanish and meant for the operator; the calling window decides whether to show it.
class VXPLATFORM_EXPORT ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace vx::report
