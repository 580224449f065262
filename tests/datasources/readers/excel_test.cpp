#include "datasources/readers/sourcereader.h"
#include "sampletable.h"
#include "testfiles.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pv {
namespace {

using testing::DamagedFile;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::SampleTable;

// Written by fixtures/make_workbook.py.
QString Workbook() { return QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/workbook.xls"); }

std::unique_ptr<SourceReader> Open(const QString& path) { return OpenSourceReader({SourceKind::Excel, path, {}, {}}); }

TEST(ExcelReader, ReadsTheSampleSheetTyped) {
  // A workbook's logical cells read as the numbers 1 and 0: freexl does not
  // tell them from numbers.
  SourceTable expected = SampleTable();
  expected.columns[4].type = ColumnType::Integer;
  expected.rows[0][4] = qint64{1};
  expected.rows[1][4] = qint64{0};
  ExpectSameTable(Open(Workbook())->ReadTable(QStringLiteral("Anagrafe$")), expected);
}

TEST(ExcelReader, ColumnsMixingKindsOfValuesReadAsText) {
  SourceTable expected;
  expected.columns = {{QStringLiteral("CODICE"), ColumnType::Text},
                      {QStringLiteral("VALORE"), ColumnType::Double},
                      {QStringLiteral("QUANDO"), ColumnType::DateTime},
                      {QStringLiteral("F4"), ColumnType::Text},
                      {QStringLiteral("TESTO"), ColumnType::Text}};
  expected.rows = {
      {QVariant(QStringLiteral("101")), QVariant(1.0),
       QVariant(QDateTime(QDate(2023, 6, 30), QTime(18, 45, 30), Qt::UTC)), QVariant(QStringLiteral("x")),
       QVariant(QStringLiteral("uno"))},
      {QVariant(QStringLiteral("A-7")), QVariant(2.5), QVariant(QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC)),
       QVariant(), QVariant()},
      {QVariant(QStringLiteral("5.5")), QVariant(), QVariant(), QVariant(), QVariant(QStringLiteral("tre"))},
  };
  auto reader = Open(Workbook());
  ExpectSameTable(reader->ReadTable(QStringLiteral("Misto$")), expected);
  const std::vector<SourceColumn> columns = reader->Columns(QStringLiteral("misto$"));
  ASSERT_EQ(columns.size(), 5u);
  EXPECT_EQ(columns[1].type, ColumnType::Double);
}

TEST(ExcelReader, SheetsAreTablesNamedWithADollar) {
  auto reader = Open(Workbook());
  EXPECT_EQ(reader->Tables(), (QStringList{QStringLiteral("Anagrafe$"), QStringLiteral("Misto$"),
                                           QString::fromUtf8("Città e province$")}));
  const SourceTable cities = reader->ReadTable(QString::fromUtf8("CITTÀ E PROVINCE$"));
  ASSERT_EQ(cities.rows.size(), 1u);
  EXPECT_EQ(cities.rows[0][0], QVariant(QStringLiteral("06012")));  // text keeps its leading zero
  EXPECT_EQ(cities.columns[1].name, QString::fromUtf8("CITTÀ"));
  EXPECT_EQ(reader->TableFile(QStringLiteral("anagrafe$")), Workbook());
  for (const char* name : {"Anagrafe", "Fatture$", "$"})
    EXPECT_THROW(reader->ReadTable(QString::fromLatin1(name)), DbError) << name;
}

TEST(ExcelReader, DamagedOrForeignFilesFailToOpen) {
  const QByteArray good = testing::ReadBytes(Workbook());
  ASSERT_GT(good.size(), 2048);
  QByteArray scrambled = good;
  for (int i = 512; i < scrambled.size(); i += 7) scrambled[i] = static_cast<char>(scrambled[i] ^ 0x5a);
  const std::vector<DamagedFile> cases = {
      {"truncated", good.left(good.size() / 2)},
      {"header only", good.left(512)},
      {"empty", QByteArray()},
      {"text", QByteArray("NOME\tCOGNOME\nMario\tRossi\n").repeated(100)},
      {"scrambled", scrambled},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("rotto.xls"));
  ExpectDamagedFilesFail(cases, path, [&] { Open(path)->ReadTable(QStringLiteral("Anagrafe$")); });

  EXPECT_THROW(Open(dir.filePath(QStringLiteral("manca.xls"))), DbError);
}

}  // namespace
}  // namespace pv
