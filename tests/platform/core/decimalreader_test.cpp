#include "platform/decimalreader.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* text;
  std::optional<double> value;
};

void PrintTo(const Case& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class DecimalReader : public ::testing::TestWithParam<Case> {};

TEST_P(DecimalReader, ReadsTheNumberOrRefuses) {
  const Case c = GetParam();
  // The same whatever the locale the program runs under.
  for (const QLocale::Language language : {QLocale::C, QLocale::Italian, QLocale::German, QLocale::English}) {
    QLocale::setDefault(QLocale(language));
    EXPECT_EQ(pv::ReadDecimal(QString::fromUtf8(c.text)), c.value) << c.text;
  }
  QLocale::setDefault(QLocale::c());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalReader,
    ::testing::Values(Case{"2,5", 2.5}, Case{"2.5", 2.5}, Case{"  25,5 ", 25.5}, Case{"12", 12.0}, Case{"1.000", 1.0},
                      Case{"-3,25", -3.25}, Case{"+4", 4.0}, Case{",5", 0.5}, Case{"5,", 5.0}, Case{"0", 0.0},
                      Case{"100000", 100000.0}, Case{"", std::nullopt}, Case{"   ", std::nullopt},
                      Case{"-", std::nullopt}, Case{",", std::nullopt}, Case{"1.000,5", std::nullopt},
                      Case{"1,000.5", std::nullopt}, Case{"1 000", std::nullopt}, Case{"1e3", std::nullopt},
                      Case{"2,5 cm", std::nullopt}, Case{"--1", std::nullopt}, Case{"0x10", std::nullopt},
                      Case{"١٢", std::nullopt}, Case{"inf", std::nullopt}, Case{"nan", std::nullopt}));

}  // namespace
