#include "platform/stringtable.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace pv {
namespace {

// One line per entry: number, a tab, the text; "\n", "\t" and "\\" are the
// only escapes. Lines starting with '#' are comments.
QString Unescape(const QString& s) {
  QString out;
  out.reserve(s.size());
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == QLatin1Char('\\') && i + 1 < s.size()) {
      const QChar c = s[++i];
      if (c == QLatin1Char('n'))
        out += QLatin1Char('\n');
      else if (c == QLatin1Char('t'))
        out += QLatin1Char('\t');
      else if (c == QLatin1Char('r'))
        out += QLatin1Char('\r');
      else
        out += c;
    } else {
      out += s[i];
    }
  }
  return out;
}

const QHash<int, QString>& Table() {
  static const QHash<int, QString> table = [] {
    QHash<int, QString> t;
    QFile f(QStringLiteral(":/plavik/strings.tsv"));
    if (!f.open(QIODevice::ReadOnly)) return t;
    const QString all = QString::fromUtf8(f.readAll());
    const auto lines = all.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
      if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
      const auto tab = line.indexOf(QLatin1Char('\t'));
      if (tab <= 0) continue;
      bool ok = false;
      const int n = line.left(tab).toInt(&ok);
      if (!ok) continue;
      t.insert(n, Unescape(line.mid(tab + 1)));
    }
    return t;
  }();
  return table;
}

}  // namespace

QString LoadResString(int number) { return Table().value(number); }
bool HasResString(int number) { return Table().contains(number); }
QList<int> ResStringNumbers() {
  QList<int> keys = Table().keys();
  std::sort(keys.begin(), keys.end());
  return keys;
}

}  // namespace pv
