#pragma once
// The values a label's merge fields show, handed to the drawing by its
// caller: the print engine gives the current record of the merge source, the
// canvas the captions of the fields, a tool without a data source the field
// names themselves.
#include <QString>

namespace pv {

class FieldSource {
 public:
  virtual ~FieldSource() = default;
  // The text of one field on the label being drawn: the value of a column
  // of the record or of a predefined field, through the object's format
  // text. Never fails.
  virtual QString Value(const QString& field, const QString& formatText) const = 0;
};

// No data source: every field shows its name without leading and trailing
// blanks.
class FieldNames final : public FieldSource {
 public:
  QString Value(const QString& field, const QString& formatText) const override;
};

// The canvas: a predefined field shows its caption (messages 32005-32007),
// any other field its name, both without leading and trailing blanks.
class FieldCaptions final : public FieldSource {
 public:
  QString Value(const QString& field, const QString& formatText) const override;
};

}  // namespace pv
