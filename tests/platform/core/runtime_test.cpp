#include "platform/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct StrCase {
  float value;
  const char* text;
};

TEST(StrSingle, MatchesRuntimeForm) {
  const StrCase cases[] = {
      {0.0f, " 0"},
      {1.0f, " 1"},
      {-1.0f, "-1"},
      {0.5f, " .5"},
      {-0.5f, "-.5"},
      {1.5f, " 1.5"},
      {0.1f, " .1"},
      {25.4f, " 25.4"},
      {3.3333333f, " 3.333333"},
      {1234567.0f, " 1234567"},
      {12345678.0f, " 1.234568E+07"},
      {0.0001f, " .0001"},
      {0.00001f, " 1E-05"},
      {100.0f, " 100"},
      {-12.25f, "-12.25"},
  };
  for (const auto& c : cases) EXPECT_EQ(pv::StrSingle(c.value).toStdString(), c.text) << c.value;
}

TEST(StrDouble, ShortestUpToFifteenDigits) {
  EXPECT_EQ(pv::StrDouble(0.1).toStdString(), " .1");
  EXPECT_EQ(pv::StrDouble(1.0 / 3.0).toStdString(), " .333333333333333");
  EXPECT_EQ(pv::StrDouble(210.0).toStdString(), " 210");
  EXPECT_EQ(pv::StrDouble(-297.5).toStdString(), "-297.5");
  EXPECT_EQ(pv::StrDouble(1e15).toStdString(), " 1E+15");
  EXPECT_EQ(pv::StrLong(42).toStdString(), " 42");
  EXPECT_EQ(pv::StrLong(-42).toStdString(), "-42");
}

TEST(StrSingle, ReadsBackThroughVal) {
  const float values[] = {0.3f, 12.7f, 99.99f, 1e-7f, 3.4e38f, -0.001f};
  for (float v : values) EXPECT_EQ(static_cast<float>(pv::Val(pv::StrSingle(v))), v) << v;
}

TEST(Val, StopsAtFirstCharacterThatCannotGoOn) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},        {"abc", 0},    {"12", 12},  {"  12", 12}, {"-3.5", -3.5}, {"+7", 7},
      {"1.2.3", 1.2}, {"12abc", 12}, {".5", 0.5}, {"1.0", 1},   {"1E3", 1000},  {"2e-2", 0.02},
      {"1E", 1},      {"\t5", 0},    {"-", 0},    {"3,5", 3},   {" .", 0},      {"007", 7},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(pv::Val(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(Rounding, HalvesGoToEven) {
  const struct {
    double in;
    int out;
  } cases[] = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {-2.6, -3}};
  for (const auto& c : cases) {
    EXPECT_EQ(pv::CInt(c.in), c.out) << c.in;
    EXPECT_EQ(pv::CLng(c.in), c.out) << c.in;
  }
}

TEST(Rounding, OutOfRangeIsClampedAndReported) {
  bool overflow = false;
  EXPECT_EQ(pv::CInt(40000.0, &overflow), 32767);
  EXPECT_TRUE(overflow);
  overflow = false;
  EXPECT_EQ(pv::CInt(-40000.0, &overflow), -32768);
  EXPECT_TRUE(overflow);
  overflow = false;
  EXPECT_EQ(pv::CInt(32767.4, &overflow), 32767);
  EXPECT_FALSE(overflow);
  EXPECT_EQ(pv::CInt(32767.5, &overflow), 32767);  // rounds to 32768: out of range
  EXPECT_TRUE(overflow);
  overflow = false;
  EXPECT_EQ(pv::CLng(3e10, &overflow), std::numeric_limits<std::int32_t>::max());
  EXPECT_TRUE(overflow);
  overflow = false;
  EXPECT_EQ(pv::CLng(std::nan(""), &overflow), 0);
  EXPECT_TRUE(overflow);
}

TEST(Trim, OnlyBlanks) {
  EXPECT_EQ(pv::Trim(QStringLiteral("  a b  ")), QStringLiteral("a b"));
  EXPECT_EQ(pv::Trim(QStringLiteral("\tx\t")), QStringLiteral("\tx\t"));
  EXPECT_EQ(pv::LTrim(QStringLiteral("  x ")), QStringLiteral("x "));
  EXPECT_EQ(pv::RTrim(QStringLiteral("  x ")), QStringLiteral("  x"));
  EXPECT_EQ(pv::Trim(QStringLiteral("   ")), QString());
}

TEST(Booleans, TrueIsMinusOne) {
  EXPECT_EQ(pv::ToVbBool(true), -1);
  EXPECT_EQ(pv::ToVbBool(false), 0);
  EXPECT_TRUE(pv::IsTrue(1));
  EXPECT_FALSE(pv::IsTrue(0));
}

}  // namespace
