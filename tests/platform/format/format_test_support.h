#pragma once
// One Format() case of a table and its check, printing value and pattern
// when the text differs.

#include "platform/format.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>

#include <string>

struct FormatCase {
  QVariant value;
  const char* pattern;  // UTF-8
  QString expected;
};

inline std::string Show(const QVariant& v) {
  if (!v.isValid()) return "Null";
  return std::string(v.typeName()) + " " + v.toString().toStdString();
}

inline void CheckFormat(const FormatCase& c) {
  EXPECT_EQ(pv::Format(c.value, QString::fromUtf8(c.pattern)).toStdString(), c.expected.toStdString())
      << Show(c.value) << " with \"" << c.pattern << "\"";
}

inline void CheckFormats(std::initializer_list<FormatCase> cases) {
  for (const FormatCase& c : cases) CheckFormat(c);
}

// Thursday 10 December 2026, 14:05:09: day 344 of a year that began on a
// Thursday.
inline const QDateTime kThursday(QDate(2026, 12, 10), QTime(14, 5, 9));
