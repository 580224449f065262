#include "datasources/connectionstring.h"

#include "platform/programfolder.h"

#include <map>

namespace pv {

namespace {

bool NeedsQuotes(const QString& value, QChar open) {
  const QString t = value.trimmed();
  return value.contains(QLatin1Char(';')) || value.contains(QLatin1Char('=')) ||
         (!t.isEmpty() && (t[0] == open || t[0] == QLatin1Char('\'') || t[0] == QLatin1Char('"')));
}

// A Jet value: as it is, or in "..." with inner quotes doubled.
QString JetValue(const QString& value) {
  if (!NeedsQuotes(value, QLatin1Char('"'))) return value;
  QString v = value;
  v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + v + QLatin1Char('"');
}

// An ODBC value: as it is, or in {...} with inner closing braces doubled.
QString OdbcValue(const QString& value) {
  if (!NeedsQuotes(value, QLatin1Char('{'))) return value;
  QString v = value;
  v.replace(QLatin1Char('}'), QStringLiteral("}}"));
  return QLatin1Char('{') + v + QLatin1Char('}');
}

[[noreturn]] void Refuse(const QString& why) {
  throw DbError(DbErrProvider, QStringLiteral("Impossibile aprire l'origine dati: ") + why);
}

// The pairs of a string, keys in upper case. A quoted value ("...", '...' or
// {...}, the closing mark doubled inside) runs to its closing mark.
std::map<QString, QString> Pairs(const QString& s) {
  std::map<QString, QString> out;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    const qsizetype eq = s.indexOf(QLatin1Char('='), i);
    const qsizetype semi = s.indexOf(QLatin1Char(';'), i);
    if (eq < 0 || (semi >= 0 && semi < eq)) {
      if (s.mid(i, semi < 0 ? n - i : semi - i).trimmed().isEmpty()) {
        if (semi < 0) break;
        i = semi + 1;
        continue;
      }
      Refuse(QStringLiteral("coppia senza \"=\" in \"%1\"").arg(s));
    }
    const QString key = s.mid(i, eq - i).trimmed().toUpper();
    i = eq + 1;
    while (i < n && s[i].isSpace()) ++i;
    QString value;
    const QChar open = i < n ? s[i] : QChar();
    if (open == QLatin1Char('"') || open == QLatin1Char('\'') || open == QLatin1Char('{')) {
      const QChar close = open == QLatin1Char('{') ? QLatin1Char('}') : open;
      ++i;
      for (;;) {
        if (i >= n) Refuse(QStringLiteral("valore non chiuso in \"%1\"").arg(s));
        if (s[i] == close) {
          if (i + 1 < n && s[i + 1] == close) {
            value += close;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value += s[i++];
      }
      while (i < n && s[i].isSpace()) ++i;
      if (i < n && s[i] != QLatin1Char(';'))
        Refuse(QStringLiteral("testo dopo un valore tra virgolette in \"%1\"").arg(s));
      if (i < n) ++i;
    } else {
      const qsizetype end = s.indexOf(QLatin1Char(';'), i);
      value = s.mid(i, end < 0 ? n - i : end - i).trimmed();
      i = end < 0 ? n : end + 1;
    }
    if (!key.isEmpty()) out[key] = value;
  }
  return out;
}

QString First(const std::map<QString, QString>& pairs, std::initializer_list<const char*> keys) {
  for (const char* k : keys) {
    const auto it = pairs.find(QString::fromLatin1(k));
    if (it != pairs.end()) return it->second;
  }
  return QString();
}

}  // namespace

QString ExtendedPropertiesOf(int typeCode) {
  static const char* const kProperties[] = {
      "",           "dBASE III;", "dBASE IV;",  "dBASE 5.0;", "Paradox 3.x;", "Paradox 4.x;", "Paradox 5.x;",
      "Excel 3.0;", "Excel 4.0;", "Excel 5.0;", "Excel 8.0;", "Excel 8.0;"};
  if (typeCode < 0 || typeCode >= static_cast<int>(std::size(kProperties))) return QString();
  return QString::fromLatin1(kProperties[typeCode]);
}

QString BuildConnectionString(int typeCode, const QString& source, bool usePassword, const QString& user,
                              const QString& password) {
  if (typeCode == kSourceOdbc) return QStringLiteral("DSN=") + OdbcValue(source);
  QString s = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + JetValue(source) +
              QStringLiteral(";Mode=ReadWrite;Persist Security Info=False;");
  const QString extended = ExtendedPropertiesOf(typeCode);
  if (!extended.isEmpty()) s += QStringLiteral("Extended Properties=") + extended;
  if (usePassword) {
    s += QStringLiteral("User ID= ") + JetValue(user) + QLatin1Char(';');
    s += QStringLiteral("Password=") + JetValue(password) + QLatin1Char(';');
  }
  return s;
}

SourceLocation ParseConnectionString(const QString& connection) {
  const std::map<QString, QString> pairs = Pairs(connection);
  SourceLocation loc;
  loc.user = First(pairs, {"USER ID", "UID"});
  loc.password = First(pairs, {"PASSWORD", "PWD"});
  if (pairs.count(QStringLiteral("DSN")) > 0) {
    loc.kind = SourceKind::Odbc;
    loc.path = First(pairs, {"DSN"});
    if (loc.path.isEmpty()) Refuse(QStringLiteral("nome dell'origine ODBC vuoto"));
    loc.connection = connection;  // the driver's own keys reach it
    return loc;
  }
  loc.path = First(pairs, {"DATA SOURCE"});
  if (loc.path.isEmpty()) Refuse(QStringLiteral("manca Data Source in \"%1\"").arg(connection));
  // The type is the first item of the extended properties ("Excel 8.0;HDR=Yes").
  QString type = First(pairs, {"EXTENDED PROPERTIES"});
  type = type.left(type.indexOf(QLatin1Char(';'))).trimmed();
  if (type.isEmpty()) {
    loc.kind = SourceKind::Access;
    return loc;
  }
  const struct {
    const char* name;
    SourceKind kind;
  } kTypes[] = {
      {"dBASE III", SourceKind::DBase},     {"dBASE IV", SourceKind::DBase},      {"dBASE 5.0", SourceKind::DBase},
      {"Paradox 3.x", SourceKind::Paradox}, {"Paradox 4.x", SourceKind::Paradox}, {"Paradox 5.x", SourceKind::Paradox},
      {"Excel 3.0", SourceKind::Excel},     {"Excel 4.0", SourceKind::Excel},     {"Excel 5.0", SourceKind::Excel},
      {"Excel 8.0", SourceKind::Excel},
  };
  for (const auto& t : kTypes) {
    if (type.compare(QLatin1String(t.name), Qt::CaseInsensitive) == 0) {
      loc.kind = t.kind;
      return loc;
    }
  }
  Refuse(QStringLiteral("tipo \"%1\" non gestito").arg(type));
}

QString EffectiveConnectionString(const QString& stored, bool system) {
  if (!system) return stored;
  QString s = stored;
  return s.replace(QStringLiteral("%PATH%"), ProgramFolder() + QStringLiteral("/database/"), Qt::CaseSensitive);
}

}  // namespace pv
