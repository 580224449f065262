#include "core/seed.h"

namespace pv {

QStringList ProgramDatabaseSchema() {
  return {
      QStringLiteral("CREATE TABLE rst_registrations ("
                     " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                     " Label TEXT COLLATE NOCASE,"
                     " System INTEGER NOT NULL DEFAULT 0,"
                     " ConnectionString TEXT COLLATE NOCASE,"
                     " RecordSetName TEXT COLLATE NOCASE,"
                     " SourceName TEXT COLLATE NOCASE,"
                     " SourceType INTEGER DEFAULT 0,"
                     " Sourceformat INTEGER DEFAULT 0)"),
      QStringLiteral("CREATE TABLE rst_format ("
                     " Category TEXT COLLATE NOCASE,"
                     " printer TEXT COLLATE NOCASE,"
                     " Label TEXT COLLATE NOCASE,"
                     " Code TEXT NOT NULL COLLATE NOCASE PRIMARY KEY,"
                     " Description TEXT COLLATE NOCASE,"
                     " Width REAL, Height REAL, nOri REAL, nVer REAL,"
                     " TopMargin REAL, bottommarg REAL, LeftMargin REAL, rightmargin REAL,"
                     " vertipitch REAL, horizpitch REAL, sheetwidth REAL, sheetdepth REAL,"
                     " Type INTEGER DEFAULT 0,"
                     " LastUsed INTEGER NOT NULL DEFAULT 0)"),
      QStringLiteral("CREATE TABLE rst_numericformat ("
                     " CODE INTEGER,"
                     " Format TEXT,"
                     " id_field INTEGER PRIMARY KEY AUTOINCREMENT)"),
      QStringLiteral("CREATE TABLE rst_sqlstring ("
                     " ID INTEGER PRIMARY KEY AUTOINCREMENT,"
                     " SQL_STRING TEXT COLLATE NOCASE)"),
      QStringLiteral("CREATE TABLE rst_clipcategory ("
                     " LABEL_CATEGORY TEXT COLLATE NOCASE,"
                     " CODE_CATEGORY INTEGER PRIMARY KEY)"),
      QStringLiteral("CREATE TABLE rst_template ("
                     " Width REAL, Height REAL,"
                     " Description TEXT COLLATE NOCASE,"
                     " ID_TEMPLATE INTEGER PRIMARY KEY)"),
      QStringLiteral("CREATE TABLE rst_calibrationlist ("
                     " Stampante TEXT COLLATE NOCASE,"
                     " SpostamentoX INTEGER DEFAULT 0,"
                     " SpostamentoY INTEGER DEFAULT 0)"),
  };
}

namespace {

struct Sheet {
  const char* code;
  const char* description;
  const char* category;
  double width, height, across, down;
  double top, bottom, left, right;
  double vpitch, hpitch;
};

// A4 sheets (210 x 297 mm). Every row adds up to the sheet across and down.
const Sheet kSheets[] = {
    {"LM4-A4-01", "1 etichetta 210 x 297 mm (foglio intero)", "A4", 210, 297, 1, 1, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-02", "2 etichette 199,6 x 143,5 mm", "A4", 199.6, 143.5, 1, 2, 5, 5, 5.2, 5.2, 0, 0},
    {"LM4-A4-04", "4 etichette 105 x 148,5 mm (A6)", "A4", 105, 148.5, 2, 2, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-08", "8 etichette 99,1 x 67,7 mm", "A4", 99.1, 67.7, 2, 4, 13.1, 13.1, 4.65, 4.65, 0, 2.5},
    {"LM4-A4-10", "10 etichette 105 x 57 mm", "A4", 105, 57, 2, 5, 6, 6, 0, 0, 0, 0},
    {"LM4-A4-14", "14 etichette 99,1 x 38,1 mm", "A4", 99.1, 38.1, 2, 7, 15.15, 15.15, 4.65, 4.65, 0, 2.5},
    {"LM4-A4-16", "16 etichette 99,1 x 33,9 mm", "A4", 99.1, 33.9, 2, 8, 12.9, 12.9, 4.65, 4.65, 0, 2.5},
    {"LM4-A4-21", "21 etichette 63,5 x 38,1 mm", "A4", 63.5, 38.1, 3, 7, 15.15, 15.15, 7.25, 7.25, 0, 2.5},
    {"LM4-A4-21B", "21 etichette 70 x 42,3 mm", "A4", 70, 42.3, 3, 7, 0.45, 0.45, 0, 0, 0, 0},
    {"LM4-A4-24", "24 etichette 63,5 x 33,9 mm", "A4", 63.5, 33.9, 3, 8, 12.9, 12.9, 7.25, 7.25, 0, 2.5},
    {"LM4-A4-24B", "24 etichette 70 x 37 mm", "A4", 70, 37, 3, 8, 0.5, 0.5, 0, 0, 0, 0},
    {"LM4-A4-33", "33 etichette 70 x 25,4 mm", "A4", 70, 25.4, 3, 11, 8.8, 8.8, 0, 0, 0, 0},
    {"LM4-A4-40", "40 etichette 52,5 x 29,7 mm", "A4", 52.5, 29.7, 4, 10, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-65", "65 etichette 38,1 x 21,2 mm", "A4", 38.1, 21.2, 5, 13, 10.7, 10.7, 4.75, 4.75, 0, 2.5},
    {"LM4-A4-R24", "24 etichette rotonde diametro 40 mm", "A4 rotonde", 40, 40, 4, 6, 11, 11, 14.5, 14.5, 7, 7},
    {"LM4-A4-03", "3 etichette 210 x 99 mm", "A4", 210, 99, 1, 3, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-04C", "4 etichette 200 x 70 mm", "A4", 200, 70, 1, 4, 8.5, 8.5, 5, 5, 0, 0},
    {"LM4-A4-06", "6 etichette 105 x 99 mm", "A4", 105, 99, 2, 3, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-08B", "8 etichette 105 x 74 mm", "A4", 105, 74, 2, 4, 0.5, 0.5, 0, 0, 0, 0},
    {"LM4-A4-08C", "8 etichette 105 x 57 mm", "A4", 105, 57, 2, 4, 34.5, 34.5, 0, 0, 0, 0},
    {"LM4-A4-12", "12 etichette 105 x 48 mm", "A4", 105, 48, 2, 6, 4.5, 4.5, 0, 0, 0, 0},
    {"LM4-A4-12B", "12 etichette 70 x 74 mm", "A4", 70, 74, 3, 4, 0.5, 0.5, 0, 0, 0, 0},
    {"LM4-A4-15", "15 etichette 70 x 57 mm", "A4", 70, 57, 3, 5, 6, 6, 0, 0, 0, 0},
    {"LM4-A4-16B", "16 etichette 105 x 37 mm", "A4", 105, 37, 2, 8, 0.5, 0.5, 0, 0, 0, 0},
    {"LM4-A4-18", "18 etichette 70 x 48 mm", "A4", 70, 48, 3, 6, 4.5, 4.5, 0, 0, 0, 0},
    {"LM4-A4-21C", "21 etichette 70 x 37 mm", "A4", 70, 37, 3, 7, 19, 19, 0, 0, 0, 0},
    {"LM4-A4-27", "27 etichette 70 x 32 mm", "A4", 70, 32, 3, 9, 4.5, 4.5, 0, 0, 0, 0},
    {"LM4-A4-30", "30 etichette 70 x 29,7 mm", "A4", 70, 29.7, 3, 10, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-44", "44 etichette 52,5 x 27 mm", "A4", 52.5, 27, 4, 11, 0, 0, 0, 0, 0, 0},
    {"LM4-A4-48", "48 etichette 48,5 x 23,5 mm", "A4", 48.5, 23.5, 4, 12, 7.5, 7.5, 8, 8, 0, 0},
    {"LM4-A4-64", "64 etichette 48,5 x 16,9 mm", "A4", 48.5, 16.9, 4, 16, 13.3, 13.3, 8, 8, 0, 0},
    {"LM4-A4-R12", "12 etichette rotonde diametro 60 mm", "A4 rotonde", 60, 60, 3, 4, 21, 21, 10, 10, 5, 5},
    {"LM4-A4-R15", "15 etichette rotonde diametro 50 mm", "A4 rotonde", 50, 50, 3, 5, 13.5, 13.5, 20, 20, 5, 10},
    {"LM4-A4-R48", "48 etichette rotonde diametro 30 mm", "A4 rotonde", 30, 30, 6, 8, 21.5, 21.5, 10, 10, 2, 2},
};

}  // namespace

DeliveredLabel FirstDeliveredFormat() {
  const Sheet& s = kSheets[0];
  return {QString::fromUtf8(s.code), s.width, s.height};
}

QList<SeedTable> ProgramDatabaseSeed() {
  QList<SeedTable> out;

  SeedTable formats;
  formats.table = QStringLiteral("rst_format");
  formats.columns =
      QStringList{QStringLiteral("Category"),    QStringLiteral("printer"),     QStringLiteral("Label"),
                  QStringLiteral("Code"),        QStringLiteral("Description"), QStringLiteral("Width"),
                  QStringLiteral("Height"),      QStringLiteral("nOri"),        QStringLiteral("nVer"),
                  QStringLiteral("TopMargin"),   QStringLiteral("bottommarg"),  QStringLiteral("LeftMargin"),
                  QStringLiteral("rightmargin"), QStringLiteral("vertipitch"),  QStringLiteral("horizpitch"),
                  QStringLiteral("sheetwidth"),  QStringLiteral("sheetdepth"),  QStringLiteral("Type"),
                  QStringLiteral("LastUsed")};
  for (const Sheet& s : kSheets) {
    formats.rows << QVariantList{QString::fromUtf8(s.category),
                                 QStringLiteral("Laser e getto d'inchiostro"),
                                 QStringLiteral("0"),
                                 QString::fromUtf8(s.code),
                                 QString::fromUtf8(s.description),
                                 s.width,
                                 s.height,
                                 s.across,
                                 s.down,
                                 s.top,
                                 s.bottom,
                                 s.left,
                                 s.right,
                                 s.vpitch,
                                 s.hpitch,
                                 210.0,
                                 297.0,
                                 1,
                                 0};
  }
  out << formats;

  // Field formatting codes by kind: 1 numbers, 2 dates, 3 times, 4 currency,
  // 5 counters (#start+step# or a pattern for the label number).
  SeedTable codes;
  codes.table = QStringLiteral("rst_numericformat");
  codes.columns = QStringList{QStringLiteral("CODE"), QStringLiteral("Format")};
  const std::pair<int, const char*> kCodes[] = {
      {1, "0"},
      {1, "0.0"},
      {1, "0.00"},
      {1, "0.000"},
      {1, "#,##0"},
      {1, "#,##0.00"},
      {1, "000000"},
      {1, "0%"},
      {1, "0.00%"},
      {1, "0.00E+00"},
      {2, "dd/mm/yyyy"},
      {2, "dd/mm/yy"},
      {2, "d/m/yyyy"},
      {2, "dd-mm-yyyy"},
      {2, "yyyy-mm-dd"},
      {2, "d mmmm yyyy"},
      {2, "dddd d mmmm yyyy"},
      {2, "mmmm yyyy"},
      {2, "mm/yyyy"},
      {2, "yyyy"},
      {3, "hh:nn"},
      {3, "hh:nn:ss"},
      {3, "h:nn AM/PM"},
      {3, "dd/mm/yyyy hh:nn"},
      {4, "\xE2\x82\xAC #,##0.00"},
      {4, "#,##0.00 \xE2\x82\xAC"},
      {4, "\xE2\x82\xAC #,##0"},
      {4, "#,##0.00"},
      {5, "#1+1#"},
      {5, "#0+1#"},
      {5, "#100+1#"},
      {5, "#1+10#"},
      {5, "000"},
      {5, "0000"},
      {5, "000000"},
      {4, "Currency"},
      {2, "Short Date"},
      {2, "Long Date"},
      {3, "Short Time"},
      {3, "Long Time"},
  };
  for (const auto& [kind, format] : kCodes) codes.rows << QVariantList{kind, QString::fromUtf8(format)};
  out << codes;

  // The built-in registration of the sample address list (database/indirizzi.dbf,
  // made at build time): dBASE III in the program's database folder.
  SeedTable registrations;
  registrations.table = QStringLiteral("rst_registrations");
  registrations.columns =
      QStringList{QStringLiteral("Label"),         QStringLiteral("System"),     QStringLiteral("ConnectionString"),
                  QStringLiteral("RecordSetName"), QStringLiteral("SourceName"), QStringLiteral("SourceType"),
                  QStringLiteral("Sourceformat")};
  registrations.rows << QVariantList{
      QStringLiteral("Indirizzi (esempio)"),
      -1,
      QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%PATH%;Mode=ReadWrite;"
                     "Persist Security Info=False;Extended Properties=dBASE III;"),
      QStringLiteral("indirizzi"),
      QStringLiteral("%PATH%"),
      1,
      1};
  out << registrations;

  SeedTable clip;
  clip.table = QStringLiteral("rst_clipcategory");
  clip.columns = QStringList{QStringLiteral("LABEL_CATEGORY"), QStringLiteral("CODE_CATEGORY")};
  const char* const kCategories[] = {"Animali", "Casa",    "Cibo e bevande", "Feste e ricorrenze", "Frecce e simboli",
                                     "Natura",  "Persone", "Sport",          "Trasporti",          "Ufficio e scuola"};
  int code = 1;
  for (const char* c : kCategories) clip.rows << QVariantList{QString::fromUtf8(c), code++};
  out << clip;

  return out;
}

}  // namespace pv
