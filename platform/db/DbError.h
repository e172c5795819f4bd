#pragma once

#include "platform/VxPlatformExport.h"

#include <QString>

#include <stdexcept>

namespace vx {

// A failure of the data layer. The message is Spanish and meant for the operator: it names the
// table, field or file involved and the cause. The data layer never shows it; windows decide.
class VXPLATFORM_EXPORT DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

}  // namespace vx
