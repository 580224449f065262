// The sort control and dialog: the click rule, sort strings in and out, and
// the dialog's answer.
#include "datasources/windows/dlgsort.h"
#include "datasources/models/sortlevels.h"
#include "tests/support/app_fixture.h"
#include "windowstest.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace {

using Model = pv::OLEDBFilterModel;

Model WithFields(const QStringList& fields) {
  Model m;
  for (const QString& f : fields) m.AddField(f);
  return m;
}

// field selection / field enabled / order selection / order enabled per level.
QString Levels(const Model& m) {
  QStringList out;
  for (int k = 0; k < Model::kLevels; ++k) {
    const Model::Level& l = m.level(k);
    out << QStringLiteral("%1%2/%3%4")
               .arg(l.field)
               .arg(l.fieldEnabled ? QStringLiteral("e") : QStringLiteral("d"))
               .arg(l.order)
               .arg(l.orderEnabled ? QStringLiteral("e") : QStringLiteral("d"));
  }
  return out.join(QLatin1Char(' '));
}

const QStringList kFields{QStringLiteral("Nome"), QStringLiteral("Città"), QStringLiteral("CAP"),
                          QStringLiteral("Via")};

class SortTest : public pv::test::AppFixture {};

TEST_F(SortTest, ClickRuleKeepsTheLevelsInStep) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> clicks;  // (level, selection)
    const char* levels;
  };
  const std::vector<Case> cases = {
      {"start", {}, "0e/-1d -1d/-1d -1d/-1d -1d/-1d"},
      {"a field on level 0", {{0, 2}}, "2e/0e -1e/-1d -1d/-1d -1d/-1d"},
      {"three levels", {{0, 1}, {1, 2}, {2, 3}}, "1e/0e 2e/0e 3e/0e -1e/-1d"},
      {"level 3 opens nothing more", {{0, 1}, {1, 2}, {2, 3}, {3, 4}}, "1e/0e 2e/0e 3e/0e 4e/0e"},
      {"(Nessuno) on level 1 closes 2 and 3", {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {1, 0}}, "1e/0e 0e/-1d -1d/-1d -1d/-1d"},
      {"another field keeps the direction", {{0, 1}, {0, 3}}, "3e/0e -1e/-1d -1d/-1d -1d/-1d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Model m = WithFields(kFields);
    for (const auto& [level, selection] : c.clicks) m.ClickField(level, selection);
    EXPECT_EQ(Levels(m), QString::fromLatin1(c.levels));
  }
  Model m = WithFields(kFields);
  m.ClickField(0, 1);
  m.SelectOrder(0, 1);
  m.ClickField(0, 2);
  EXPECT_EQ(m.level(0).order, 1);
}

TEST_F(SortTest, SortStringsRoundTrip) {
  Model m = WithFields(kFields);
  EXPECT_EQ(m.GetSortString(), QString());
  m.ClickField(0, 1);
  m.ClickField(1, 2);
  m.SelectOrder(1, 1);
  const QString s = m.GetSortString();
  EXPECT_EQ(s, QStringLiteral("[Nome] ASC, [Città] DESC"));

  Model back = WithFields(kFields);
  back.SetSortString(s);
  EXPECT_EQ(Levels(back), QStringLiteral("1e/0e 2e/1e 0e/-1d -1d/-1d"));
  EXPECT_EQ(back.GetSortString(), s);

  Model empty = WithFields(kFields);
  empty.SetSortString(QString());
  EXPECT_EQ(Levels(empty), QStringLiteral("0e/-1d -1d/-1d -1d/-1d -1d/-1d"));
  EXPECT_EQ(empty.GetSortString(), QString());
}

TEST_F(SortTest, TheParserReadsTheDirectionAtTheEndAndTheFieldExactly) {
  struct Case {
    QStringList fields;
    QString in;
    QString out;
  };
  const std::vector<Case> cases = {
      // A field whose name holds "ASC" stays descending.
      {{QStringLiteral("CASCO")}, QStringLiteral("[CASCO] DESC"), QStringLiteral("[CASCO] DESC")},
      // A field is not taken for another whose name it starts.
      {{QStringLiteral("ID"), QStringLiteral("IDCLIENTE")},
       QStringLiteral("[IDCLIENTE] ASC, [ID] DESC"),
       QStringLiteral("[IDCLIENTE] ASC, [ID] DESC")},
      // A field not in the list leaves its level without one.
      {kFields, QStringLiteral("[Altro] ASC, [Nome] DESC"), QStringLiteral("[Nome] DESC")},
      // Lower-case directions are not directions: the clause joins the next.
      {kFields, QStringLiteral("[Nome] asc, [CAP] DESC"), QStringLiteral("[Nome] DESC")},
      // A comma inside brackets belongs to the name.
      {{QStringLiteral("A,B"), QStringLiteral("C")},
       QStringLiteral("[A,B] DESC, [C] ASC"),
       QStringLiteral("[A,B] DESC, [C] ASC")},
      // Five clauses: the fifth is ignored.
      {{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")},
       QStringLiteral("[A] ASC, [B] DESC, [C] ASC, [D] DESC, [E] ASC"),
       QStringLiteral("[A] ASC, [B] DESC, [C] ASC, [D] DESC")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in.toStdString());
    Model m = WithFields(c.fields);
    m.SetSortString(c.in);
    EXPECT_EQ(m.GetSortString(), c.out);
  }
  Model five = WithFields(
      {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"), QStringLiteral("E")});
  five.SetSortString(QStringLiteral("[A] ASC, [B] DESC, [C] ASC, [D] DESC, [E] ASC"));
  EXPECT_EQ(Levels(five), QStringLiteral("1e/0e 2e/1e 3e/0e 4e/1e"));
}

TEST_F(SortTest, TheDialogAnswersTheLevelsOnOkAndNothingOtherwise) {
  for (int result : {int(QDialog::Accepted), int(QDialog::Rejected)}) {
    pv::dlgSort dialog;
    for (const QString& f : kFields) dialog.OLEDBFilter1()->AddField(f);
    dialog.SetSortString(QStringLiteral("[CAP] DESC"));
    QComboBox* level1 = dialog.OLEDBFilter1()->FieldList(1);
    EXPECT_TRUE(level1->isEnabled());
    EXPECT_EQ(level1->currentIndex(), 0);
    EXPECT_FALSE(dialog.OLEDBFilter1()->FieldList(2)->isEnabled());
    emit level1->activated(4);
    EXPECT_TRUE(dialog.OLEDBFilter1()->FieldList(2)->isEnabled());
    EXPECT_EQ(dialog.OLEDBFilter1()->OrderList(1)->currentIndex(), 0);
    dialog.done(result);
    EXPECT_EQ(dialog.sSort, result == QDialog::Accepted ? QStringLiteral("[CAP] DESC, [Via] ASC") : QString());
  }
  pv::dlgSort closed;
  closed.OLEDBFilter1()->AddField(QStringLiteral("Nome"));
  closed.SetSortString(QStringLiteral("[Nome] ASC"));
  closed.show();
  closed.close();
  EXPECT_EQ(closed.sSort, QString());
}

}  // namespace
