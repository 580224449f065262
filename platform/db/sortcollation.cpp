#include "platform/db/sortcollation.h"

#include <QCollator>
#include <QLocale>

namespace pv {

namespace {

// One collator per thread: QCollator is not shared across threads.
const QCollator& Collator() {
  thread_local const QCollator collator = [] {
    QCollator c(QLocale(QLocale::Italian, QLocale::Italy));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
  }();
  return collator;
}

}  // namespace

int CompareForSort(QStringView a, QStringView b) {
  const int c = Collator().compare(a, b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace pv
