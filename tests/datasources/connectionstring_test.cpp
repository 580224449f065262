#include "datasources/connectionstring.h"
#include "document/predefinedfields.h"
#include "datasources/querytext.h"

#include "platform/programfolder.h"

#include <gtest/gtest.h>

namespace pv {
namespace {

const QString kJet = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");
const QString kTail = QStringLiteral(";Mode=ReadWrite;Persist Security Info=False;");

TEST(ConnectionString, BuiltForEveryTypeByteForByte) {
  const struct {
    int type;
    const char* source;
    bool password;
    const char* user;
    const char* pass;
    QString expected;
  } cases[] = {
      {0, "/dati/clienti.mdb", false, "", "", kJet + "/dati/clienti.mdb" + kTail},
      {1, "/dati", false, "", "", kJet + "/dati" + kTail + "Extended Properties=dBASE III;"},
      {2, "/dati", false, "", "", kJet + "/dati" + kTail + "Extended Properties=dBASE IV;"},
      {3, "/dati", false, "", "", kJet + "/dati" + kTail + "Extended Properties=dBASE 5.0;"},
      {4, "/px", false, "", "", kJet + "/px" + kTail + "Extended Properties=Paradox 3.x;"},
      {6, "/px", false, "", "", kJet + "/px" + kTail + "Extended Properties=Paradox 5.x;"},
      {7, "/a.xls", false, "", "", kJet + "/a.xls" + kTail + "Extended Properties=Excel 3.0;"},
      {9, "/a.xls", false, "", "", kJet + "/a.xls" + kTail + "Extended Properties=Excel 5.0;"},
      {10, "/a.xls", false, "", "", kJet + "/a.xls" + kTail + "Extended Properties=Excel 8.0;"},
      {11, "/a.xls", false, "", "", kJet + "/a.xls" + kTail + "Extended Properties=Excel 8.0;"},
      {0, "/c.mdb", true, "admin", "segreta", kJet + "/c.mdb" + kTail + "User ID= admin;Password=segreta;"},
      {1, "/d", true, "", "", kJet + "/d" + kTail + "Extended Properties=dBASE III;User ID= ;Password=;"},
      {12, "magazzino", true, "admin", "segreta", QStringLiteral("DSN=magazzino")},
      // Values that would end the pair or plant a property are quoted.
      {0, "/dati/a;b.mdb", false, "", "", kJet + "\"/dati/a;b.mdb\"" + kTail},
      {0, "/c.mdb", true, "ad=min", "p;Mode=Share Deny None",
       kJet + "/c.mdb" + kTail + "User ID= \"ad=min\";Password=\"p;Mode=Share Deny None\";"},
      {0, "/c.mdb", true, "a\"b", "\"q\";", kJet + "/c.mdb" + kTail + "User ID= a\"b;Password=\"\"\"q\"\";\";"},
      {12, "dsn;UID=x", false, "", "", QStringLiteral("DSN={dsn;UID=x}")},
      {12, "a}b=c", false, "", "", QStringLiteral("DSN={a}}b=c}")},
  };
  for (const auto& c : cases) {
    const QString built = BuildConnectionString(c.type, QString::fromUtf8(c.source), c.password,
                                                QString::fromUtf8(c.user), QString::fromUtf8(c.pass));
    EXPECT_EQ(built, c.expected) << c.type << " " << c.source;
    // Whatever was written reads back as it was given.
    const SourceLocation loc = ParseConnectionString(built);
    EXPECT_EQ(loc.path, QString::fromUtf8(c.source)) << built.toStdString();
    if (c.password && c.type != kSourceOdbc) {
      EXPECT_EQ(loc.user, QString::fromUtf8(c.user)) << built.toStdString();
      EXPECT_EQ(loc.password, QString::fromUtf8(c.pass)) << built.toStdString();
    }
  }
}

TEST(ConnectionString, ReadIntoTheSourceItOpens) {
  const struct {
    const char* text;
    SourceKind kind;
    const char* path;
    const char* user;
    const char* password;
  } cases[] = {
      {"DSN=Magazzino;UID=u;PWD=p", SourceKind::Odbc, "Magazzino", "u", "p"},
      {"dsn = Magazzino ", SourceKind::Odbc, "Magazzino", "", ""},
      {"PROVIDER=Microsoft.Jet.OLEDB.4.0; data source = /d/x.mdb ;user id=  io ;password=tu", SourceKind::Access,
       "/d/x.mdb", "io", "tu"},
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/d;Extended Properties=dBASE IV;", SourceKind::DBase, "/d", "",
       ""},
      {"Data Source=/d;Extended Properties=dbase 5.0", SourceKind::DBase, "/d", "", ""},
      {"Data Source=/p;Extended Properties=Paradox 4.x;", SourceKind::Paradox, "/p", "", ""},
      {"Data Source=/a.xls;Extended Properties=Excel 5.0", SourceKind::Excel, "/a.xls", "", ""},
      {"Data Source=/a.xls;Extended Properties=\"Excel 8.0;HDR=Yes\";", SourceKind::Excel, "/a.xls", "", ""},
      {"Data Source='/l''archivio.mdb';", SourceKind::Access, "/l'archivio.mdb", "", ""},
  };
  for (const auto& c : cases) {
    const SourceLocation loc = ParseConnectionString(QString::fromUtf8(c.text));
    EXPECT_EQ(loc.kind, c.kind) << c.text;
    EXPECT_EQ(loc.path, QString::fromUtf8(c.path)) << c.text;
    EXPECT_EQ(loc.user, QString::fromUtf8(c.user)) << c.text;
    EXPECT_EQ(loc.password, QString::fromUtf8(c.password)) << c.text;
  }
  for (const char* bad : {"Data Source=/x;Extended Properties=Lotus 1-2-3;", "Data Source=/x;Extended Properties=Text;",
                          "Data Source=/x;Extended Properties=Excel 12.0 Xml;", "Provider=Microsoft.Jet.OLEDB.4.0;",
                          "garbage", "Data Source=\"/x", "DSN=", "Data Source=\"/x\" y;"}) {
    EXPECT_THROW(ParseConnectionString(QString::fromUtf8(bad)), DbError) << bad;
  }
}

TEST(ConnectionString, PathRuleOnlyForBuiltInRegistrations) {
  const QString folder = ProgramFolder() + QStringLiteral("/database/");
  const struct {
    const char* stored;
    bool system;
    QString expected;
  } cases[] = {
      {"Data Source=%PATH%;Extended Properties=dBASE III;", true,
       "Data Source=" + folder + ";Extended Properties=dBASE III;"},
      {"Data Source=%PATH%a.mdb;X=%PATH%", true, "Data Source=" + folder + "a.mdb;X=" + folder},
      {"Data Source=%path%a.mdb", true, QStringLiteral("Data Source=%path%a.mdb")},
      {"Data Source=%PATH%a.mdb", false, QStringLiteral("Data Source=%PATH%a.mdb")},
      {"", true, QString()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EffectiveConnectionString(QString::fromUtf8(c.stored), c.system), c.expected) << c.stored;
}

TEST(PredefinedFields, CaptionsAndCodesOfTrimmedKeys) {
  const struct {
    const char* key;
    const char* caption;
    int code;
    const char* trimmed;
  } cases[] = {
      {"KINTERNAL238547-01", "Contatore", 1, "KINTERNAL238547-01"},
      {" KINTERNAL238547-02 ", "Data corrente", 2, "KINTERNAL238547-02"},
      {"KINTERNAL238547-03", "Numero random", 3, "KINTERNAL238547-03"},
      {"kinternal238547-01", "kinternal238547-01", 0, "kinternal238547-01"},
      {"KINTERNAL238547-04", "KINTERNAL238547-04", 0, "KINTERNAL238547-04"},
      {"Contatore", "Contatore", 0, "Contatore"},
      {"\tKINTERNAL238547-01", "\tKINTERNAL238547-01", 0, "\tKINTERNAL238547-01"},
      {"", "", 0, ""},
  };
  for (const auto& c : cases) {
    QString key = QString::fromUtf8(c.key);
    EXPECT_EQ(GetPredefinedFieldCaption(key), QString::fromUtf8(c.caption)) << c.key;
    EXPECT_EQ(key, QString::fromUtf8(c.trimmed)) << c.key;
    key = QString::fromUtf8(c.key);
    EXPECT_EQ(GetPredefinedFieldCode(key), c.code) << c.key;
    EXPECT_EQ(key, QString::fromUtf8(c.trimmed)) << c.key;
  }
  EXPECT_EQ(PredefinedFieldKey(2), QStringLiteral("KINTERNAL238547-02"));
  EXPECT_EQ(PredefinedFieldKey(4), QString());
  EXPECT_EQ(PredefinedFieldGroupCaption(), QStringLiteral("Campi predefiniti"));
}

TEST(QueryText, RewrittenForSqlite) {
  const struct {
    const char* jet;
    const char* sqlite;
  } cases[] = {
      {"SELECT [Nome Cliente] FROM [Clienti 2001]", "SELECT \"Nome Cliente\" FROM \"Clienti 2001\""},
      {"SELECT TOP 10 * FROM T ORDER BY A;", "SELECT * FROM T ORDER BY A LIMIT 10"},
      {"select distinct top 3 A from T", "select distinct A from T LIMIT 3"},
      {"SELECT * FROM T WHERE D > #12/31/2001# AND E = #2001-02-03 10:30:00#",
       "SELECT * FROM T WHERE D > '2001-12-31' AND E = '2001-02-03T10:30:00'"},
      {"SELECT * FROM T WHERE F = True OR G = false", "SELECT * FROM T WHERE F = -1 OR G = 0"},
      {"SELECT * FROM T WHERE N = \"l'uno\" OR M = 'True [x] #1#'",
       "SELECT * FROM T WHERE N = 'l''uno' OR M = 'True [x] #1#'"},
      {"SELECT TrueName, Top FROM T", "SELECT TrueName, Top FROM T"},
      {"SELECT [a\"b] FROM T", "SELECT \"a\"\"b\" FROM T"},
      {"SELECT A /* l'uno [x] #1# */ FROM T -- l'altro \"\nWHERE B = True",
       "SELECT A /* l'uno [x] #1# */ FROM T -- l'altro \"\nWHERE B = -1"},
      {"SELECT TOP 2 A FROM T; -- l'ultima", "SELECT A FROM T LIMIT 2"},
      {"SELECT TOP 2 A FROM T -- fine\n ; /* davvero */ ", "SELECT A FROM T LIMIT 2"},
  };
  for (const auto& c : cases) EXPECT_EQ(TranslateQuery(QString::fromUtf8(c.jet)), QString::fromUtf8(c.sqlite)) << c.jet;
  for (const char* bad : {"SELECT [a FROM T", "SELECT * FROM T WHERE D = #1/1/2001", "SELECT 'x FROM T",
                          "SELECT * FROM T WHERE D = #31/31/2001#", "SELECT TOP FROM T"}) {
    EXPECT_THROW(TranslateQuery(QString::fromUtf8(bad)), DbError) << bad;
  }
}

}  // namespace
}  // namespace pv
