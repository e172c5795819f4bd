#include "platform/db/DbError.h"

namespace vx {

DbError::DbError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}

}  // namespace vx
