#include "fixture.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <optional>

namespace pv::test {

namespace {

struct City {
  const char* name;
  const char* cap;
  const char* province;
};

constexpr std::array<City, 10> kCities = {{{"Città di Castello", "06012", "PG"},
                                           {"Forlì", "47121", "FC"},
                                           {"Cantù", "22063", "CO"},
                                           {"Sant'Agata de' Goti", "82019", "BN"},
                                           {"L'Aquila", "67100", "AQ"},
                                           {"Mondovì", "12084", "CN"},
                                           {"Milano", "20121", "MI"},
                                           {"Roma", "00184", "RM"},
                                           {"Nardò", "73048", "LE"},
                                           {"Canicattì", "92024", "AG"}}};

constexpr std::array<const char*, 12> kNames = {"Niccolò",  "Élodie",      "Zoë",   "Ètienne",  "Nicolò", "Anna Maria",
                                                "Gianluca", "Piergiorgio", "Lucia", "Raffaele", "Agnès",  "Ilaria"};
constexpr std::array<const char*, 11> kSurnames = {"D'Angelo", "Dell'Orto", "Nicolosi",   "Ferrè",
                                                   "Rossi",    "Sciarrà",   "De' Medici", "Bianchi",
                                                   "Zanè",     "Lo Russo",  "Pellè"};
constexpr std::array<const char*, 6> kStreets = {"Via dell'Università",  "Piazza Garibaldi", "Corso Italia",
                                                 "Viale Città d'Europa", "Via Sant'Antonio", "Largo Perù"};

// A SQL string literal: quotes doubled (the loading session of MariaDB
// reads backslashes as they are, like PostgreSQL).
QString Literal(const std::optional<QString>& text) {
  if (!text) return QStringLiteral("NULL");
  QString t = *text;
  t.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

std::optional<QString> Note(int id) {
  switch (id) {
    case 2: return Text("Consegna al piano terra, citofono «Rossi»");
    case 3: return Text("Sconto di 10 € sul prossimo ordine (€ 1.234,56 in tutto)");
    case 4: return Text("L'ordine n° 12 è arrivato; \"urgente\" e 'fragile'");
    case 6: return Text("Prima riga\nSeconda riga\tcon tabulazione");
    case kLongNoteId: return LongNote();
    case 8: return Text("Chiave di violino 𝄞 e niente più");
    case 10: return QString(QLatin1String(""));
    case 12: return Text("Barra \\ rovescia e 100%_sconto");
    default:
      return id % 5 == 0 ? std::optional<QString>(Text("Cliente dal ") + QString::number(1990 + id % 30))
                         : std::nullopt;
  }
}

std::optional<QString> Amount(int id) {
  switch (id) {
    case 1: return QStringLiteral("1234.56");
    case 2: return QStringLiteral("-15.00");
    case 3: return QStringLiteral("0.05");
    case 4: return QStringLiteral("99999999.99");
    default:
      if (id % 11 == 0) return std::nullopt;
      return QString::number(id * 37.25 - 400.0, 'f', 2);
  }
}

std::optional<QString> Points(int id) {
  if (id % 7 == 0) return std::nullopt;
  if (id == 3) return QStringLiteral("-2147483648");
  if (id == 4) return QStringLiteral("2147483647");
  return QString::number((id * 131) % 997 - 100);
}

std::optional<QString> Birth(int id) {
  switch (id) {
    case 1: return QStringLiteral("1900-01-01");
    case 2: return QStringLiteral("2000-02-29");
    case 3: return QStringLiteral("1970-01-01");
    case 4: return QStringLiteral("2024-12-31");
    default:
      if (id % 13 == 0) return std::nullopt;
      return QDate(1940, 1, 1).addDays(id * 523).toString(Qt::ISODate);
  }
}

std::optional<QString> Registered(int id) {
  switch (id) {
    case 1: return QStringLiteral("2024-03-31 02:30:00");  // the hour that Italy's clocks skip
    case 2: return QStringLiteral("1999-12-31 23:59:59");
    case 3: return QStringLiteral("2023-10-29 02:30:00.125");
    default:
      if (id % 17 == 0) return std::nullopt;
      return QDateTime(QDate(2020, 1, 1), QTime(8, 0), Qt::UTC)
          .addSecs(static_cast<qint64>(id) * 86400 * 9 + id * 61)
          .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  }
}

QString AddressRows() {
  QStringList rows;
  for (int id = 1; id <= kAddressCount; ++id) {
    const City& city = kCities[static_cast<size_t>(id) % kCities.size()];
    std::optional<QString> cap = Text(city.cap);
    if (id == 5) cap = QString(QLatin1String(""));
    if (id == 9) cap = std::nullopt;
    const QString street = Text(kStreets[static_cast<size_t>(id) % kStreets.size()]) + QLatin1Char(' ') +
                           QString::number(id * 3 % 140 + 1) + (id % 4 == 0 ? QStringLiteral("/A") : QString());
    const QStringList values = {QString::number(id),
                                Literal(Text(kNames[static_cast<size_t>(id) % kNames.size()])),
                                Literal(Text(kSurnames[static_cast<size_t>(id * 7) % kSurnames.size()])),
                                Literal(street),
                                Literal(cap),
                                Literal(Text(city.name)),
                                Literal(Text(city.province)),
                                Amount(id).value_or(QStringLiteral("NULL")),
                                Points(id).value_or(QStringLiteral("NULL")),
                                Birth(id) ? Literal(Birth(id)) : QStringLiteral("NULL"),
                                Registered(id) ? Literal(Registered(id)) : QStringLiteral("NULL"),
                                Literal(Note(id))};
    rows << QLatin1Char('(') + values.join(QStringLiteral(", ")) + QLatin1Char(')');
  }
  return rows.join(QStringLiteral(",\n"));
}

}  // namespace

QStringList AddressColumns() {
  return {QStringLiteral("ID"),        QStringLiteral("NOME"),       QStringLiteral("COGNOME"),
          QStringLiteral("INDIRIZZO"), QStringLiteral("CAP"),        Text("CITTÀ"),
          QStringLiteral("PROVINCIA"), QStringLiteral("IMPORTO"),    QStringLiteral("PUNTI"),
          QStringLiteral("NASCITA"),   QStringLiteral("REGISTRATO"), QStringLiteral("NOTE")};
}

QString LongNote() {
  const QString sentence = Text("Il libro è sull'altra sponda del fiume: costa 12 € e si legge in un'ora. ");
  QString note;
  note.reserve(kLongNoteLength + sentence.size());
  while (note.size() < kLongNoteLength) note += sentence;
  note.truncate(kLongNoteLength);
  return note;
}

void LoadFixture(const DbServer& server) {
  const bool pg = server.Engine() == DbEngine::PostgreSql;
  // One SQL text for both: MariaDB's session reads "..." as a name and a
  // backslash as itself, as PostgreSQL does.
  const QString longText = pg ? QStringLiteral("text") : QStringLiteral("mediumtext");
  const QString stamp = pg ? QStringLiteral("timestamp(3)") : QStringLiteral("datetime(3)");
  QString sql =
      pg ? QString() : QStringLiteral("SET SESSION sql_mode = 'ANSI_QUOTES,NO_BACKSLASH_ESCAPES,STRICT_ALL_TABLES';\n");
  sql += QStringLiteral(
             "CREATE TABLE indirizzi (\"ID\" integer PRIMARY KEY, \"NOME\" varchar(40), \"COGNOME\" varchar(40), "
             "\"INDIRIZZO\" varchar(80), \"CAP\" varchar(5), \"%1\" varchar(40), \"PROVINCIA\" varchar(2), "
             "\"IMPORTO\" numeric(10,2), \"PUNTI\" integer, \"NASCITA\" date, \"REGISTRATO\" %2, \"NOTE\" %3);\n"
             "INSERT INTO indirizzi VALUES\n%4;\n")
             .arg(Text("CITTÀ"), stamp, longText, AddressRows());
  sql += QStringLiteral(
      "CREATE TABLE codici (\"ID\" integer PRIMARY KEY, \"DESCRIZIONE\" varchar(40), \"SSCC\" numeric(18,0), "
      "\"SALDO\" numeric(12,3), \"GRANDE\" bigint, \"ATTIVO\" boolean);\n");
  sql += Text(
      "INSERT INTO codici VALUES\n"
      "(1, 'Pallet Forlì', 376123450000000017, -1234.567, 9223372036854775807, TRUE),\n"
      "(2, 'Cartone Cantù', 999999999999999999, 0.001, -9223372036854775808, FALSE),\n"
      "(3, 'Busta', 100000000000000001, 999999999.999, 9007199254740993, TRUE),\n"
      "(4, 'Scatola', 1, -0.125, 0, FALSE),\n"
      "(5, 'Campione', -376123450000000017, -999999999.999, -9007199254740993, NULL),\n"
      "(6, 'Senza codice', NULL, NULL, NULL, NULL);\n"
      "CREATE TABLE \"Città e province\" (\"CITTÀ\" varchar(40), \"PROVINCIA\" varchar(2));\n"
      "INSERT INTO \"Città e province\" VALUES ('Forlì', 'FC'), ('Sant''Agata de'' Goti', 'BN');\n");
  server.Execute(sql);
  const QString other = QString::fromLatin1(kOtherDatabase);
  server.Execute(QStringLiteral("CREATE DATABASE %1").arg(other), pg ? QStringLiteral("postgres") : QString());
  server.Execute(QStringLiteral("CREATE TABLE scaffali (ID integer);\nINSERT INTO scaffali VALUES (1), (2), (3);\n"),
                 other);
}

}  // namespace pv::test
