#include "render/fieldsource.h"

#include "document/predefinedfields.h"
#include "platform/runtime.h"

namespace pv {

QString FieldNames::Value(const QString& field, const QString&) const { return Trim(field); }

QString FieldCaptions::Value(const QString& field, const QString&) const {
  QString key = Trim(field);
  return GetPredefinedFieldCaption(key);
}

}  // namespace pv
