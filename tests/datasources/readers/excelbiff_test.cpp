// Workbooks of every Excel version the reader reads, written record by
// record (biffwriter.h) and read through the reader program: formula
// results, errors, logicals, dates in every built-in format, sheet names
// outside Latin-1, and the files it refuses, saying why.
#include "biffwriter.h"
#include "datasources/readers/sourcereader.h"
#include "sampletable.h"
#include "testfiles.h"

#include <QDate>
#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace pv {
namespace {

using testing::BiffStream;
using testing::DamagedFile;
using testing::ExpectDamagedFilesFail;
using testing::ExpectSameTable;
using testing::SheetRecords;

constexpr quint8 kNa = 0x2A;     // #N/A
constexpr quint8 kDiv0 = 0x07;   // #DIV/0!
constexpr quint8 kValue = 0x0F;  // #VALUE!
constexpr int kDateFormat = 1;   // the cell format (BIFF 2: number format) the fixtures show dates with

std::unique_ptr<SourceReader> Open(const QString& path) { return OpenSourceReader({SourceKind::Excel, path, {}, {}}); }

QDateTime At(int y, int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min), Qt::UTC); }

// A BIFF 5 or 8 workbook of the given sheets in its compound file; `globals`
// holds its records before the sheets' names.
QByteArray WorkbookFile(BiffStream globals, const std::vector<SheetRecords>& sheets) {
  for (const SheetRecords& sheet : sheets) globals.BoundSheet(sheet.name);
  const int biff = globals.Biff();
  return testing::CompoundFile(testing::WorkbookStream(std::move(globals), sheets),
                               biff == 8 ? QStringLiteral("Workbook") : QStringLiteral("Book"));
}

// The start of a file of `biff`: dates shown by cell format 1 (BIFF 2: by
// number format 1). BIFF 2 to 4 number their formats in order and write
// them all; BIFF 5 and 8 use the built-in date format 14.
BiffStream Globals(int biff) {
  BiffStream globals(biff);
  globals.Bof(biff >= 5 ? 0x0005 : 0x0010);
  if (biff < 5) globals.Format(0, QStringLiteral("General")).Format(1, QStringLiteral("dd/mm/yyyy"));
  if (biff >= 3) globals.Xf(0).Xf(biff < 5 ? 1 : 14);
  return globals;
}

// Cells of every kind; a header of labels and formulas.
void WriteKindsOfCells(BiffStream& cells) {
  cells.Label(0, 0, QStringLiteral("INTERO"))
      .FormulaText(0, 1, QStringLiteral("DECIMALE"))
      .Label(0, 2, QStringLiteral("TESTO"))
      .Label(0, 3, QStringLiteral("LOGICO"))
      .Label(0, 4, QStringLiteral("DATA"));
  cells.Whole(1, 0, 42)
      .Number(1, 1, 12.5)
      .Label(1, 2, QString::fromUtf8("Niccolò"))
      .Logical(1, 3, true)
      .Number(1, 4, 44927, kDateFormat)
      .FormulaEmptyText(1, 5);
  cells.Error(2, 0, kNa)
      .FormulaNumber(2, 1, 0.1 + 0.2)
      .FormulaText(2, 2, QString::fromUtf8("Città"))
      .FormulaLogical(2, 3, false)
      .FormulaNumber(2, 4, 45292.75, kDateFormat);
  cells.FormulaError(3, 0, kDiv0)
      .FormulaNumber(3, 1, -1.5e300)
      .Error(3, 3, kValue)
      .Blank(3, 4)
      .Label(3, 5, QStringLiteral("fine"));
}

SourceTable KindsOfCells() {
  SourceTable table;
  table.columns = {{QStringLiteral("INTERO"), ColumnType::Integer}, {QStringLiteral("DECIMALE"), ColumnType::Double},
                   {QStringLiteral("TESTO"), ColumnType::Text},     {QStringLiteral("LOGICO"), ColumnType::Boolean},
                   {QStringLiteral("DATA"), ColumnType::DateTime},  {QStringLiteral("F6"), ColumnType::Text}};
  table.rows = {
      {QVariant(qint64{42}), QVariant(12.5), QVariant(QString::fromUtf8("Niccolò")), QVariant(true),
       QVariant(At(2023, 1, 1)), QVariant(QString(""))},
      {QVariant(), QVariant(0.1 + 0.2), QVariant(QString::fromUtf8("Città")), QVariant(false),
       QVariant(At(2024, 1, 1, 18, 0)), QVariant()},
      {QVariant(), QVariant(-1.5e300), QVariant(), QVariant(), QVariant(), QVariant(QStringLiteral("fine"))},
  };
  return table;
}

class EveryVersion : public ::testing::TestWithParam<int> {};

TEST_P(EveryVersion, ReadsFormulaResultsErrorsLogicalsAndDates) {
  const int biff = GetParam();
  BiffStream globals = Globals(biff);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("dati.xls"));
  QString sheet = QStringLiteral("Foglio1");
  if (biff < 5) {
    // A worksheet of its own, named by its file as Excel names it.
    WriteKindsOfCells(globals);
    testing::WriteBytes(path, globals.Eof().Bytes());
    sheet = QStringLiteral("dati");
  } else {
    SheetRecords records{sheet, BiffStream(biff)};
    WriteKindsOfCells(records.cells);
    testing::WriteBytes(path, WorkbookFile(std::move(globals), {records}));
  }
  auto reader = Open(path);
  ASSERT_EQ(reader->Tables(), QStringList{sheet + QLatin1Char('$')});
  ExpectSameTable(reader->ReadTable(sheet + QLatin1Char('$')), KindsOfCells());
  // The columns alone, and a second read of the same sheet, agree.
  const std::vector<SourceColumn> columns = reader->Columns(sheet + QLatin1Char('$'));
  ASSERT_EQ(columns.size(), 6u);
  EXPECT_EQ(columns[4].type, ColumnType::DateTime);
  ExpectSameTable(reader->ReadTable(sheet + QLatin1Char('$')), KindsOfCells());
}

INSTANTIATE_TEST_SUITE_P(Biff, EveryVersion, ::testing::Values(2, 3, 4, 5, 8),
                         [](const ::testing::TestParamInfo<int>& version) {
                           return "Biff" + std::to_string(version.param);
                         });

// One date or time format and a number it shows.
struct Shown {
  int format;        // the number format's index
  const char* code;  // its FORMAT record; none for a built-in format
  double serial;
  QVariant expected;  // Null: no date is shown
};

// Each case is a column of one cell, its header the format's index.
void ExpectShown(const std::vector<Shown>& cases, bool base1904) {
  BiffStream globals(8);
  globals.Bof(0x0005);
  if (base1904) globals.DateMode1904();
  for (const Shown& shown : cases) {
    if (shown.code != nullptr) globals.Format(shown.format, QString::fromUtf8(shown.code));
  }
  SheetRecords sheet{QStringLiteral("Date"), BiffStream(8)};
  for (size_t i = 0; i < cases.size(); ++i) {
    globals.Xf(cases[i].format);
    const int column = static_cast<int>(i);
    sheet.cells.Label(0, column, QStringLiteral("F%1").arg(cases[i].format));
    sheet.cells.Number(1, column, cases[i].serial, column);
  }
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("date.xls"));
  testing::WriteBytes(path, WorkbookFile(std::move(globals), {sheet}));
  const SourceTable table = Open(path)->ReadTable(QStringLiteral("Date$"));
  ASSERT_EQ(table.columns.size(), cases.size());
  ASSERT_EQ(table.rows.size(), 1u);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(testing::Describe(table.rows[0][i]), testing::Describe(cases[i].expected))
        << "format " << cases[i].format << " (" << (cases[i].code ? cases[i].code : "built-in") << "), serial "
        << cases[i].serial;
  }
}

TEST(ExcelDates, EveryBuiltInDateAndTimeFormatShowsADateOrATime) {
  const QVariant day(QDate(2024, 1, 1));
  const QVariant evening(At(1899, 12, 30, 18, 0));  // a time of day alone
  std::vector<Shown> cases;
  for (int format : {14, 15, 16, 17, 27, 28, 29, 30, 31, 34, 35, 36, 50, 51, 52, 53, 54, 55, 56, 57, 58})
    cases.push_back({format, nullptr, 45292, day});
  for (int format : {18, 19, 20, 21, 32, 33, 45, 46, 47}) cases.push_back({format, nullptr, 0.75, evening});
  cases.push_back({22, nullptr, 45292.5, QVariant(At(2024, 1, 1, 12, 0))});
  // A date format over a time of day keeps the time.
  cases.push_back({14, nullptr, 45292.25, QVariant(At(2024, 1, 1, 6, 0))});
  // Numbers stay numbers.
  for (int format : {0, 1, 2, 10, 11, 37, 48, 49}) cases.push_back({format, nullptr, 45292, QVariant(45292.0)});
  ExpectShown(cases, false);
}

TEST(ExcelDates, FormatCodesShowDatesTimesOrNumbers) {
  const QVariant day(QDate(2024, 1, 1));
  ExpectShown(
      {
          {164, "yyyy\"年\"m\"月\"d\"日\"", 45292, day},
          {165, "[$-411]ge.m.d", 45292, day},
          {166, "dd/mm/yyyy;@", 45292, day},
          {167, "d-mmm-yy h:mm AM/PM", 45292.5, QVariant(At(2024, 1, 1, 12, 0))},
          {168, "hh:mm:ss.000", 0.75, QVariant(At(1899, 12, 30, 18, 0))},
          {169, "mm:ss", 0.75, QVariant(At(1899, 12, 30, 18, 0))},
          {170, "[h]:mm", 0.75, QVariant(At(1899, 12, 30, 18, 0))},
          {171, "0.00", 45292, QVariant(45292.0)},
          {172, "General", 45292, QVariant(45292.0)},
          {173, "[Red]0.00;[Blue]-0.00", 45292, QVariant(45292.0)},
          {174, "0.00E+00", 45292, QVariant(45292.0)},
          {175, "\"d\" 0", 45292, QVariant(45292.0)},
      },
      false);
}

TEST(ExcelDates, SerialsCountFromTheWorkbooksBase) {
  // 1900: serial 1 is 1 January 1900; 60 is Excel's 29 February 1900, a day
  // no calendar holds.
  ExpectShown(
      {
          {14, nullptr, 1, QVariant(QDate(1900, 1, 1))},
          {14, nullptr, 59, QVariant(QDate(1900, 2, 28))},
          {14, nullptr, 60, QVariant()},
          {14, nullptr, 61, QVariant(QDate(1900, 3, 1))},
          {14, nullptr, -1, QVariant()},
          {14, nullptr, 2958465, QVariant(QDate(9999, 12, 31))},
      },
      false);
  ExpectShown(
      {
          {14, nullptr, 0, QVariant(QDate(1904, 1, 1))},
          {14, nullptr, 45292 - 1462, QVariant(QDate(2024, 1, 1))},
          {22, nullptr, 0.5, QVariant(At(1904, 1, 1, 12, 0))},
          {20, nullptr, 0.5, QVariant(At(1899, 12, 30, 12, 0))},  // a time of day alone, whatever the base
      },
      true);
}

TEST(ExcelReader, NumbersKeepTheirExactValues) {
  // RK values: whole numbers of 30 bits or a double's high 30 bits, either
  // of them perhaps in hundredths; MULRK holds several side by side.
  const auto rk = [](quint32 value) { return BiffStream::Long(value); };
  const auto highBits = [](double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return static_cast<quint32>(bits >> 32);
  };
  SheetRecords sheet{QStringLiteral("Numeri"), BiffStream(8)};
  sheet.cells.Label(0, 0, QStringLiteral("INTERO")).Label(0, 1, QStringLiteral("CENTESIMI"));
  sheet.cells.Label(0, 2, QStringLiteral("DOPPIO")).Label(0, 3, QStringLiteral("DOPPIO_CENTESIMI"));
  // Row 1 in single RK records, row 2 in one MULRK, row 3 in one MULBLANK.
  const QByteArray values[] = {rk((static_cast<quint32>(-536870912) << 2) | 2), rk((1234u << 2) | 3),
                               rk(highBits(-2.5)), rk(highBits(1.5) | 1)};
  for (int c = 0; c < 4; ++c)
    sheet.cells.Record(0x027E, BiffStream::Word(1) + BiffStream::Word(c) + BiffStream::Word(0) + values[c]);
  QByteArray mulRk = BiffStream::Word(2) + BiffStream::Word(0);
  for (const quint32 value : {(536870911u << 2) | 2, (7u << 2) | 3, highBits(0.75), highBits(-3.0) | 1})
    mulRk += BiffStream::Word(0) + rk(value);
  sheet.cells.Record(0x00BD, mulRk + BiffStream::Word(3));
  sheet.cells.Record(0x00BE,
                     BiffStream::Word(3) + BiffStream::Word(0) + BiffStream::Word(0).repeated(5) + BiffStream::Word(4));
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("numeri.xls"));
  testing::WriteBytes(path, WorkbookFile(Globals(8), {sheet}));
  SourceTable expected;
  expected.columns = {{QStringLiteral("INTERO"), ColumnType::Integer},
                      {QStringLiteral("CENTESIMI"), ColumnType::Double},
                      {QStringLiteral("DOPPIO"), ColumnType::Double},
                      {QStringLiteral("DOPPIO_CENTESIMI"), ColumnType::Double},
                      {QStringLiteral("F5"), ColumnType::Text}};
  expected.rows = {
      {QVariant(qint64{-536870912}), QVariant(1234 / 100.0), QVariant(-2.5), QVariant(1.5 / 100), QVariant()},
      {QVariant(qint64{536870911}), QVariant(7 / 100.0), QVariant(0.75), QVariant(-3.0 / 100), QVariant()},
      {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
  };
  ExpectSameTable(Open(path)->ReadTable(QStringLiteral("Numeri$")), expected);
}

TEST(ExcelReader, SheetNamesOutsideLatin1) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("nomi.xls"));
  const QString cyrillic = QString::fromUtf8("Лист1");
  const QString cjk = QString::fromUtf8("表 1");
  {
    SheetRecords first{cyrillic, BiffStream(8)};
    first.cells.Label(0, 0, QString::fromUtf8("ИМЯ")).Label(1, 0, QString::fromUtf8("Пётр"));
    SheetRecords second{cjk, BiffStream(8)};
    second.cells.Label(0, 0, QString::fromUtf8("名前")).Label(1, 0, QString::fromUtf8("太郎"));
    BiffStream globals(8);
    testing::WriteBytes(path, WorkbookFile(std::move(globals.Bof(0x0005)), {first, second}));
    auto reader = Open(path);
    EXPECT_EQ(reader->Tables(), (QStringList{cyrillic + QLatin1Char('$'), cjk + QLatin1Char('$')}));
    const SourceTable table = reader->ReadTable(cjk + QLatin1Char('$'));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.columns[0].name, QString::fromUtf8("名前"));
    EXPECT_EQ(table.rows[0][0], QVariant(QString::fromUtf8("太郎")));
  }
  {
    // BIFF 5 names and texts are in the workbook's code page.
    BiffStream globals(5);
    globals.Bof(0x0005).CodePage(1251);
    SheetRecords sheet{cyrillic, BiffStream(5)};
    sheet.cells.CodePage(1251).Label(0, 0, QString::fromUtf8("ИМЯ")).Label(1, 0, QString::fromUtf8("Пётр"));
    testing::WriteBytes(path, WorkbookFile(std::move(globals), {sheet}));
    auto reader = Open(path);
    EXPECT_EQ(reader->Tables(), QStringList{cyrillic + QLatin1Char('$')});
    const SourceTable table = reader->ReadTable(cyrillic.toLower() + QLatin1Char('$'));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.columns[0].name, QString::fromUtf8("ИМЯ"));
    EXPECT_EQ(table.rows[0][0], QVariant(QString::fromUtf8("Пётр")));
  }
}

TEST(ExcelReader, SharedStringsGoOnAcrossContinuationRecords) {
  // The second string's characters are cut by a CONTINUE record, which
  // goes on in two bytes a character; the third starts within it.
  const QByteArray sst = BiffStream::Long(3) + BiffStream::Long(3) + BiffStream::Word(3) + QByteArray(1, '\0') + "uno" +
                         BiffStream::Word(6) + QByteArray(1, '\0') + "abc";
  QByteArray rest = QByteArray(1, '\1');
  for (const QChar c : QString::fromUtf8("дяж")) rest += BiffStream::Word(c.unicode());
  rest += BiffStream::Word(3) + QByteArray(1, '\0') + "tre";
  BiffStream globals(8);
  globals.Bof(0x0005).Record(0x00FC, sst).Record(0x003C, rest);
  SheetRecords sheet{QStringLiteral("Testi"), BiffStream(8)};
  sheet.cells.Label(0, 0, QStringLiteral("T")).LabelSst(1, 0, 0).LabelSst(2, 0, 1).LabelSst(3, 0, 2).LabelSst(4, 0, 3);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("testi.xls"));
  testing::WriteBytes(path, WorkbookFile(std::move(globals), {sheet}));
  const SourceTable table = Open(path)->ReadTable(QStringLiteral("Testi$"));
  ASSERT_EQ(table.rows.size(), 4u);
  EXPECT_EQ(table.rows[0][0], QVariant(QStringLiteral("uno")));
  EXPECT_EQ(table.rows[1][0], QVariant(QString::fromUtf8("abcдяж")));
  EXPECT_EQ(table.rows[2][0], QVariant(QStringLiteral("tre")));
  EXPECT_FALSE(table.rows[3][0].isValid());  // no such string
}

TEST(ExcelReader, FilesItCannotReadAreRefusedSayingWhy) {
  const auto bare = [](int biff, quint16 kind) {
    BiffStream stream(biff);
    stream.Bof(kind);
    stream.Label(0, 0, QStringLiteral("A")).Eof();
    return stream.Bytes();
  };
  BiffStream protectedSheet(4);
  protectedSheet.Bof(0x0010).Record(0x002F, BiffStream::Word(0)).Label(0, 0, QStringLiteral("A")).Eof();
  BiffStream protectedBook(8);
  protectedBook.Bof(0x0005).Record(0x002F, QByteArray(54, '\x11'));
  SheetRecords sheet{QStringLiteral("A"), BiffStream(8)};
  sheet.cells.Label(0, 0, QStringLiteral("A"));
  QByteArray misplaced = WorkbookFile(Globals(8), {sheet});
  // The sheet's offset (in the BOUNDSHEET record, the last of the globals
  // at 512 of the file) set past the stream.
  const qsizetype boundSheet = misplaced.indexOf(QByteArray("\x85\x00", 2), 512);
  ASSERT_GT(boundSheet, 0);
  misplaced.replace(boundSheet + 4, 4, BiffStream::Long(0x00FFFFFF));
  const std::vector<DamagedFile> cases = {
      {"Excel 4.0 workbook", bare(4, 0x0100), "Excel 4.0 (più fogli in un file): formato non supportato"},
      {"Excel 3.0 chart", bare(3, 0x0020), "Foglio grafico o di macro di Excel 3.0: formato non supportato"},
      {"Excel 2.1 macro sheet", bare(2, 0x0040), "di Excel 2.1: formato non supportato"},
      {"Excel 4.0 sheet with a password", protectedSheet.Bytes(), "protetta da password"},
      {"Excel 97 workbook with a password", WorkbookFile(protectedBook, {sheet}), "protetta da password"},
      {"a sheet where none is", misplaced, "non si trova dove"},
      {"records that are no workbook", BiffStream(8).Record(0x0042, BiffStream::Word(1252)).Bytes()},
  };
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("foglio.xls"));
  ExpectDamagedFilesFail(cases, path, [&] {
    auto reader = Open(path);
    for (const QString& table : reader->Tables()) reader->ReadTable(table);
  });
}

}  // namespace
}  // namespace pv
