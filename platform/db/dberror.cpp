#include "platform/db/dberror.h"

namespace pv {

DbError::DbError(long number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description) {}

}  // namespace pv
