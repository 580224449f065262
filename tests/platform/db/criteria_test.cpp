#include "platform/db/criteria.h"
#include "platform/db/dberror.h"
#include "platform/exactdecimal.h"

#include <QRegularExpression>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

const QStringList kFields{QStringLiteral("ID"),    QStringLiteral("Name"), QStringLiteral("Qty"),
                          QStringLiteral("Price"), QStringLiteral("Note"), QStringLiteral("When")};

std::vector<QVariant> Row(int id, const QString& name, int qty, double price, const QVariant& note,
                          const QVariant& when = QVariant()) {
  return {id, name, qty, price, note, when};
}

TEST(Criteria, TableOfMatches) {
  const auto row = Row(2, QStringLiteral("Beta Uno"), 7, 2.5, QVariant(), QStringLiteral("2001-03-04"));
  const struct {
    const char* text;
    bool match;
  } cases[] = {
      {"ID = 2", true},
      {"ID =  2", true},
      {"id=2", true},
      {"ID = 3", false},
      {"ID <> 3", true},
      {"Name = 'beta uno'", true},
      {"[Name] = 'Beta Uno'", true},
      {"Name = 'Beta'", false},
      {"Name LIKE 'beta*'", true},
      {"Name LIKE '*uno'", true},
      {"Name LIKE '%ta U%'", true},
      {"Name LIKE 'b?ta uno'", true},
      {"Name LIKE 'uno'", false},
      {"Qty > 5 AND Price = 2.5", true},
      {"Qty > 5 AND Price = 2.6", false},
      {"(Qty < 2) OR (Name LIKE '*uno*')", true},
      {"Qty >= 7 AND (ID = 9 OR Price < 3)", true},
      {"Qty <= 6", false},
      {"Price > .5", true},
      {"Note = NULL", true},
      {"Note IS NULL", true},
      {"Note IS NOT NULL", false},
      {"Note <> NULL", false},
      {"Note = 'x'", false},
      {"Qty = '7'", true},
      {"When > #01/01/2000#", true},
      {"When < #2001-03-04#", false},
      {"Name = 'O''Brien'", false},
  };
  for (const auto& c : cases) {
    const auto crit = pv::Criteria::Parse(QString::fromLatin1(c.text), kFields);
    EXPECT_EQ(crit.Matches(row), c.match) << c.text;
  }
}

TEST(Criteria, QuotedQuoteAndEmptyCriteria) {
  const auto row = Row(1, QStringLiteral("O'Brien"), 0, 0, QStringLiteral("x"));
  EXPECT_TRUE(pv::Criteria::Parse(QStringLiteral("Name = 'O''Brien'"), kFields).Matches(row));
  EXPECT_TRUE(pv::Criteria::Parse(QStringLiteral("  "), kFields).IsEmpty());
}

TEST(Criteria, BadTextIsRefused) {
  for (const char* bad : {"Nope = 1", "ID = ", "ID 1", "Name = 'open", "(ID = 1", "ID = 1 AND", "ID = 101,6",
                          "ID = 1 garbage", "Price > NULL", "When = #notadate#"}) {
    try {
      pv::Criteria::Parse(QString::fromLatin1(bad), kFields);
      ADD_FAILURE() << bad;
    } catch (const pv::DbError& e) {
      EXPECT_EQ(e.Number(), pv::DbErrArguments) << bad;
    }
  }
}

TEST(Criteria, SortText) {
  const auto keys = pv::ParseSort(QStringLiteral("[Name] ASC, Qty DESC, price"), kFields);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].field, 1);
  EXPECT_FALSE(keys[0].descending);
  EXPECT_EQ(keys[1].field, 2);
  EXPECT_TRUE(keys[1].descending);
  EXPECT_EQ(keys[2].field, 3);
  EXPECT_TRUE(pv::ParseSort(QString(), kFields).empty());
  EXPECT_THROW(pv::ParseSort(QStringLiteral("[Città] ASC"), kFields), pv::DbError);
}

TEST(Criteria, CompareValuesOrdersNullNumbersAndText) {
  EXPECT_LT(pv::CompareValues(QVariant(), QVariant(1)), 0);
  EXPECT_EQ(pv::CompareValues(QVariant(), QVariant()), 0);
  EXPECT_LT(pv::CompareValues(QVariant(2), QVariant(10)), 0);  // by value, not "10" < "2"
  EXPECT_EQ(pv::CompareValues(QVariant(QStringLiteral("abc")), QVariant(QStringLiteral("ABC"))), 0);
}

}  // namespace

namespace {

// Filters typed by users or kept in the program database: very deep nesting
// is refused with the parser's error; long chains parse and evaluate.
TEST(Criteria, DeepNestingAndLongChainsNeitherCrashNorRecurse) {
  const auto row = Row(2, QStringLiteral("Beta"), 7, 2.5, QVariant());
  const auto Repeat = [](const QString& part, int n, const QString& joint) {
    QStringList parts;
    for (int i = 0; i < n; ++i) parts << part;
    return parts.join(joint);
  };
  const struct {
    const char* what;
    QString text;
    bool refused;
    bool match;
  } cases[] = {
      {"100 parentheses", QString(100, QLatin1Char('(')) + "ID = 2" + QString(100, QLatin1Char(')')), false, true},
      {"10,000 parentheses", QString(10000, QLatin1Char('(')) + "ID = 2" + QString(10000, QLatin1Char(')')), true,
       false},
      {"unbalanced 10,000", QString(10000, QLatin1Char('(')), true, false},
      {"40,000 AND terms", Repeat(QStringLiteral("ID = 2"), 40000, QStringLiteral(" AND ")), false, true},
      {"40,000 AND terms, last fails", Repeat(QStringLiteral("ID = 2"), 39999, QStringLiteral(" AND ")) + " AND ID = 3",
       false, false},
      {"40,000 OR terms", Repeat(QStringLiteral("Qty = 1"), 39999, QStringLiteral(" OR ")) + " OR Qty = 7", false,
       true},
      {"numeric chain", Repeat(QStringLiteral("Price < 1234567.891"), 20000, QStringLiteral(" AND ")), false, true},
      {"grouped chains", Repeat(QStringLiteral("(ID = 1 OR (Qty > 3 AND Price < 3))"), 5000, QStringLiteral(" AND ")),
       false, true},
  };
  for (const auto& c : cases) {
    try {
      const auto crit = pv::Criteria::Parse(c.text, kFields);
      EXPECT_FALSE(c.refused) << c.what;
      EXPECT_EQ(crit.Matches(row), c.match) << c.what;
    } catch (const pv::DbError& e) {
      EXPECT_TRUE(c.refused) << c.what;
      EXPECT_EQ(e.Number(), pv::DbErrArguments) << c.what;
    }
  }
}

// Booleans are -1 and 0 wherever they are compared or sorted; TRUE and FALSE
// are those numbers.
TEST(Criteria, BooleansCompareAsMinusOneAndZero) {
  const QStringList fields{QStringLiteral("Flag")};
  const struct {
    const char* text;
    bool matchTrue;
    bool matchFalse;
  } cases[] = {
      {"Flag = True", true, false}, {"Flag = -1", true, false}, {"Flag = FALSE", false, true},
      {"Flag = 0", false, true},    {"Flag < 0", true, false},  {"Flag = 1", false, false},
      {"Flag = '-1'", true, false},
  };
  for (const auto& c : cases) {
    const auto crit = pv::Criteria::Parse(QString::fromLatin1(c.text), fields);
    EXPECT_EQ(crit.Matches({QVariant(true)}), c.matchTrue) << c.text;
    EXPECT_EQ(crit.Matches({QVariant(false)}), c.matchFalse) << c.text;
  }
  EXPECT_LT(pv::CompareValues(QVariant(true), QVariant(false)), 0);
  EXPECT_LT(pv::CompareValues(QVariant(true), QVariant(0)), 0);
}

}  // namespace

namespace {

// LIKE as a regular expression built from the pattern: slow on long runs
// of wildcards, but on short patterns it says what LIKE means, letter case
// over all of Unicode included.
bool RegexLike(const QString& pattern, const QString& value) {
  QString re;
  for (const char32_t c : pattern.toUcs4()) {
    if (c == U'*' || c == U'%')
      re += QStringLiteral(".*");
    else if (c == U'?' || c == U'_')
      re += QLatin1Char('.');
    else
      re += QRegularExpression::escape(QString::fromUcs4(&c, 1));  // whole code points
  }
  const QRegularExpression rx(
      QRegularExpression::anchoredPattern(re),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  return rx.match(value).hasMatch();
}

TEST(Like, AgreesWithTheRegularExpressionOnEveryShortPattern) {
  // Letters of every kind of case folding: plain, one-way (Kelvin sign),
  // three-way (sigma), a letter without a simple upper case (ß against ẞ),
  // a character beyond the 16-bit plane, and the wildcards.
  const QStringList alphabet{QStringLiteral("a"),      QStringLiteral("A"), QStringLiteral("k"),
                             QStringLiteral("\u212A"), QStringLiteral("σ"), QStringLiteral("Σ"),
                             QStringLiteral("ς"),      QStringLiteral("ß"), QStringLiteral("\u1E9E"),
                             QStringLiteral("𝒜"),      QStringLiteral("."), QStringLiteral("\n")};
  const QStringList wild{QStringLiteral("*"), QStringLiteral("%"), QStringLiteral("?"), QStringLiteral("_")};
  quint32 seed = 12345;
  const auto next = [&seed](quint32 n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  const QStringList fields{QStringLiteral("V")};
  int matches = 0;
  for (int round = 0; round < 20000; ++round) {
    QString pattern, value;
    for (quint32 i = 0, n = next(7); i < n; ++i)
      pattern += next(2) == 0 ? wild[static_cast<int>(next(4))] : alphabet[static_cast<int>(next(12))];
    for (quint32 i = 0, n = next(7); i < n; ++i) value += alphabet[static_cast<int>(next(12))];
    QString quoted = pattern;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    const auto crit = pv::Criteria::Parse(QStringLiteral("V LIKE '%1'").arg(quoted), fields);
    const bool expected = RegexLike(pattern, value);
    matches += expected ? 1 : 0;
    ASSERT_EQ(crit.Matches({value}), expected) << pattern.toStdString() << " / " << value.toStdString();
  }
  EXPECT_GT(matches, 1000);  // the table is not all refusals
}

// Runs of wildcards cost what one does; patterns that make a backtracking
// matcher try every split of the text answer in time proportional to the
// pattern times the text. A backtracking matcher would not end on these
// within the test's time limit.
TEST(Like, LongPatternsAnswerFastAndRight) {
  const QStringList fields{QStringLiteral("V")};
  const QString b = QStringLiteral("xxb");
  const QString manyA = QString(3000, QLatin1Char('a'));
  QString splits;  // "*a*a*a...*b": every split of a long run of a's
  for (int i = 0; i < 1000; ++i) splits += QStringLiteral("*a");
  const struct {
    const char* what;
    QString pattern;
    QString value;
    bool match;
  } cases[] = {
      {"4,500 %", QString(4500, QLatin1Char('%')) + "b", b, true},
      {"4,500 % no match", QString(4500, QLatin1Char('%')) + "c", b, false},
      {"4,500 * and %", QString(2250, QLatin1Char('*')) + QString(2250, QLatin1Char('%')) + "B", b, true},
      {"mixed run keeps its ?", QStringLiteral("*?*?%_*b"), b, false},
      {"mixed run, enough letters", QStringLiteral("*?*?%*b"), b, true},
      {"1,000 separated runs", splits + "*b", manyA, false},
      {"1,000 separated runs, match", splits + "*", manyA, true},
  };
  for (const auto& c : cases) {
    const auto crit = pv::Criteria::Parse(QStringLiteral("V LIKE '%1'").arg(c.pattern), fields);
    EXPECT_EQ(crit.Matches({c.value}), c.match) << c.what;
  }
}

TEST(Criteria, ASortKeyNamedAgainAddsNothing) {
  const auto keys = pv::ParseSort(QStringLiteral("[Name], Qty DESC, name DESC, [QTY], Price DESC"), kFields);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].field, 1);
  EXPECT_FALSE(keys[0].descending);
  EXPECT_EQ(keys[1].field, 2);
  EXPECT_TRUE(keys[1].descending);
  EXPECT_EQ(keys[2].field, 3);
  EXPECT_TRUE(keys[2].descending);
}

}  // namespace

namespace {

// Whole numbers, exact decimals and numeric text compare with a number by
// their exact values; doubles as doubles. The sort orders them the same way.
TEST(Criteria, ExactNumbersCompareDigitForDigit) {
  const QStringList fields{QStringLiteral("SSCC"), QStringLiteral("Saldo"), QStringLiteral("Codice"),
                           QStringLiteral("Prezzo")};
  const auto exact = [](const char* text) {
    return QVariant::fromValue(*pv::ExactDecimal::FromText(QString::fromLatin1(text)));
  };
  const std::vector<QVariant> row{QVariant::fromValue<qint64>(100000000000000001LL), exact("-1234.567"),
                                  QStringLiteral("376123450000000017"), QVariant(10.5)};
  const struct {
    const char* text;
    bool match;
  } cases[] = {
      {"[SSCC] = 100000000000000001", true},
      {"[SSCC] = 100000000000000000", false},
      {"[SSCC] > 100000000000000000", true},
      {"[SSCC] = '100000000000000001'", true},
      {"[SSCC] = 1.00000000000000001E17", true},
      {"[Saldo] = -1234.567", true},
      {"[Saldo] = -1234.5670", true},
      {"[Saldo] < -1234.5669", true},
      {"[Saldo] > -1234.5671", true},
      {"[Saldo] > 10", false},
      {"[Saldo] = '-1234.567'", true},
      {"[Saldo] LIKE '-1234.5*'", true},
      {"[Codice] = 376123450000000017", true},
      {"[Codice] = 376123450000000016", false},
      {"[Prezzo] > 10", true},
      {"[Prezzo] = 10.5", true},
  };
  for (const auto& c : cases) {
    const pv::Criteria criteria = pv::Criteria::Parse(QString::fromLatin1(c.text), fields);
    EXPECT_EQ(criteria.Matches(row), c.match) << c.text;
  }
  EXPECT_LT(pv::CompareValues(QVariant::fromValue<qint64>(9007199254740992LL),
                              QVariant::fromValue<qint64>(9007199254740993LL)),
            0);
  EXPECT_LT(pv::CompareValues(exact("99999999999999999.98"), exact("99999999999999999.99")), 0);
  EXPECT_GT(pv::CompareValues(exact("10"), QVariant(9.5)), 0);
  EXPECT_EQ(pv::CompareValues(exact("2"), QVariant::fromValue<qint64>(2)), 0);
}

// The sort puts accented letters beside their base letters, in any case;
// the filter still compares by character.
TEST(Criteria, TextSortsInTheItalianOrder) {
  QStringList names{QString::fromUtf8("Zoë"),    QString::fromUtf8("Ètienne"), QString::fromUtf8("Nicolosi"),
                    QString::fromUtf8("Nicolò"), QString::fromUtf8("élodie"),  QStringLiteral("Elena"),
                    QStringLiteral("fabio"),     QString::fromUtf8("Niccolò"), QStringLiteral("D'Angelo"),
                    QStringLiteral("Dell'Orto"), QStringLiteral("de Santis"),  QStringLiteral("Zanetti")};
  std::stable_sort(names.begin(), names.end(),
                   [](const QString& a, const QString& b) { return pv::CompareValues(a, b) < 0; });
  EXPECT_EQ(names, (QStringList{QStringLiteral("D'Angelo"), QStringLiteral("de Santis"), QStringLiteral("Dell'Orto"),
                                QStringLiteral("Elena"), QString::fromUtf8("élodie"), QString::fromUtf8("Ètienne"),
                                QStringLiteral("fabio"), QString::fromUtf8("Niccolò"), QString::fromUtf8("Nicolò"),
                                QStringLiteral("Nicolosi"), QStringLiteral("Zanetti"), QString::fromUtf8("Zoë")}));
  EXPECT_EQ(pv::CompareValues(QStringLiteral("ROSSI"), QStringLiteral("rossi")), 0);
  const QStringList fields{QStringLiteral("Nome")};
  EXPECT_FALSE(pv::Criteria::Parse(QStringLiteral("Nome = 'Nicolo'"), fields).Matches({QString::fromUtf8("Nicolò")}));
  EXPECT_TRUE(pv::Criteria::Parse(QStringLiteral("Nome > 'Zoe'"), fields).Matches({QString::fromUtf8("Élodie")}));
}

}  // namespace
