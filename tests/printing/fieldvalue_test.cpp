// The text of one merge field: the counter, the date, a random number, and
// the current record's columns under the two field-code settings.
#include "mergefixture.h"

#include "document/predefinedfields.h"
#include "platform/format.h"
#include "printing/fieldvalue.h"

#include <set>

namespace {

using printtest::MergeTest;

const QString kCounter = QString::fromLatin1(pv::kPredefinedCounter);
const QString kDate = QString::fromLatin1(pv::kPredefinedDate);
const QString kRandom = QString::fromLatin1(pv::kPredefinedRandom);

// The field's text on the label of that running index, as the engine's run
// gives it.
QString Value(const QString& code, const QString& format = {}, std::int32_t labelIndex = 0) {
  pv::RecordFields fields = pv::PrintRun().FieldValues();
  fields.SetLabel(labelIndex);
  return fields.Value(code, format);
}

TEST_F(MergeTest, CounterPatternsCountFromTheirStartByTheirStep) {
  struct Case {
    const char* format;
    std::int32_t labelIndex;
    const char* expected;
  } const cases[] = {
      {"#1+1#", 0, "1"},        {"#1+1#", 2, "3"},         {"#0+10#", 2, "20"},     {"#100+5#", 3, "115"},
      {"#5+#", 7, "5"},         {"#1.5+0.5#", 1, "2"},     {"#1.5+0.5#", 2, "2.5"}, {"#10+-2#", 7, "-4"},
      {"# 1 0 + 5 #", 1, "15"}, {"#1+1#", 40000, "40001"},                          // past 16 bits
      {"", 41, "42"},           {"000", 4, "005"},         {"+2#10#", 0, nullptr},  // "+" first: a Format pattern
      {"000#", 0, nullptr},     {"#,##0", 1233, "1.234"},
  };
  pv::ProgramSettings().PrintFieldCode = 1;  // predefined fields keep their values
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    const QString format = QString::fromLatin1(c.format);
    const QString expected =
        c.expected != nullptr ? QString::fromLatin1(c.expected) : pv::Format(qint64(c.labelIndex) + 1, format);
    EXPECT_EQ(Value(kCounter, format, c.labelIndex), expected);
  }
  EXPECT_NE(Value(kCounter, QStringLiteral("+2#10#")), QStringLiteral("10"));
}

TEST_F(MergeTest, DateIsReadAfreshForEveryLabel) {
  QDateTime now(QDate(2026, 3, 5), QTime(14, 7, 9));
  const pv::MergeClock old = pv::SetMergeClock([&now] {
    const QDateTime t = now;
    now = now.addSecs(60);
    return t;
  });
  EXPECT_EQ(Value(kDate, QStringLiteral("dd/mm/yyyy hh:nn")), QStringLiteral("05/03/2026 14:07"));
  EXPECT_EQ(Value(kDate, QStringLiteral("dd/mm/yyyy hh:nn")), QStringLiteral("05/03/2026 14:08"));
  EXPECT_EQ(Value(kDate, QStringLiteral("dddd")), QStringLiteral("giovedì"));
  pv::SetMergeClock(old);
  EXPECT_EQ(Value(kDate, QStringLiteral("yyyy")), QString::number(QDate::currentDate().year()));
}

TEST_F(MergeTest, RandomNumbersAreWholeInRangeAndNewPerLabel) {
  pv::SeedMergeRandom(7);
  QStringList first;
  std::set<QString> distinct;
  for (int i = 0; i < 2000; ++i) {
    const QString v = Value(kRandom);
    bool ok = false;
    const qint64 n = v.toLongLong(&ok);
    ASSERT_TRUE(ok) << v.toStdString();
    ASSERT_GE(n, 1);
    ASSERT_LE(n, 1000000000);
    first << v;
    distinct.insert(v);
  }
  EXPECT_GT(distinct.size(), 1990u);
  pv::SeedMergeRandom(7);
  EXPECT_EQ(Value(kRandom), first.front());
  EXPECT_EQ(Value(kRandom, QStringLiteral("0000000000")).size(), 10);
}

TEST_F(MergeTest, OtherPredefinedKeysAreEmptyAndTheKeyTestKeepsItsCase) {
  pv::ProgramSettings().PrintFieldCode = 1;
  EXPECT_EQ(Value(QStringLiteral("KINTERNAL238547-04")), QString());
  EXPECT_EQ(Value(QStringLiteral("xKINTERNAL238547")), QString());
  // Not a predefined key: a column, here printed by name.
  EXPECT_EQ(Value(QStringLiteral("kinternal238547-01")), QStringLiteral("kinternal238547-01"));
}

TEST_F(MergeTest, ColumnsUnderTheFieldCodeSettingsWithAndWithoutMerge) {
  const qint64 id = RegisterRows(5);
  pv::PrintEngine& e = pv::PrintRun();

  struct Case {
    int fieldCode, ifNull;
    bool merge;
    const char* code;
    int record;
    const char* format;
    const char* expected;
  } const cases[] = {
      // The two settings in every combination, without merge and with it.
      {0, 0, false, "NOME", 0, "", ""},
      {1, 0, false, "NOME", 0, "", "NOME"},
      {0, 1, false, "NOME", 0, "", ""},
      {1, 1, false, "NOME", 0, "", "NOME"},
      {0, 0, true, "NOME", 0, "", "Nome00000"},
      {1, 0, true, "NOME", 0, "", "NOME"},
      {0, 1, true, "NOME", 0, "", "Nome00000"},
      {1, 1, true, "NOME", 0, "", "NOME"},
      // Null, blanks only, text in blanks, a missing column, past the end.
      {0, 0, true, "NOTE", 0, "", ""},
      {0, 1, true, "NOTE", 0, "", "NOTE"},
      {0, 0, true, "NOTE", 1, "", ""},
      {0, 1, true, "NOTE", 1, "", "NOTE"},
      {0, 0, true, "NOTE", 2, "", "nota 2"},
      {0, 0, true, "NESSUNO", 0, "", ""},
      {0, 1, true, "NESSUNO", 0, "", "NESSUNO"},
      {0, 0, true, "NOME", 5, "", ""},
      {0, 1, true, "NOME", 5, "", "NOME"},
      {0, 0, true, "nome", 4, "", "Nome00004"},
      // Through a format, and the plain text of a number.
      {0, 0, true, "SALDO", 3, "0.00", "4,50"},
      {0, 0, true, "SALDO", 3, "", "4,5"},
      {0, 0, true, "NUM", 3, "000", "004"},
      {0, 0, true, "CITTA", 1, ">", "MILANO"},
      {0, 1, true, "NOTE", 0, "0.00", "NOTE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.code << " " << c.fieldCode << c.ifNull << c.merge << " " << c.record);
    pv::ProgramSettings().PrintFieldCode = std::int16_t(c.fieldCode);
    pv::ProgramSettings().PrintFieldCodeIfNull = std::int16_t(c.ifNull);
    if (c.merge && !e.Merging()) {
      e.ChooseMergeSource(std::int32_t(id));
      ASSERT_TRUE(e.Merging());
    }
    if (c.merge) e.MergeRecordset()->MoveTo(c.record);
    EXPECT_EQ(Value(QString::fromLatin1(c.code), QString::fromLatin1(c.format)), QString::fromUtf8(c.expected));
  }
}

}  // namespace
