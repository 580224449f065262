#include "formats/formatstore.h"
#include "formats/numbertext.h"
#include "formatstest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using formatstest::Sheet;

class FormatStoreTest : public formatstest::FormatsTest {
 protected:
  long Position(const QString& code) {
    const std::vector<QString> codes = Codes();
    auto it = std::find_if(codes.begin(), codes.end(),
                           [&](const QString& c) { return c.compare(code, Qt::CaseInsensitive) == 0; });
    return it == codes.end() ? -1 : static_cast<long>(it - codes.begin());
  }
};

TEST_F(FormatStoreTest, ARecordTravelsWholeAndTrimmed) {
  pv::PrintFormat f = Sheet(QStringLiteral("  NEW-1  "), 63.55, 38.125);
  f.Category = QStringLiteral(" cat ");
  f.printer = QStringLiteral("laser  ");
  f.Description = QStringLiteral("  desc");
  f.Label = -7;
  f.Type = 3;
  f.TopMargin = 0.1;
  f.bottommarg = 0.2;
  f.LeftMargin = 0.3;
  f.rightmargin = 0.4;
  f.vertipitch = 0.05;
  f.horizpitch = 2.5;
  f.nOri = 1.5;
  pv::StoreFormat(f);

  const std::optional<pv::PrintFormat> back = pv::FindFormat(QStringLiteral("new-1"));
  ASSERT_TRUE(back);
  pv::PrintFormat expected = f;
  expected.Code = QStringLiteral("NEW-1");
  expected.Category = QStringLiteral("cat");
  expected.printer = QStringLiteral("laser");
  expected.Description = QStringLiteral("desc");
  EXPECT_EQ(*back, expected);
  EXPECT_FALSE(pv::FormatLastUsed(QStringLiteral("NEW-1"))) << "a new row takes the column's default";
  EXPECT_EQ(Codes().back(), QStringLiteral("NEW-1"));

  // A code of 50 characters is kept whole; a longer one is cut.
  pv::StoreFormat(Sheet(QString(50, u'L')));
  pv::StoreFormat(Sheet(QString(49, u'M') + QStringLiteral("xyz")));
  EXPECT_TRUE(pv::FindFormat(QString(50, u'L')));
  EXPECT_TRUE(pv::FindFormat(QString(49, u'M') + QStringLiteral("x")));
}

TEST_F(FormatStoreTest, ReplacingKeepsOneRowItsPlaceAndItsMark) {
  const long rows = static_cast<long>(Codes().size());
  const long place = Position(QStringLiteral("LM4-A4-14"));
  ASSERT_GT(place, 0);
  pv::SetFormatLastUsed(QStringLiteral("LM4-A4-14"), true);

  pv::PrintFormat f = Sheet(QStringLiteral(" lm4-a4-14 "), 99.1, 38.1);
  f.Description = QStringLiteral("cambiata");
  pv::StoreFormat(f);

  EXPECT_EQ(static_cast<long>(Codes().size()), rows);
  EXPECT_EQ(Position(QStringLiteral("LM4-A4-14")), place);
  EXPECT_EQ(pv::FindFormat(QStringLiteral("LM4-A4-14"))->Description, QStringLiteral("cambiata"));
  EXPECT_TRUE(pv::FormatLastUsed(QStringLiteral("LM4-A4-14")));
  // The shared recordset shows the change to its other readers.
  EXPECT_EQ(pv::rsFormat.RecordCount(), rows);
  ASSERT_TRUE(pv::rsFormat.Find(QStringLiteral("CODE = 'lm4-a4-14'")));
  EXPECT_EQ(pv::rsFormat.Text(QStringLiteral("Description")), QStringLiteral("cambiata"));
}

TEST_F(FormatStoreTest, AnyCodeJustWorksApostropheAndCaseIncluded) {
  const QString code = QStringLiteral("L'etichetta \"A4\" 100%_x");
  pv::StoreFormat(Sheet(code));
  EXPECT_TRUE(pv::FindFormat(QStringLiteral(" l'ETICHETTA \"a4\" 100%_X ")));
  EXPECT_FALSE(pv::FindFormat(QStringLiteral("L'etichetta \"A4\" 100__x"))) << "no pattern matching";
  pv::SetFormatLastUsed(code, true);
  EXPECT_TRUE(pv::FormatLastUsed(code));
  EXPECT_TRUE(pv::DeleteFormat(code));
  EXPECT_FALSE(pv::FindFormat(code));
  EXPECT_FALSE(pv::DeleteFormat(code)) << "deleting a code no longer there does nothing";
  EXPECT_FALSE(pv::FindFormat(QString()));
}

TEST_F(FormatStoreTest, DeleteRemovesThatRowOnly) {
  const std::vector<QString> before = Codes();
  ASSERT_TRUE(pv::DeleteFormat(QStringLiteral("lm4-a4-21")));
  std::vector<QString> expected = before;
  expected.erase(std::find(expected.begin(), expected.end(), QStringLiteral("LM4-A4-21")));
  EXPECT_EQ(Codes(), expected);
  EXPECT_EQ(pv::rsFormat.RecordCount(), static_cast<long>(expected.size()));

  // The last format gone, the next store fills the empty table.
  EmptyTable();
  EXPECT_TRUE(pv::AllFormats().empty());
  EXPECT_FALSE(pv::FindFormat(QStringLiteral("LM4-A4-14")));
  pv::StoreFormat(Sheet(QStringLiteral("ONE")));
  EXPECT_EQ(Codes(), std::vector<QString>{QStringLiteral("ONE")});
}

TEST_F(FormatStoreTest, SizesMatchWithinTwoTenthsOfAMillimetre) {
  EmptyTable();
  struct Row {
    const char* code;
    double width, height;
    bool matches100x50;
  };
  const Row rows[] = {
      {"EXACT", 100, 50, true},    {"NEAR", 99.85, 50.1, true},   {"FAR-W", 99.8, 50, false},
      {"FAR-H", 100, 50.2, false}, {"OVER", 100.19, 49.81, true}, {"OTHER", 50, 100, false},
  };
  for (const Row& r : rows) pv::StoreFormat(Sheet(QString::fromLatin1(r.code), r.width, r.height));
  std::vector<QString> expected;
  for (const Row& r : rows) {
    if (r.matches100x50) expected.push_back(QString::fromLatin1(r.code));
  }
  std::vector<QString> got;
  for (const pv::PrintFormat& f : pv::FormatsOfSize(100, 50)) got.push_back(f.Code);
  EXPECT_EQ(got, expected);
  // Exactly 0.2 mm off is out whatever the binary rounding of the sizes.
  EXPECT_FALSE(pv::SameLabelSize(10, 5, 10.2, 5));
  EXPECT_FALSE(pv::SameLabelSize(10.2, 5, 10, 5));
  EXPECT_TRUE(pv::SameLabelSize(10, 5, 10.19, 5.19));
}

TEST_F(FormatStoreTest, FractionalSizesUnderAnItalianLocale) {
  QLocale::setDefault(QLocale(QLocale::Italian));
  std::vector<QString> got;
  for (const pv::PrintFormat& f : pv::FormatsOfSize(99.1, 38.1)) got.push_back(f.Code);
  EXPECT_EQ(got, std::vector<QString>{QStringLiteral("LM4-A4-14")});
  EXPECT_EQ(pv::FormatsOfSize(70, 37).size(), 2u) << "one size in two layouts";

  pv::ClearLastUsedOfSize(99.1, 38.1);
  pv::SetFormatLastUsed(QStringLiteral("LM4-A4-14"), true);
  pv::SetFormatLastUsed(QStringLiteral("LM4-A4-21"), true);
  pv::ClearLastUsedOfSize(99.05, 38.2);
  EXPECT_FALSE(pv::FormatLastUsed(QStringLiteral("LM4-A4-14")));
  EXPECT_TRUE(pv::FormatLastUsed(QStringLiteral("LM4-A4-21"))) << "another size keeps its mark";
}

TEST_F(FormatStoreTest, ImportedRowsKeepTheirValuesAndReadNullsAsEmpty) {
  std::vector<QVariant> values(18);
  values[3] = QStringLiteral("OLD ");
  values[2] = QStringLiteral("12");
  values[5] = 50.5;
  values[17] = 0;
  std::int32_t added = -1;
  pv::AddFormatRows({values}, added);
  EXPECT_EQ(added, 1);
  const std::optional<pv::PrintFormat> f = pv::FindFormat(QStringLiteral("old"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Code, QStringLiteral("OLD "));
  EXPECT_EQ(f->Label, 12);
  EXPECT_EQ(f->Width, 50.5);
  EXPECT_EQ(f->Height, 0);
  EXPECT_TRUE(f->Category.isEmpty());
  EXPECT_TRUE(f->Description.isEmpty());

  // A code already there, in any case, is refused and leaves nothing behind.
  const size_t rows = Codes().size();
  std::vector<QVariant> good = values;
  good[3] = QStringLiteral("NEW");
  std::vector<QVariant> taken = values;
  taken[3] = QStringLiteral("lm4-a4-14");
  std::vector<QVariant> none = values;
  none[3] = QVariant();
  EXPECT_THROW(pv::AddFormatRows({good, taken, values}, added), pv::DbError);
  EXPECT_EQ(added, 1);
  EXPECT_THROW(pv::AddFormatRows({none}, added), pv::DbError);
  EXPECT_EQ(added, 0);
  EXPECT_EQ(Codes().size(), rows + 1);
  EXPECT_EQ(Codes().back(), QStringLiteral("NEW"));
  EXPECT_EQ(pv::rsFormat.RecordCount(), static_cast<long>(rows + 1));
}

TEST_F(FormatStoreTest, AClosedDatabaseIsAnErrorNotACrash) {
  pv::CloseDatabase();
  EXPECT_THROW(pv::AllFormats(), pv::DbError);
  EXPECT_THROW(pv::StoreFormat(Sheet(QStringLiteral("X"))), pv::DbError);
  EXPECT_THROW(pv::DeleteFormat(QStringLiteral("X")), pv::DbError);
}

}  // namespace
