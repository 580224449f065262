#pragma once
// Printing of Format() results in test failures.

#include <QString>
#include <QVariant>

#include <ostream>
#include <string>

inline std::string Show(const QString& s) { return s.toStdString(); }
inline std::string Show(const QVariant& v) {
  if (!v.isValid()) return "Null";
  return std::string(v.typeName()) + " " + v.toString().toStdString();
}
