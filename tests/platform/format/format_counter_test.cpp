#include "platform/format_counter.h"

#include "platform/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct Case {
  const char* pattern;
  std::int32_t labelIndex;
  const char* expected;
};

TEST(CounterValue, StartAndStepPatterns) {
  const Case cases[] = {
      {"#1+1#", 0, "1"},
      {"#1+1#", 2, "3"},
      {"#0+10#", 3, "30"},
      {"#100+5#", 2, "110"},
      {"#5+#", 7, "5"},  // empty step
      {"#+3#", 2, "6"},  // empty start
      {"#1.5+0.5#", 0, "1.5"},
      {"#1.5+0.5#", 1, "2"},
      {"#1.5+0.5#", 2, "2.5"},
      {"#0+0.1#", 3, "0.3"},
      {"#0+0.25#", 1, "0.25"},
      {"#10+-2#", 6, "-2"},  // negative step
      {"#0+-0.5#", 1, "-0.5"},
      {"# 1 0 + 2 #", 1, "12"},     // blanks anywhere are left out
      {"#abc+xyz#", 5, "0"},        // no numbers read as 0
      {"#7x+1y#", 1, "8"},          // leading numbers only
      {"Lotto #1+1# bis", 1, "2"},  // text around the counter is not printed
      {"#1+1#", std::numeric_limits<std::int32_t>::max() - 1, "2147483647"},
      {"#0+1000000#", 2000000000, "2E+15"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pv::CounterValue(QString::fromUtf8(c.pattern), c.labelIndex).toStdString(), c.expected)
        << c.pattern << " at " << c.labelIndex;
  }
}

TEST(CounterValue, OtherPatternsFormatTheLabelNumber) {
  const Case cases[] = {
      {"", 0, "1"},
      {"", 41, "42"},
      {"", std::numeric_limits<std::int32_t>::max(), "2147483648"},
      {"000", 41, "042"},
      {"000#", 4, "0005"},  // "#" without "+"
      {"#,##0", 1233, "1.234"},
      {"\"N. \"0", 0, "N. 1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pv::CounterValue(QString::fromUtf8(c.pattern), c.labelIndex).toStdString(), c.expected)
        << c.pattern << " at " << c.labelIndex;
  }
  // "+" before the first "#": not a counter, an ordinary pattern.
  for (std::int32_t index : {0, 1, 9}) {
    EXPECT_EQ(pv::CounterValue(QStringLiteral("+2#10#"), index), pv::Format(index + 1, QStringLiteral("+2#10#")));
    EXPECT_NE(pv::CounterValue(QStringLiteral("+2#10#"), index), QString::number(10 + index * 2));
  }
}

}  // namespace
