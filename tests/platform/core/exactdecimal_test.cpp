#include "platform/exactdecimal.h"

#include <QVariant>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace pv {
namespace {

TEST(ExactDecimal, TextsBecomeTheirCanonicalForm) {
  const struct {
    const char* text;
    const char* canonical;  // nullptr: not a number
  } cases[] = {
      {"376123450000000017", "376123450000000017"},
      {"  -0012.500 ", "-12.5"},
      {"+.5", "0.5"},
      {"7.", "7"},
      {"-0.000", "0"},
      {"1.5E+3", "1500"},
      {"12345e-7", "0.0012345"},
      {"-9223372036854775809", "-9223372036854775809"},
      {"123456789012345678901234567890.1234567890", "123456789012345678901234567890.123456789"},
      {"", nullptr},
      {"-", nullptr},
      {".", nullptr},
      {"1.2.3", nullptr},
      {"12 34", nullptr},
      {"1,5", nullptr},
      {"NaN", nullptr},
      {"1e", nullptr},
      {"1e99999", nullptr},  // no value of a source: refused, not written out
  };
  for (const auto& c : cases) {
    const auto d = ExactDecimal::FromText(QString::fromLatin1(c.text));
    if (c.canonical == nullptr) {
      EXPECT_FALSE(d) << c.text;
    } else {
      ASSERT_TRUE(d) << c.text;
      EXPECT_EQ(d->Text().toStdString(), c.canonical) << c.text;
    }
  }
}

TEST(ExactDecimal, ScaledCountsAndDoubles) {
  const std::int64_t min = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(ExactDecimal::FromScaled(min, 4).Text(), QStringLiteral("-922337203685477.5808"));
  EXPECT_EQ(ExactDecimal::FromScaled(123, 4).Text(), QStringLiteral("0.0123"));
  EXPECT_EQ(ExactDecimal::FromScaled(-50000, 4).Text(), QStringLiteral("-5"));
  EXPECT_EQ(ExactDecimal::FromScaled(0, 4).Text(), QStringLiteral("0"));
  EXPECT_EQ(ExactDecimal::FromDouble(-1234.567).Text(), QStringLiteral("-1234.567"));
  EXPECT_EQ(ExactDecimal::FromDouble(0.1).Text(), QStringLiteral("0.1"));
  // Whether a double keeps the digits: 15 significant digits do, 16 not.
  EXPECT_TRUE(ExactDecimal::FromText(QStringLiteral("999999999999.999"))->FitsDouble());
  EXPECT_TRUE(ExactDecimal::FromText(QStringLiteral("1000000000000000000000"))->FitsDouble());
  EXPECT_FALSE(ExactDecimal::FromText(QStringLiteral("9007199254740993"))->FitsDouble());
  EXPECT_EQ(ExactDecimal::FromText(QStringLiteral("9223372036854775807"))->ToInt64(),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_FALSE(ExactDecimal::FromText(QStringLiteral("9223372036854775808"))->ToInt64());
  EXPECT_FALSE(ExactDecimal::FromText(QStringLiteral("1.5"))->ToInt64());
}

TEST(ExactDecimal, CompareAndSortKeysOrderByValue) {
  const char* const ascending[] = {"-100000000000000001",
                                   "-100000000000000000",
                                   "-12.5",
                                   "-12.05",
                                   "-12",
                                   "-0.001",
                                   "0",
                                   "0.001",
                                   "0.0011",
                                   "0.01",
                                   "9.99",
                                   "10",
                                   "12.05",
                                   "12.5",
                                   "100000000000000000",
                                   "100000000000000001"};
  std::vector<ExactDecimal> values;
  for (const char* t : ascending) values.push_back(*ExactDecimal::FromText(QString::fromLatin1(t)));
  for (size_t i = 0; i < values.size(); ++i) {
    for (size_t j = 0; j < values.size(); ++j) {
      const int want = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(ExactDecimal::Compare(values[i], values[j]), want) << ascending[i] << " " << ascending[j];
      const int key = values[i].SortKey().compare(values[j].SortKey());
      EXPECT_EQ(key < 0 ? -1 : (key > 0 ? 1 : 0), want) << "keys of " << ascending[i] << " " << ascending[j];
    }
  }
}

TEST(ExactDecimal, AVariantGivesItsDigitsAsText) {
  const QVariant v = QVariant::fromValue(*ExactDecimal::FromText(QStringLiteral("376123450000000017")));
  EXPECT_TRUE(IsExactDecimal(v));
  EXPECT_EQ(v.toString(), QStringLiteral("376123450000000017"));
  EXPECT_DOUBLE_EQ(v.toDouble(), 376123450000000017.0);
  EXPECT_EQ(v, QVariant::fromValue(*ExactDecimal::FromText(QStringLiteral("376123450000000017.000"))));
  EXPECT_NE(v, QVariant::fromValue(*ExactDecimal::FromText(QStringLiteral("376123450000000016"))));
  EXPECT_FALSE(IsExactDecimal(QVariant(1.5)));
}

}  // namespace
}  // namespace pv
