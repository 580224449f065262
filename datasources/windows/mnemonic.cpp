#include "datasources/windows/mnemonic.h"

namespace pv {

QString WithMnemonic(const QString& caption, QChar letter) {
  const qsizetype at = caption.indexOf(letter, 0, Qt::CaseInsensitive);
  if (at < 0) return caption;
  QString out = caption;
  out.insert(at, QLatin1Char('&'));
  return out;
}

}  // namespace pv
