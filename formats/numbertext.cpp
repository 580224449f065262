#include "formats/numbertext.h"

#include <QLocale>

namespace pv {

QString GeneralNumber(double value) {
  if (value == 0) value = 0;  // no "-0"
  QString text = QString::number(value, 'f', QLocale::FloatingPointShortest);
  const QString point = QLocale().decimalPoint();
  if (point != QStringLiteral(".")) text.replace(u'.', point);
  return text;
}

}  // namespace pv
