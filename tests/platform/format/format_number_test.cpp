#include "format_test_support.h"

#include "platform/exactdecimal.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <cstdint>
#include <limits>

namespace {

const QString kEuro = QString::fromUtf8("\xE2\x82\xAC");

TEST(FormatNumbers, PlaceholdersSeparatorsAndLiterals) {
  CheckFormats({
      {1234.567, "#,##0.00", "1.234,57"},
      {1234567.891, "#,##0.00", "1.234.567,89"},
      {-1234567.891, "#,##0", "-1.234.568"},
      {42, "000000", "000042"},
      {1234567, "000", "1234567"},
      {12345, "000-000", "012-345"},
      {0.5, "#.00", ",50"},
      {12.5, ".00", "12,50"},
      {0, "#", ""},
      {0, "0.00", "0,00"},
      {5, "0.##", "5,"},
      {1.5, "0.0#", "1,5"},
      {1.256, "0.0#", "1,26"},
      {1.5, "0.#0", "1,50"},
      {123456789, "#,##0,", "123.457"},
      {1234567890, "0,,.0", "1234,6"},
      {0.123, "0%", "12%"},
      {0.1234, "0.00%", "12,34%"},
      {5, "0\\%", "5%"},
      {1234, "\\#0", "#1234"},
      {5, "0 \"pz.\"", "5 pz."},
      {5, "0 kg", "5 kg"},
      {1234.5, "\xE2\x82\xAC #,##0.00", kEuro + " 1.234,50"},
      {-1234.5, "\xE2\x82\xAC #,##0.00", "-" + kEuro + " 1.234,50"},
      {12345, "0.00E+00", "1,23E+04"},
      {0.00012345, "0.00E+00", "1,23E-04"},
      {12345, "0.00E-00", "1,23E04"},
      {0.00012345, "0.00e-0", "1,23e-4"},
      {0, "0.00E+00", "0,00E+00"},
      {9.999, "0.00E+00", "1,00E+01"},
      {12345, "00.0E+0", "12,3E+3"},
  });
}

TEST(FormatNumbers, SectionsPickedBySign) {
  CheckFormats({
      {5, "0;(0)", "5"},
      {-5, "0;(0)", "(5)"},
      {0, "0;(0)", "0"},
      {0, "0;(0);\"zero\"", "zero"},
      {-5, "0;;\"zero\"", "-5"},
      {0, "0;;\"zero\"", "zero"},
      {-0.001, "0.00;(0.00);\"zero\"", "(0,00)"},
      {QVariant(), "0;-0;\"zero\";\"nulla\"", "nulla"},
      {QVariant(), "0.00", ""},
      {QVariant(), "0;-0", ""},
      {7, "0;-0;\"zero\";\"nulla\";ignored", "7"},
      {5, "\"a;b\" 0", "a;b 5"},
  });
}

TEST(FormatNumbers, HalvesRoundAwayFromZero) {
  CheckFormats({
      {0.5, "0", "1"},
      {1.5, "0", "2"},
      {2.5, "0", "3"},
      {-2.5, "0", "-3"},
      {1234.5, "0", "1235"},
      {1.005, "0.00", "1,01"},
      {0.125, "0.00", "0,13"},
      {-0.125, "0.00", "-0,13"},
      {2.675, "0.00", "2,68"},
      {0.45, "0.0", "0,5"},
      {99.95, "#,##0.0", "100,0"},
      {999999.5, "#,##0", "1.000.000"},
      // Nothing but zeros after rounding: no lone minus sign.
      {-0.001, "0.00", "0,00"},
      {-0.4, "0", "0"},
  });
}

TEST(FormatNumbers, HugeAndTinyNumbers) {
  CheckFormat({1e300, "0", QStringLiteral("1") + QString(300, u'0')});
  CheckFormat({1e-300, "0.00", "0,00"});
  CheckFormat({std::numeric_limits<double>::max(), "0.00E+00", "1,80E+308"});
  CheckFormat({std::numeric_limits<double>::denorm_min(), "0.00E+00", "4,94E-324"});
  CheckFormat({std::numeric_limits<double>::lowest(), "0.0E+000", "-1,8E+308"});
  // Integers keep every digit, beyond what a double holds.
  CheckFormat({QVariant::fromValue<qint64>(9007199254740993LL), "#,##0", "9.007.199.254.740.993"});
  CheckFormat({QVariant::fromValue<qint64>(std::numeric_limits<qint64>::min()), "0", "-9223372036854775808"});
  CheckFormat({QVariant::fromValue<quint64>(std::numeric_limits<quint64>::max()), "0.00E+00", "1,84E+19"});
  // What cannot be a number comes back as text.
  CheckFormat({std::numeric_limits<double>::infinity(), "0.00", "inf"});
  CheckFormat({std::numeric_limits<double>::quiet_NaN(), "0.00", "nan"});
}

TEST(FormatNumbers, OtherValuesInNumberPatterns) {
  CheckFormats({
      // Text that reads as a number, with a point or Italian separators.
      {QStringLiteral("1000"), "#,##0.00", "1.000,00"},
      {QStringLiteral(" 12.5 "), "0.00", "12,50"},
      {QStringLiteral("1.234,5"), "0.00", "1234,50"},
      {QStringLiteral("-3e2"), "0", "-300"},
      // Text a number pattern cannot take comes back unchanged.
      {QStringLiteral("abc"), "#,##0.00", "abc"},
      {QStringLiteral("12 pezzi"), "0", "12 pezzi"},
      {QStringLiteral(""), "0.00", ""},
      // Booleans count -1 and 0; dates their serial day number.
      {true, "0", "-1"},
      {false, "0.0", "0,0"},
      {QDateTime(QDate(2026, 12, 10), QTime(12, 0)), "0.00", "46366,50"},
      {QDate(1899, 12, 30), "0", "0"},
      {3.0f, "0.00", "3,00"},
      {0.1f, "0.000000", "0,100000"},
  });
}

TEST(FormatNumbers, CompiledOnceAndShared) {
  const auto first = pv::CompiledFormat::Of(QStringLiteral("#,##0.00"));
  const auto again = pv::CompiledFormat::Of(QStringLiteral("#,##0.00"));
  EXPECT_EQ(first.get(), again.get());
  EXPECT_NE(first.get(), pv::CompiledFormat::Of(QStringLiteral("#,##0.0")).get());
  EXPECT_EQ(first->Apply(1234.5).toStdString(), "1.234,50");
  EXPECT_EQ(first->Apply(-1).toStdString(), "-1,00");
  EXPECT_EQ(first->Pattern().toStdString(), "#,##0.00");
}

// Whole numbers and exact decimals keep every digit with "0", "#,##0", no
// pattern and General Number; other patterns round them digit for digit;
// a number written in text does the same.
TEST(FormatNumbers, ExactNumbersKeepEveryDigit) {
  const auto exact = [](const char* text) {
    return QVariant::fromValue(*pv::ExactDecimal::FromText(QString::fromLatin1(text)));
  };
  const QVariant sscc = QVariant::fromValue<qint64>(376123450000000017LL);
  const QVariant max = QVariant::fromValue<qint64>(std::numeric_limits<qint64>::max());
  const QVariant min = QVariant::fromValue<qint64>(std::numeric_limits<qint64>::min());
  CheckFormats({
      {sscc, "0", "376123450000000017"},
      {sscc, "#,##0", "376.123.450.000.000.017"},
      {sscc, "", "376123450000000017"},
      {sscc, "General Number", "376123450000000017"},
      {max, "0", "9223372036854775807"},
      {max, "", "9223372036854775807"},
      {min, "#,##0", "-9.223.372.036.854.775.808"},
      {min, "General Number", "-9223372036854775808"},
      {exact("376123450000000017"), "0", "376123450000000017"},
      {exact("-376123450000000017"), "", "-376123450000000017"},
      {exact("-1234.567"), "", "-1234,567"},
      {exact("-1234.567"), "0.00", "-1234,57"},
      {exact("-1234.567"), "#,##0.0000", "-1.234,5670"},
      {exact("0.001"), "General Number", "0,001"},
      {exact("123456789012345678901234567890.125"), "0.00", "123456789012345678901234567890,13"},
      {exact("123456789012345678901234567890.125"), "", "123456789012345678901234567890,125"},
      {exact("99999999999999999.995"), "#,##0.00", "100.000.000.000.000.000,00"},
      {exact("0"), "0.00;-0.00;\"zero\"", "zero"},
      {exact("-0.004"), "0.00", "0,00"},
      {QStringLiteral("376123450000000017"), "0", "376123450000000017"},
      {QStringLiteral("376123450000000017"), "General Number", "376123450000000017"},
      {QStringLiteral("1.234,5678"), "0.000", "1234,568"},
  });
}

}  // namespace
