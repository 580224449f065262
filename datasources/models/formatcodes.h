#pragma once
// The standard formatting codes of merge fields (table rst_numericformat),
// read afresh at every call: the codes of one kind, one code by its id, and
// the sample a code shows in the picker's list.

#include <QString>

#include <optional>
#include <vector>

namespace pv {

// Kinds of formatting codes (the kind list's item data).
enum FieldFormatKind {
  FormatNone = 0,
  FormatNumber = 1,
  FormatDate = 2,
  FormatTime = 3,
  FormatCurrency = 4,
  FormatCounter = 5
};

struct FormatCode {
  qint64 id = 0;
  QString format;
};

// The codes of a kind in id order; none for kind 0. Throws DbError.
std::vector<FormatCode> FormatCodesOfKind(int kind);
// The code with that id. Throws DbError.
std::optional<QString> FormatCodeById(qint64 id);
// What a code of a kind shows: 123.456 for numbers, now for dates and
// times, 1000 for currency, the code itself for counters.
QString FormatSample(int kind, const QString& format);

}  // namespace pv
