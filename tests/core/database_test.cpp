#include "core/database.h"
#include "core/seed.h"

#include "tests/app/apptest.h"
#include "platform/runtime.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

using apptest::ReadAll;
using apptest::WriteAll;

class DatabaseTest : public apptest::ShellTest {
 protected:
  QString Db() const { return Home(QStringLiteral("plavik.db")); }
  std::vector<pv::Recordset*> All() {
    return {&pv::rsRegistrations, &pv::rsFormat,       &pv::rsNumericFormat,
            &pv::rsSqlString,     &pv::rsClipCategory, &pv::rsTemplate};
  }
  // A database with every table but `dropped`.
  void MakeWithout(const QString& dropped) {
    pv::CreateProgramDatabase(Db());
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
      db.setDatabaseName(Db());
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      ASSERT_TRUE(q.exec(QStringLiteral("DROP TABLE ") + dropped));
      db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
  }
  void ExpectOneFailureAndUntouched(const QByteArray& before) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("DATA Access error : "))) << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].icon, pv::MsgIcon::None);
    EXPECT_EQ(boxes[0].buttons, pv::MsgButtons::Ok);
    EXPECT_EQ(boxes[0].title, pv::LoadResString(1000));
    EXPECT_EQ(ReadAll(Db()), before);
  }
};

// The checks a print format passes in its edit dialog.
QString FormatProblem(pv::Recordset& rs) {
  for (const char* text : {"Code", "Description", "Category", "printer"}) {
    if (pv::Trim(rs.Text(QString::fromLatin1(text))).isEmpty())
      return QStringLiteral("empty ") + QString::fromLatin1(text);
  }
  if (rs.Text(QStringLiteral("Code")).size() > 50 || rs.Text(QStringLiteral("Description")).size() > 50) {
    return QStringLiteral("text longer than 50");
  }
  auto n = [&](const char* f) { return rs.Value(QString::fromLatin1(f)).toDouble(); };
  for (const char* f : {"Width", "Height", "nOri", "nVer", "horizpitch", "vertipitch", "LeftMargin", "rightmargin",
                        "TopMargin", "bottommarg", "sheetwidth", "sheetdepth"}) {
    if (rs.Value(QString::fromLatin1(f)).isNull() || n(f) < 0 || n(f) > 100000)
      return QStringLiteral("out of range ") + QString::fromLatin1(f);
  }
  if (n("Width") == 0 || n("Height") == 0) return QStringLiteral("zero size");
  if (n("nOri") < 1 || n("nVer") < 1) return QStringLiteral("no labels");
  const double across = n("Width") * n("nOri") + (n("nOri") - 1) * n("horizpitch") + n("LeftMargin") + n("rightmargin");
  const double down = n("Height") * n("nVer") + (n("nVer") - 1) * n("vertipitch") + n("TopMargin") + n("bottommarg");
  if (pv::RoundHalfEven(across) > n("sheetwidth")) return QStringLiteral("too wide");
  if (pv::RoundHalfEven(down) > n("sheetdepth")) return QStringLiteral("too tall");
  return {};
}

TEST_F(DatabaseTest, AMissingFileIsCreatedWithItsRows) {
  ASSERT_FALSE(QFileInfo::exists(Db()));
  pv::OpenDatabase();
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(pv::cnDatabase.IsOpen());
  for (pv::Recordset* rs : All()) EXPECT_TRUE(rs->IsOpen());
  EXPECT_EQ(pv::rsRegistrations.RecordCount(), 1);  // the sample address list
  EXPECT_EQ(pv::rsTemplate.RecordCount(), 0);
  EXPECT_EQ(pv::rsSqlString.RecordCount(), 0);

  // The print formats: the product's own, unique codes, each one valid.
  ASSERT_GE(pv::rsFormat.RecordCount(), 10);
  QSet<QString> codes;
  for (bool ok = pv::rsFormat.MoveFirst(); ok; ok = pv::rsFormat.MoveNext()) {
    const QString code = pv::rsFormat.Text(QStringLiteral("Code"));
    EXPECT_EQ(FormatProblem(pv::rsFormat), QString()) << code.toStdString();
    EXPECT_EQ(pv::rsFormat.Value(QStringLiteral("Type")).toInt(), 1);
    EXPECT_EQ(pv::rsFormat.Value(QStringLiteral("LastUsed")).toInt(), 0);
    EXPECT_FALSE(codes.contains(code.toUpper()));
    codes.insert(code.toUpper());
  }
  // A size lookup as the wizard writes it.
  pv::rsFormat.SetFilter(QStringLiteral("WIDTH=63.5 AND HEIGHT=38.1"));
  EXPECT_EQ(pv::rsFormat.RecordCount(), 1);
  pv::rsFormat.SetFilter(QString());

  // Formatting codes for every kind, 1 to 5.
  for (int kind = 1; kind <= 5; ++kind) {
    pv::rsNumericFormat.SetFilter(QStringLiteral("CODE =") + pv::StrLong(kind));
    EXPECT_GE(pv::rsNumericFormat.RecordCount(), 3) << kind;
    pv::rsNumericFormat.MoveFirst();
    EXPECT_GT(pv::rsNumericFormat.Value(QStringLiteral("ID_FIELD")).toInt(), 0);
  }
  pv::rsNumericFormat.SetFilter(QString());

  // Clip-art categories numbered 1..n, the folders being clip1..clipn.
  int expected = 1;
  for (bool ok = pv::rsClipCategory.MoveFirst(); ok; ok = pv::rsClipCategory.MoveNext()) {
    EXPECT_EQ(pv::rsClipCategory.Value(QStringLiteral("CODE_CATEGORY")).toInt(), expected++);
    EXPECT_FALSE(pv::rsClipCategory.Text(QStringLiteral("LABEL_CATEGORY")).isEmpty());
  }
  EXPECT_GT(expected, 5);

  // The calibration list is there for its dialog, by column position.
  pv::Recordset cal;
  cal.Open(QStringLiteral("rst_calibrationlist"), pv::cnDatabase.ConnectionName);
  EXPECT_EQ(cal.FieldCount(), 3);
}

TEST_F(DatabaseTest, AnExistingFileIsKept) {
  pv::OpenDatabase();
  pv::rsSqlString.AddNew();
  pv::rsSqlString.SetValue(QStringLiteral("SQL_STRING"), QStringLiteral("[NOME] > 100"));
  pv::rsSqlString.Update();
  pv::CloseDatabase();
  pv::OpenDatabase();
  EXPECT_TRUE(boxes.empty());
  ASSERT_TRUE(pv::rsSqlString.MoveFirst());
  EXPECT_EQ(pv::rsSqlString.Text(QStringLiteral("SQL_STRING")), QStringLiteral("[NOME] > 100"));
}

TEST_F(DatabaseTest, AFileThatIsNotADatabaseIsReportedAndLeftAlone) {
  const QByteArray garbage = QByteArray("this is not a database file at all ").repeated(200);
  WriteAll(Db(), garbage);
  pv::OpenDatabase();
  ExpectOneFailureAndUntouched(garbage);
  for (pv::Recordset* rs : All()) EXPECT_FALSE(rs->IsOpen());
  EXPECT_FALSE(pv::rsFormat.MoveFirst());  // an unset recordset has no rows
}

TEST_F(DatabaseTest, AReadOnlyFileIsReportedAndLeftAlone) {
  pv::CreateProgramDatabase(Db());
  QFile::setPermissions(Db(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  const QByteArray before = ReadAll(Db());
  pv::OpenDatabase();
  ExpectOneFailureAndUntouched(before);
  for (pv::Recordset* rs : All()) EXPECT_FALSE(rs->IsOpen());
  EXPECT_EQ(QFileInfo(Db()).permissions() & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);
  QFile::setPermissions(Db(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(DatabaseTest, AMissingTableStopsTheRecordsetsFromThereOn) {
  MakeWithout(QStringLiteral("rst_sqlstring"));
  const QByteArray before = ReadAll(Db());
  pv::OpenDatabase();
  ExpectOneFailureAndUntouched(before);
  EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("rst_sqlstring")));
  EXPECT_TRUE(pv::rsRegistrations.IsOpen());
  EXPECT_TRUE(pv::rsFormat.IsOpen());
  EXPECT_TRUE(pv::rsNumericFormat.IsOpen());
  EXPECT_FALSE(pv::rsSqlString.IsOpen());
  EXPECT_FALSE(pv::rsClipCategory.IsOpen());
  EXPECT_FALSE(pv::rsTemplate.IsOpen());
}

TEST_F(DatabaseTest, TheErrorTextPutsTheNumberInItsStrForm) {
  EXPECT_EQ(pv::DataAccessErrorText(pv::DbError(3709, QStringLiteral("closed"))),
            QStringLiteral("DATA Access error :  3709 - closed"));
  EXPECT_EQ(pv::DataAccessErrorText(pv::DbError(-2147467259, QStringLiteral("x"))),
            QStringLiteral("DATA Access error : -2147467259 - x"));
}

TEST_F(DatabaseTest, RegistrationsAndFormatsAsTheViewsUseThem) {
  pv::OpenDatabase();
  // A second print format with a code already there is refused.
  pv::rsFormat.AddNew();
  pv::rsFormat.SetValue(QStringLiteral("Code"), QStringLiteral("lm4-a4-21"));
  pv::rsFormat.SetValue(QStringLiteral("Description"), QStringLiteral("copy"));
  EXPECT_THROW(pv::rsFormat.Update(), pv::DbError);
  const long formats = pv::rsFormat.RecordCount();
  pv::rsFormat.MoveFirst();
  EXPECT_TRUE(pv::rsFormat.Find(QStringLiteral("CODE = 'LM4-A4-21'")));
  EXPECT_EQ(pv::rsFormat.RecordCount(), formats);

  // A registration: its ID comes back, System reads False.
  for (const char* label : {"Zeta", "alfa"}) {
    pv::rsRegistrations.AddNew();
    pv::rsRegistrations.SetValue(QStringLiteral("Label"), QString::fromLatin1(label));
    pv::rsRegistrations.SetValue(QStringLiteral("ConnectionString"), QStringLiteral("DSN=x"));
    pv::rsRegistrations.SetValue(QStringLiteral("SourceType"), 0);
    pv::rsRegistrations.Update();
    EXPECT_GT(pv::rsRegistrations.Value(QStringLiteral("ID")).toInt(), 0);
    EXPECT_FALSE(pv::rsRegistrations.Flag(QStringLiteral("System")));
  }
  const int alfa = pv::rsRegistrations.Value(QStringLiteral("ID")).toInt();
  pv::rsRegistrations.MoveFirst();
  EXPECT_TRUE(pv::rsRegistrations.Find(QStringLiteral("ID = ") + QString::number(alfa)));
  EXPECT_EQ(pv::rsRegistrations.Text(QStringLiteral("LABEL")), QStringLiteral("alfa"));
  // At the next start they come in LABEL order, without regard to case.
  pv::CloseDatabase();
  pv::OpenDatabase();
  pv::rsRegistrations.MoveFirst();
  EXPECT_EQ(pv::rsRegistrations.Text(QStringLiteral("Label")), QStringLiteral("alfa"));
}

TEST(Seed, EveryTableOfTheSeedIsInTheSchema) {
  const QString schema = pv::ProgramDatabaseSchema().join(QLatin1Char(' '));
  for (const char* table : {"rst_registrations", "rst_format", "rst_numericformat", "rst_sqlstring", "rst_clipcategory",
                            "rst_template", "rst_calibrationlist"}) {
    EXPECT_TRUE(schema.contains(QStringLiteral("CREATE TABLE ") + QString::fromLatin1(table) + QStringLiteral(" (")))
        << table;
  }
  for (const pv::SeedTable& t : pv::ProgramDatabaseSeed()) {
    for (const QVariantList& row : t.rows) EXPECT_EQ(row.size(), t.columns.size()) << t.table.toStdString();
  }
}

}  // namespace

namespace {

// Two copies of the program start on a folder without a database: the second
// one places its database while the first is still building. Both end up on
// one complete database and neither reports a failure.
TEST_F(DatabaseTest, TwoCopiesCreatingTheDatabaseShareTheFirstOnePlaced) {
  QByteArray placedByOther;
  pv::EnsureProgramDatabase(Db(), [&] {
    pv::EnsureProgramDatabase(Db());  // the other copy, start to end
    placedByOther = ReadAll(Db());
  });
  ASSERT_FALSE(placedByOther.isEmpty());
  EXPECT_EQ(ReadAll(Db()), placedByOther);
  EXPECT_EQ(QDir(QFileInfo(Db()).absolutePath()).entryList({QStringLiteral("plavik.db.new-*")}, QDir::Files),
            QStringList());

  // The slower copy opens the database the faster one made.
  pv::OpenDatabase();
  EXPECT_TRUE(boxes.empty());
  for (pv::Recordset* rs : All()) EXPECT_TRUE(rs->IsOpen());
  EXPECT_TRUE(pv::rsFormat.MoveFirst());
}

TEST_F(DatabaseTest, CreatingOverAnExistingFileIsRefusedAndLeavesIt) {
  WriteAll(Db(), "keep me");
  EXPECT_THROW(pv::CreateProgramDatabase(Db()), pv::DbError);
  EXPECT_EQ(ReadAll(Db()), QByteArray("keep me"));
}

}  // namespace
