#include "platform/decimalreader.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

struct Case {
  const char* text;
  std::optional<double> value;
};

void ExpectAll() {
  const Case cases[] = {
      {"12,5", 12.5},      {"12.5", 12.5},     {"  99,1  ", 99.1}, {"-1", -1.0},    {"+3", 3.0},
      {"100000", 100000.0}, {"0", 0.0},         {"-0", 0.0},        {",5", 0.5},     {"5.", 5.0},
      {"0.000001", 1e-6},  {"007", 7.0},        {"", std::nullopt}, {"   ", std::nullopt},
      {"abc", std::nullopt}, {"1.234,5", std::nullopt}, {"1,234.5", std::nullopt}, {"1.000.000", std::nullopt},
      {"1 000", std::nullopt}, {"1e5", std::nullopt}, {"12a", std::nullopt}, {"-", std::nullopt},
      {",", std::nullopt},  {"--1", std::nullopt}, {"+-1", std::nullopt}, {"- 1", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt}, {"0x10", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<double> got = pv::ReadDecimal(QString::fromUtf8(c.text));
    ASSERT_EQ(got.has_value(), c.value.has_value());
    if (got) {
      EXPECT_DOUBLE_EQ(*got, *c.value);
      EXPECT_FALSE(std::signbit(*got) && *got == 0);
    }
  }
}

TEST(DecimalReader, ReadsOneSeparatorEitherWayAndRefusesTheRest) { ExpectAll(); }

TEST(DecimalReader, TheLocaleChangesNothing) {
  const QLocale before;
  for (auto lang : {QLocale::Italian, QLocale::English, QLocale::German}) {
    QLocale::setDefault(QLocale(lang));
    ExpectAll();
  }
  QLocale::setDefault(before);
}

}  // namespace
