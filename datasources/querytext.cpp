#include "datasources/querytext.h"

#include "platform/db/dberror.h"

#include <QDateTime>

namespace pv {

namespace {

[[noreturn]] void Bad(const QString& why) {
  throw DbError(DbErrProvider, QStringLiteral("Errore di sintassi nella query: ") + why);
}

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

QString DateText(const QString& written) {
  static const char* const kDates[] = {"M/d/yyyy", "yyyy-MM-dd"};
  static const char* const kTimes[] = {"", " H:mm:ss", " H:mm"};
  for (const char* d : kDates) {
    for (const char* t : kTimes) {
      const QString format = QString::fromLatin1(d) + QString::fromLatin1(t);
      const QDateTime dt = QDateTime::fromString(written, format);
      if (dt.isValid()) {
        return *t == '\0' ? dt.date().toString(Qt::ISODate) : dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
      }
    }
  }
  Bad(QStringLiteral("data non valida #%1#").arg(written));
}

// Text from `i` (just after the opening mark) to the closing mark; a doubled
// mark stands for itself. Leaves `i` after the closing mark.
QString Delimited(const QString& s, qsizetype& i, QChar close) {
  QString out;
  for (;;) {
    if (i >= s.size()) Bad(QStringLiteral("manca %1").arg(close));
    if (s[i] == close) {
      if (close != QLatin1Char(']') && close != QLatin1Char('#') && i + 1 < s.size() && s[i + 1] == close) {
        out += close;
        i += 2;
        continue;
      }
      ++i;
      return out;
    }
    out += s[i++];
  }
}

QString Quoted(QString text, QChar mark) {
  text.replace(mark, QString(2, mark));
  return mark + text + mark;
}

}  // namespace

QString TranslateQuery(const QString& query) {
  QString out;
  QString limit;
  int words = 0;  // words seen so far, to find TOP after SELECT [DISTINCT]
  bool afterSelect = false;
  qsizetype i = 0;
  const qsizetype n = query.size();
  qsizetype end = 0;  // the output up to the last text that is not a blank, ";" or a comment
  while (i < n) {
    const QChar c = query[i];
    const QStringView rest = QStringView(query).mid(i);
    if (rest.startsWith(QLatin1String("--")) || rest.startsWith(QLatin1String("/*"))) {
      // A comment stays as it is, whatever it holds.
      const bool line = rest.startsWith(QLatin1String("--"));
      const qsizetype close = line ? query.indexOf(QLatin1Char('\n'), i) : query.indexOf(QLatin1String("*/"), i + 2);
      const qsizetype stop = close < 0 ? n : (line ? close : close + 2);
      out += query.mid(i, stop - i);
      i = stop;
      continue;
    }
    const bool counts = !c.isSpace() && c != QLatin1Char(';');
    if (c == QLatin1Char('\'')) {
      ++i;
      out += Quoted(Delimited(query, i, c), c);
    } else if (c == QLatin1Char('"')) {
      ++i;
      out += Quoted(Delimited(query, i, c), QLatin1Char('\''));
    } else if (c == QLatin1Char('[')) {
      ++i;
      out += Quoted(Delimited(query, i, QLatin1Char(']')), QLatin1Char('"'));
    } else if (c == QLatin1Char('#')) {
      ++i;
      out += QLatin1Char('\'') + DateText(Delimited(query, i, QLatin1Char('#')).trimmed()) + QLatin1Char('\'');
    } else if (IsWordChar(c) && (i == 0 || !IsWordChar(query[i - 1]))) {
      qsizetype e = i;
      while (e < n && IsWordChar(query[e])) ++e;
      const QString word = query.mid(i, e - i);
      const QString upper = word.toUpper();
      ++words;
      if (upper == QLatin1String("TRUE")) {
        out += QStringLiteral("-1");
      } else if (upper == QLatin1String("FALSE")) {
        out += QStringLiteral("0");
      } else if (upper == QLatin1String("TOP") && afterSelect && limit.isEmpty()) {
        // TOP n: the count moves to a LIMIT at the end.
        qsizetype k = e;
        while (k < n && query[k].isSpace()) ++k;
        const qsizetype digits = k;
        while (k < n && query[k].isDigit()) ++k;
        if (k == digits) Bad(QStringLiteral("TOP senza numero"));
        limit = query.mid(digits, k - digits);
        e = k;
        while (e < n && query[e].isSpace()) ++e;
      } else {
        out += word;
      }
      afterSelect = (upper == QLatin1String("SELECT") && words == 1) ||
                    (afterSelect && (upper == QLatin1String("DISTINCT") || upper == QLatin1String("ALL")));
      i = e;
    } else {
      out += c;
      ++i;
    }
    if (counts) end = out.size();
  }
  if (!limit.isEmpty()) {
    // Before the blanks, ";" and comments the query ends with.
    out.truncate(end);
    out += QStringLiteral(" LIMIT ") + limit;
  }
  return out;
}

}  // namespace pv
