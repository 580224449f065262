// Every field formatting code the program database is delivered with gives
// the expected text for the sample its kind shows in the field picker.
#include "core/seed.h"
#include "platform/format.h"
#include "platform/format_counter.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <map>
#include <set>
#include <string>

namespace {

const QDateTime kSample(QDate(2026, 3, 5), QTime(9, 7, 4));  // a Thursday

// Kind 1 numbers show 123.456, kinds 2 and 3 a date and time, kind 4 the
// text "1000", kind 5 the counter on the first and the tenth label.
const std::map<std::string, std::string> kExpected = {
    {"1|0", "123"},
    {"1|0.0", "123,5"},
    {"1|0.00", "123,46"},
    {"1|0.000", "123,456"},
    {"1|#,##0", "123"},
    {"1|#,##0.00", "123,46"},
    {"1|000000", "000123"},
    {"1|0%", "12346%"},
    {"1|0.00%", "12345,60%"},
    {"1|0.00E+00", "1,23E+02"},
    {"2|dd/mm/yyyy", "05/03/2026"},
    {"2|dd/mm/yy", "05/03/26"},
    {"2|d/m/yyyy", "5/3/2026"},
    {"2|dd-mm-yyyy", "05-03-2026"},
    {"2|yyyy-mm-dd", "2026-03-05"},
    {"2|d mmmm yyyy", "5 marzo 2026"},
    {"2|dddd d mmmm yyyy", "gioved\xC3\xAC 5 marzo 2026"},
    {"2|mmmm yyyy", "marzo 2026"},
    {"2|mm/yyyy", "03/2026"},
    {"2|yyyy", "2026"},
    {"2|Short Date", "05/03/2026"},
    {"2|Long Date", "gioved\xC3\xAC 5 marzo 2026"},
    {"3|hh:nn", "09:07"},
    {"3|hh:nn:ss", "09:07:04"},
    {"3|h:nn AM/PM", "9:07 AM"},
    {"3|dd/mm/yyyy hh:nn", "05/03/2026 09:07"},
    {"3|Short Time", "09:07"},
    {"3|Long Time", "09:07:04"},
    {"4|\xE2\x82\xAC #,##0.00", "\xE2\x82\xAC 1.000,00"},
    {"4|#,##0.00 \xE2\x82\xAC", "1.000,00 \xE2\x82\xAC"},
    {"4|\xE2\x82\xAC #,##0", "\xE2\x82\xAC 1.000"},
    {"4|#,##0.00", "1.000,00"},
    {"4|Currency", "1.000,00 \xE2\x82\xAC"},
    {"5|#1+1#", "1 10"},
    {"5|#0+1#", "0 9"},
    {"5|#100+1#", "100 109"},
    {"5|#1+10#", "1 91"},
    {"5|000", "001 010"},
    {"5|0000", "0001 0010"},
    {"5|000000", "000001 000010"},
};

QString Sample(int kind, const QString& code) {
  switch (kind) {
    case 1: return pv::Format(123.456, code);
    case 2:
    case 3: return pv::Format(kSample, code);
    case 4: return pv::Format(QStringLiteral("1000"), code);
    case 5: return pv::CounterValue(code, 0) + QLatin1Char(' ') + pv::CounterValue(code, 9);
    default: return {};
  }
}

TEST(SeededFormatCodes, EachGivesItsExpectedSample) {
  std::set<std::string> seen;
  bool found = false;
  for (const pv::SeedTable& table : pv::ProgramDatabaseSeed()) {
    if (table.table != QLatin1String("rst_numericformat")) continue;
    found = true;
    const auto kindColumn = table.columns.indexOf(QLatin1String("CODE"));
    const auto formatColumn = table.columns.indexOf(QLatin1String("Format"));
    ASSERT_GE(kindColumn, 0);
    ASSERT_GE(formatColumn, 0);
    for (const QVariantList& row : table.rows) {
      const int kind = row[kindColumn].toInt();
      const QString code = row[formatColumn].toString();
      const std::string key = std::to_string(kind) + "|" + code.toStdString();
      seen.insert(key);
      const auto expected = kExpected.find(key);
      ASSERT_NE(expected, kExpected.end()) << "no expected sample for " << key;
      EXPECT_EQ(Sample(kind, code).toStdString(), expected->second) << key;
    }
  }
  EXPECT_TRUE(found);
  // The named codes are delivered too.
  for (const char* named : {"4|Currency", "2|Short Date", "2|Long Date", "3|Short Time", "3|Long Time"}) {
    EXPECT_TRUE(seen.count(named)) << named;
  }
}

}  // namespace
