#include "core/ini.h"

#include "tests/app/apptest.h"

#include <QSaveFile>

namespace {

using apptest::ReadAll;
using apptest::WriteAll;

class IniTest : public apptest::ShellTest {
 protected:
  QString file() const { return Home(QStringLiteral("t.ini")); }
};

TEST_F(IniTest, ReadsTableOfCases) {
  WriteAll(file(),
           "[GENERAL]\r\n"
           "A=Vero\r\n"
           "B=vero\r\n"
           "C=\r\n"
           "D=Falso\r\n"
           "   E   =    some text  \r\n"
           "Mixed_Case=m\r\n"
           "F=1.0\r\n"
           "[other]\n"
           "G=only here\n"
           "[general]\n"
           "H=second section of the same name\n");
  const struct {
    const char* section;
    const char* key;
    QVariant expected;
  } cases[] = {
      {"GENERAL", "A", QVariant(1)},
      {"GENERAL", "B", QVariant(QStringLiteral("vero"))},
      {"GENERAL", "C", QVariant(0)},
      {"GENERAL", "D", QVariant(0)},
      {"GENERAL", "E", QVariant(QStringLiteral("some text"))},
      {"general", "MIXED_CASE", QVariant(QStringLiteral("m"))},
      {"GENERAL", "F", QVariant(QStringLiteral("1.0"))},
      {"GENERAL", "G", QVariant(0)},  // in another section
      {"OTHER", "g", QVariant(QStringLiteral("only here"))},
      {"GENERAL", "MISSING", QVariant(0)},
      {"NOSECTION", "A", QVariant(0)},
  };
  for (const auto& c : cases) {
    const QVariant v = pv::ReadIni(file(), QString::fromLatin1(c.section), QString::fromLatin1(c.key));
    EXPECT_EQ(v.metaType(), c.expected.metaType()) << c.section << "/" << c.key;
    EXPECT_EQ(v, c.expected) << c.section << "/" << c.key;
  }
  EXPECT_EQ(pv::ReadIni(Home(QStringLiteral("missing.ini")), QStringLiteral("GENERAL"), QStringLiteral("A")),
            QVariant(0));
}

TEST_F(IniTest, FlagsAreTrueOnlyForTheNumberOne) {
  const struct {
    const char* text;
    bool expected;
  } cases[] = {{"1", true},  {"1.0", true},   {" 1", true},   {"0", false},    {"-1", false},
               {"2", false}, {"Vero", false}, {"yes", false}, {"1abc", false}, {"", false}};
  for (const auto& c : cases) {
    WriteAll(file(), QByteArray("[PRINTER]\r\nPRINT_BORDER=") + c.text + "\r\n");
    EXPECT_EQ(pv::ReadIniFlag(file(), QStringLiteral("PRINTER"), QStringLiteral("PRINT_BORDER")), c.expected) << c.text;
  }
  EXPECT_FALSE(pv::ReadIniFlag(Home(QStringLiteral("missing.ini")), QStringLiteral("PRINTER"), QStringLiteral("X")));
}

TEST_F(IniTest, LongValuesAreCutAt1999Characters) {
  WriteAll(file(), "[S]\r\nK=" + QByteArray(2500, 'x') + "\r\n");
  EXPECT_EQ(pv::ReadIni(file(), QStringLiteral("S"), QStringLiteral("K")).toString().size(), 1999);
}

TEST_F(IniTest, ConversionsToTheSettingsTypes) {
  EXPECT_EQ(pv::IniToLong(QVariant(QStringLiteral("12.5"))), 12);  // half to even
  EXPECT_EQ(pv::IniToLong(QVariant(QStringLiteral("13.5"))), 14);
  EXPECT_EQ(pv::IniToLong(QVariant(QStringLiteral("-120"))), -120);
  EXPECT_EQ(pv::IniToLong(QVariant(QStringLiteral("abc"))), 0);
  EXPECT_EQ(pv::IniToLong(QVariant(QStringLiteral("12abc"))), 0);
  EXPECT_EQ(pv::IniToLong(QVariant(1)), 1);
  EXPECT_EQ(pv::IniToInteger(QVariant(QStringLiteral("70000"))), 0);  // out of range
  EXPECT_EQ(pv::IniToInteger(QVariant(QStringLiteral(" 1"))), 1);
  EXPECT_FLOAT_EQ(pv::IniToSingle(QVariant(QStringLiteral(" 2.5"))), 2.5f);
  EXPECT_FLOAT_EQ(pv::IniToSingle(QVariant(QStringLiteral("2,5"))), 0.0f);  // "." is the decimal point
  EXPECT_FLOAT_EQ(pv::IniToSingle(QVariant(QStringLiteral("1E+300"))), 0.0f);
  EXPECT_DOUBLE_EQ(pv::IniToLeadingDouble(QVariant(QStringLiteral("101.6mm"))), 101.6);
  EXPECT_DOUBLE_EQ(pv::IniToLeadingDouble(QVariant(QStringLiteral("abc"))), 0.0);
  EXPECT_DOUBLE_EQ(pv::IniToLeadingDouble(QVariant(0)), 0.0);
  EXPECT_EQ(pv::IniToText(QVariant(0)), QStringLiteral("0"));
}

TEST_F(IniTest, WritesInPlaceAtTheEndOfTheSectionOrInANewSection) {
  WriteAll(file(), "; kept\r\n[A]\r\nX=1\r\nY=2\r\n\r\n[B]\r\nZ=3\r\n");
  pv::WriteIni(file(), QStringLiteral("a"), QStringLiteral("X"), QVariant(QStringLiteral("9")));    // in place
  pv::WriteIni(file(), QStringLiteral("A"), QStringLiteral("W"), QVariant(QStringLiteral("new")));  // end of A
  pv::WriteIni(file(), QStringLiteral("C"), QStringLiteral("K"), QVariant(QStringLiteral("v")));    // new section
  EXPECT_EQ(ReadAll(file()), QByteArray("; kept\r\n[A]\r\nX=9\r\nY=2\r\nW=new\r\n\r\n[B]\r\nZ=3\r\n[C]\r\nK=v\r\n"));
  // A new file.
  const QString fresh = Home(QStringLiteral("fresh.ini"));
  pv::WriteIni(fresh, QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH"), QVariant(QStringLiteral("0")));
  EXPECT_EQ(ReadAll(fresh), QByteArray("[GENERAL]\r\nDEFAULT_PATH=0\r\n"));
  EXPECT_EQ(QDir(Home(QString())).entryList(QDir::Files).size(), 2);  // no temporary file left behind
}

TEST_F(IniTest, NumbersAreWrittenInTheStrForm) {
  const struct {
    QVariant value;
    const char* text;
  } cases[] = {
      {QVariant::fromValue(2.5f), " 2.5"},
      {QVariant::fromValue(std::int32_t{-120}), "-120"},
      {QVariant::fromValue(std::int16_t{0}), " 0"},
      {QVariant::fromValue(101.6), " 101.6"},
      {QVariant::fromValue(0.5), " .5"},
      {QVariant(QStringLiteral("0012")), "0012"},
  };
  for (const auto& c : cases) {
    pv::WriteIni(file(), QStringLiteral("S"), QStringLiteral("K"), c.value);
    EXPECT_EQ(ReadAll(file()), QByteArray("[S]\r\nK=") + c.text + "\r\n") << c.text;
  }
  pv::WriteIniFlag(file(), QStringLiteral("S"), QStringLiteral("K"), pv::VbTrue);
  EXPECT_EQ(ReadAll(file()), QByteArray("[S]\r\nK=1\r\n"));
  pv::WriteIniFlag(file(), QStringLiteral("S"), QStringLiteral("K"), 0);
  EXPECT_EQ(ReadAll(file()), QByteArray("[S]\r\nK=0\r\n"));
}

TEST_F(IniTest, ALineBreakInATextCannotPlantAKey) {
  pv::WriteIni(file(), QStringLiteral("SETTING"), QStringLiteral("FORMATCODE"),
               QVariant(QStringLiteral("A\r\n[PRINTER]\nPRINT_BORDER=1")));
  EXPECT_EQ(pv::ReadIni(file(), QStringLiteral("SETTING"), QStringLiteral("FORMATCODE")).toString(),
            QStringLiteral("A [PRINTER] PRINT_BORDER=1"));
  EXPECT_FALSE(pv::ReadIniFlag(file(), QStringLiteral("PRINTER"), QStringLiteral("PRINT_BORDER")));
}

TEST_F(IniTest, TextIsStoredAsWindows1252) {
  pv::WriteIni(file(), QStringLiteral("GENERAL"), QStringLiteral("DEFAULT_PATH"), QVariant(QStringLiteral("/città/€")));
  EXPECT_EQ(ReadAll(file()), QByteArray("[GENERAL]\r\nDEFAULT_PATH=/citt\xE0/\x80\r\n"));
  EXPECT_EQ(pv::ReadIni(file(), QStringLiteral("general"), QStringLiteral("default_path")).toString(),
            QStringLiteral("/città/€"));
}

}  // namespace
