#pragma once
// Criteria of a recordset's Filter and Find, and its Sort text.
//
// Criteria: comparisons joined by AND / OR, with parentheses:
//   [Field Name] op value    or    FIELD op value
// op: = <> < <= > >= LIKE; value: a number (with "." as decimal point),
// 'text' ('' for a quote), #date# (mm/dd/yyyy, optionally with a time, or
// yyyy-mm-dd) or NULL. LIKE takes * or % for any run of characters and ? or _
// for one (likepattern.h). Text compares without regard to case (over all of Unicode).
// TRUE and FALSE are the numbers -1 and 0, which is how Booleans compare.
// Whole numbers, exact decimals and text that is a number compare with a
// number by their exact values (376123450000000017 is not
// 376123450000000016); doubles compare as doubles.
// Parentheses nest at most 100 deep.
//
// Sort: "[Field] ASC, Field2 DESC, Field3" (ASC when no direction is given).
// A field named again later in the sort is dropped: it orders nothing.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace pv {

class Criteria {
 public:
  // Parses `text` against the field names (matched without regard to case).
  // Throws DbError (DbErrArguments) for bad syntax or an unknown field.
  static Criteria Parse(const QString& text, const QStringList& fieldNames);

  Criteria();
  ~Criteria();
  Criteria(Criteria&&) noexcept;
  Criteria& operator=(Criteria&&) noexcept;

  bool IsEmpty() const { return m_root == nullptr; }
  // Whether a row (values in field order) matches; an empty criteria matches.
  bool Matches(const std::vector<QVariant>& row) const;

  // The fields the criteria read (indices, ascending), for a database that
  // filters rows itself: it hands their values to Matches (sqlitefunctions.h),
  // so both ways give the same rows and a chain of any length is one call.
  const std::vector<int>& Fields() const { return m_fields; }

  struct Node;

 private:
  std::unique_ptr<Node> m_root;
  std::vector<int> m_fields;
};

struct SortKey {
  int field = 0;
  bool descending = false;
};

// Throws DbError (DbErrArguments or DbErrItemNotFound).
std::vector<SortKey> ParseSort(const QString& text, const QStringList& fieldNames);

// Orders two field values as the recordset's Sort does: Null first, numbers
// by value, dates by time, text in the sort order of sortcollation.h.
// <0, 0, >0.
int CompareValues(const QVariant& a, const QVariant& b);

// The index of `name` among `fieldNames` without regard to case, or -1.
int FieldIndex(const QStringList& fieldNames, const QString& name);

}  // namespace pv
