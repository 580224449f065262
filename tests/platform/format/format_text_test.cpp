#include "format_test_support.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <limits>

namespace {

TEST(FormatText, PlaceholdersCaseAndFillDirection) {
  CheckFormats({
      {QStringLiteral("abc"), "@@@@@", "  abc"},
      {QStringLiteral("abc"), "!@@@@@", "abc  "},
      {QStringLiteral("abc"), "&&&&&", "abc"},
      {QStringLiteral("ab"), "(@@@)", "( ab)"},
      {QStringLiteral("ab"), "!(&&&)", "(ab)"},
      {QStringLiteral("abcdefg"), "@@@-@", "abcdef-g"},
      {QStringLiteral("abcdefg"), "!@@@-@", "abc-defg"},
      {QStringLiteral("0612345678"), "@@@ @@@@@@@", "061 2345678"},
      {QStringLiteral("Rossi"), ">", "ROSSI"},
      {QStringLiteral("Rossi"), "<@@@@@@", " rossi"},
      {QString::fromUtf8("Citt\xC3\xA0"), ">&&&&&", "CITT\xC3\x80"},
      {QStringLiteral("123"), "Cod. @@@", "Cod. 123"},
      {QStringLiteral("x"), "\"@\"&", "@x"},
      // Other values go in as their plain text.
      {12.5, "@@@@@@", "  12,5"},
      {true, "@", "Vero"},
      {kThursday, "[&]", "[10/12/2026 14:05:09]"},
      // The second section takes Null and empty text.
      {QVariant(), "@;\"(nessuno)\"", "(nessuno)"},
      {QStringLiteral(""), "@;\"(nessuno)\"", "(nessuno)"},
      {QStringLiteral("a"), "@;\"(nessuno)\"", "a"},
      {QVariant(), "@@", ""},
      {QStringLiteral(""), "@@", "  "},
  });
}

TEST(FormatNamed, NumberFormats) {
  CheckFormats({
      {1234.5, "General Number", "1234,5"},
      {-0.5, "General Number", "-0,5"},
      {0.00001, "General Number", "1E-05"},
      {1e20, "General Number", "1E+20"},
      {QStringLiteral("7.25"), "General Number", "7,25"},
      {1234.5, "Currency", "1.234,50 \xE2\x82\xAC"},
      {-1234.5, "Currency", "-1.234,50 \xE2\x82\xAC"},
      {QStringLiteral("1000"), "Currency", "1.000,00 \xE2\x82\xAC"},
      {1234.5, "Fixed", "1234,50"},
      {0.125, "Fixed", "0,13"},
      {1234.5, "Standard", "1.234,50"},
      {0.1234, "Percent", "12,34%"},
      {1234.5, "Scientific", "1,23E+03"},
      {1234.5, "fixed", "1234,50"},
      {0, "Yes/No", "No"},
      {5, "Yes/No", "S\xC3\xAC"},
      {-5, "Yes/No", "S\xC3\xAC"},
      {true, "Yes/No", "S\xC3\xAC"},
      {false, "True/False", "Falso"},
      {-1, "True/False", "Vero"},
      {1, "On/Off", "Attivo"},
      {0, "On/Off", "Disattivo"},
      {QStringLiteral("abc"), "Yes/No", "abc"},
      {QStringLiteral("abc"), "Currency", "abc"},
      {QVariant(), "Currency", ""},
  });
}

TEST(FormatNamed, DateAndTimeFormats) {
  CheckFormats({
      {kThursday, "General Date", "10/12/2026 14:05:09"},
      {kThursday, "Long Date", "gioved\xC3\xAC 10 dicembre 2026"},
      {kThursday, "Medium Date", "10-dic-26"},
      {kThursday, "Short Date", "10/12/2026"},
      {kThursday, "short date", "10/12/2026"},
      {kThursday, "Long Time", "14:05:09"},
      {kThursday, "Medium Time", "02:05 PM"},
      {kThursday, "Short Time", "14:05"},
      {46366, "Short Date", "10/12/2026"},
      {QStringLiteral("abc"), "Short Date", "abc"},
      {QVariant(), "Long Date", ""},
  });
}

TEST(FormatGeneral, EmptyPatternGivesThePlainText) {
  CheckFormats({
      {QVariant(), "", ""},
      {1234.5, "", "1234,5"},
      {-0.5, "", "-0,5"},
      {0.0001, "", "0,0001"},
      {1e15, "", "1E+15"},
      {123456789012345.0, "", "123456789012345"},
      {1.0 / 3.0, "", "0,333333333333333"},
      {0.1f, "", "0,1"},
      {QVariant::fromValue<qint64>(1234567890123456789LL), "", "1234567890123456789"},
      {true, "", "Vero"},
      {kThursday, "", "10/12/2026 14:05:09"},
      {QDate(2026, 12, 10), "", "10/12/2026"},
      {QStringLiteral(" testo "), "", " testo "},
      {std::numeric_limits<double>::infinity(), "", "inf"},
  });
}

}  // namespace
