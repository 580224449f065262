#include "core/ini.h"

#include "platform/cp1252.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringList>

#include <cmath>
#include <limits>

namespace pv {
namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

// The section name of a "[NAME]" line, or nothing.
std::optional<QString> SectionOf(const QString& line) {
  const QString t = TrimBlanks(line);
  if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
  qsizetype end = t.indexOf(QLatin1Char(']'));
  if (end < 0) end = t.size();
  return TrimBlanks(t.mid(1, end - 1));
}

// The key of a "KEY=value" line, or nothing.
std::optional<QString> KeyOf(const QString& line) {
  const qsizetype eq = line.indexOf(QLatin1Char('='));
  if (eq < 0) return std::nullopt;
  return TrimBlanks(line.left(eq));
}

bool ReadLines(const QString& file, QStringList* lines, bool* exists) {
  QFile f(file);
  *exists = f.exists();
  lines->clear();
  if (!*exists) return true;
  if (!f.open(QIODevice::ReadOnly)) return false;
  const QString text = FromAnsi(f.readAll());
  *lines = text.split(QLatin1Char('\n'));
  for (QString& l : *lines) {
    if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
  }
  if (!lines->isEmpty() && lines->last().isEmpty()) lines->removeLast();
  return true;
}

void WriteValue(const QString& file, const QString& section, const QString& key, QString value) {
  value.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  value.replace(QLatin1Char('\r'), QLatin1Char(' '));
  value.replace(QLatin1Char('\n'), QLatin1Char(' '));
  QStringList lines;
  bool exists = false;
  // A file that is there but cannot be read is never replaced by a new one.
  if (!ReadLines(file, &lines, &exists)) return;

  const QString newLine = key + QLatin1Char('=') + value;
  qsizetype sectionStart = -1;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const auto s = SectionOf(lines[i]);
    if (s && s->compare(section, Qt::CaseInsensitive) == 0) {
      sectionStart = i;
      break;
    }
  }
  if (sectionStart < 0) {
    lines << QLatin1Char('[') + section + QLatin1Char(']') << newLine;
  } else {
    qsizetype end = sectionStart + 1;
    while (end < lines.size() && !SectionOf(lines[end])) ++end;
    bool replaced = false;
    for (qsizetype i = sectionStart + 1; i < end; ++i) {
      const auto k = KeyOf(lines[i]);
      if (k && k->compare(key, Qt::CaseInsensitive) == 0) {
        lines[i] = newLine;
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      qsizetype at = end;
      while (at > sectionStart + 1 && TrimBlanks(lines[at - 1]).isEmpty()) --at;
      lines.insert(at, newLine);
    }
  }

  QSaveFile out(file);
  if (!out.open(QIODevice::WriteOnly)) return;
  QByteArray bytes;
  for (const QString& l : lines) bytes += ToAnsi(l) + "\r\n";
  if (out.write(bytes) != bytes.size()) {
    out.cancelWriting();
    return;
  }
  out.commit();
}

std::optional<double> WholeNumber(const QVariant& v) {
  if (v.metaType().id() != QMetaType::QString) {
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok) return d;
    return std::nullopt;
  }
  static const QRegularExpression re(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$)"));
  const QString t = TrimBlanks(v.toString());
  if (!re.match(t).hasMatch()) return std::nullopt;
  return Val(t);
}

}  // namespace

QString IniFileName() { return UserSettingsPath(QStringLiteral("plavik.ini")); }

std::optional<QString> ReadIniText(const QString& file, const QString& section, const QString& key) {
  QStringList lines;
  bool exists = false;
  if (!ReadLines(file, &lines, &exists) || !exists) return std::nullopt;
  bool inSection = false;
  for (const QString& line : lines) {
    if (const auto s = SectionOf(line)) {
      if (inSection) break;  // the first section of that name is the one read
      inSection = s->compare(section, Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!inSection) continue;
    const auto k = KeyOf(line);
    if (!k || k->compare(key, Qt::CaseInsensitive) != 0) continue;
    const QString value = TrimBlanks(line.mid(line.indexOf(QLatin1Char('=')) + 1)).left(IniMaxValueLength);
    if (value.isEmpty()) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

QVariant ReadIni(const QString& file, const QString& section, const QString& key) {
  const auto text = ReadIniText(file, section, key);
  if (!text) return QVariant(0);
  if (*text == QLatin1String("Vero")) return QVariant(1);
  if (*text == QLatin1String("Falso")) return QVariant(0);
  return QVariant(*text);
}

bool ReadIniFlag(const QString& file, const QString& section, const QString& key) {
  const auto text = ReadIniText(file, section, key);
  if (!text) return false;
  const auto n = WholeNumber(QVariant(*text));
  return n && *n == 1.0;
}

void WriteIni(const QString& file, const QString& section, const QString& key, const QVariant& value) {
  QString text;
  switch (value.metaType().id()) {
    case QMetaType::Float: text = StrSingle(value.toFloat()); break;
    case QMetaType::Double: text = StrDouble(value.toDouble()); break;
    case QMetaType::Bool: text = StrLong(value.toBool() ? -1 : 0); break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar: text = StrLong(value.toLongLong()); break;
    default: text = value.toString(); break;
  }
  WriteValue(file, section, key, text);
}

void WriteIniFlag(const QString& file, const QString& section, const QString& key, long long value) {
  WriteValue(file, section, key, value != 0 ? QStringLiteral("1") : QStringLiteral("0"));
}

std::int32_t IniToLong(const QVariant& v) {
  const auto n = WholeNumber(v);
  if (!n) return 0;
  bool overflow = false;
  const std::int32_t r = CLng(*n, &overflow);
  return overflow ? 0 : r;
}

std::int16_t IniToInteger(const QVariant& v) {
  const auto n = WholeNumber(v);
  if (!n) return 0;
  bool overflow = false;
  const std::int16_t r = CInt(*n, &overflow);
  return overflow ? 0 : r;
}

float IniToSingle(const QVariant& v) {
  const auto n = WholeNumber(v);
  if (!n) return 0;
  if (!std::isfinite(*n) || std::fabs(*n) > static_cast<double>(std::numeric_limits<float>::max())) return 0;
  return static_cast<float>(*n);
}

double IniToLeadingDouble(const QVariant& v) {
  if (v.metaType().id() != QMetaType::QString) return v.toDouble();
  const double d = Val(TrimBlanks(v.toString()));
  return std::isfinite(d) ? d : 0;
}

QString IniToText(const QVariant& v) { return v.toString(); }

}  // namespace pv
