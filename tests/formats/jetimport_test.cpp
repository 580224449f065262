// The import read through the real Access reader, from archives written by
// the tests' Jet writer.
#include "app/dialogs.h"
#include "formats/formatimport.h"
#include "formats/formatstore.h"
#include "formatstest.h"
#include "platform/stringtable.h"
#include "tests/support/jetwriter.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using pv::testing::JetColumn;
using pv::testing::JetTable;
using pv::testing::JetType;

class ChooseFile : public pv::CommonDialogHost {
 public:
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest&) override {
    return pv::FileDialogResult{path, 1};
  }
  QString path;
};

// label01 as the older program wrote it, the width spelled Witdh.
JetTable Label01(const std::vector<std::pair<QString, int>>& codesAndTypes) {
  JetTable t{QStringLiteral("label01"), {}, {}};
  const std::pair<const char*, JetType> columns[] = {
      {"Category", JetType::Text},      {"printer", JetType::Text},      {"Label", JetType::Short},
      {"Code", JetType::Text},          {"Description", JetType::Text},  {"Witdh", JetType::Double},
      {"Height", JetType::Double},      {"nOri", JetType::Double},       {"nVer", JetType::Double},
      {"TopMargin", JetType::Double},   {"bottommarg", JetType::Double}, {"LeftMargin", JetType::Double},
      {"rightmargin", JetType::Double}, {"vertipitch", JetType::Double}, {"horizpitch", JetType::Double},
      {"sheetwidth", JetType::Double},  {"sheetdepth", JetType::Double}, {"Type", JetType::Short}};
  for (const auto& [name, type] : columns) t.columns.push_back(JetColumn{QString::fromLatin1(name), type});
  for (const auto& [code, type] : codesAndTypes) {
    t.rows.push_back({QStringLiteral("Vecchi"), QVariant(), QVariant(3), code, QStringLiteral("dal vecchio archivio"),
                      99.1, 38.1, 2.0, 7.0, 15.15, 15.15, 4.65, 4.65, 0.0, 2.5, 210.0, 297.0, QVariant(type)});
  }
  return t;
}

class JetImportTest : public formatstest::FormatsTest {
 protected:
  void SetUp() override {
    formatstest::FormatsTest::SetUp();
    m_old = pv::SetCommonDialogHost(&m_dialogs);
    m_dialogs.path = Home(QStringLiteral("LABELDATA.MDB"));
  }
  void TearDown() override {
    pv::SetCommonDialogHost(m_old);
    formatstest::FormatsTest::TearDown();
  }
  void Write(const std::vector<JetTable>& tables) {
    ASSERT_TRUE(pv::testing::WriteJetDatabase(m_dialogs.path, tables));
  }
  QString OnlyBox() const { return boxes.size() == 1 ? boxes[0].text : QStringLiteral("%1 boxes").arg(boxes.size()); }

 private:
  ChooseFile m_dialogs;
  pv::CommonDialogHost* m_old = nullptr;
};

TEST_F(JetImportTest, CopiesTheUserRowsOfAnAccessArchive) {
  Write({Label01({{QStringLiteral("OLD-1"), 0},
                  {QStringLiteral("OLD-P"), 1},
                  {QStringLiteral("OLD-2"), 0},
                  {QStringLiteral("OLD-C"), 2},
                  {QStringLiteral("OLD-3"), 0}})});
  const size_t before = Codes().size();
  EXPECT_TRUE(pv::ImportOldFormats());
  EXPECT_EQ(OnlyBox(), pv::LoadResString(31029) + QStringLiteral(" 3"));
  EXPECT_EQ(Codes().size(), before + 3);
  const std::optional<pv::PrintFormat> f = pv::FindFormat(QStringLiteral("OLD-2"));
  ASSERT_TRUE(f);
  EXPECT_EQ(f->Width, 99.1);
  EXPECT_EQ(f->horizpitch, 2.5);
  EXPECT_EQ(f->Label, 3);
  EXPECT_EQ(f->Type, 0);
  EXPECT_TRUE(f->printer.isEmpty());
  EXPECT_FALSE(pv::FindFormat(QStringLiteral("OLD-P")));
}

TEST_F(JetImportTest, EachOutcomeHasItsMessage) {
  struct Case {
    const char* name;
    std::vector<JetTable> tables;  // empty: a file that is no Access database
    int message;
    std::vector<const char*> added;
  };
  const Case cases[] = {
      {"no user formats", {Label01({{QStringLiteral("P"), 1}, {QStringLiteral("G"), 3}})}, 31031, {}},
      {"a code already there after two good rows",
       {Label01({{QStringLiteral("N-1"), 0},
                 {QStringLiteral("N-2"), 0},
                 {QStringLiteral("LM4-A4-14"), 0},
                 {QStringLiteral("N-3"), 0}})},
       31032,
       {"N-1", "N-2"}},
      {"no table label01", {JetTable{QStringLiteral("altro"), {{QStringLiteral("A"), JetType::Text}}, {}}}, 31030, {}},
      {"not an Access file", {}, 31030, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    if (c.tables.empty()) {
      apptest::WriteAll(Home(QStringLiteral("LABELDATA.MDB")), QByteArray(8192, 'x'));
    } else {
      Write(c.tables);
    }
    std::vector<QString> expected = Codes();
    for (const char* code : c.added) expected.push_back(QString::fromLatin1(code));
    pv::ImportOldFormats();
    EXPECT_EQ(OnlyBox(), pv::LoadResString(c.message));
    EXPECT_EQ(boxes.front().icon, pv::MsgIcon::Information);
    EXPECT_EQ(Codes(), expected);
  }
}

TEST_F(JetImportTest, RowsTheEditDialogWouldRefuseAreLeftOut) {
  JetTable t = Label01({{QStringLiteral("J-1"), 0},
                        {QStringLiteral("J-NAN"), 0},
                        {QStringLiteral("J-HUGE"), 0},
                        {QStringLiteral("J-NEG"), 0},
                        {QStringLiteral("J-BIG"), 0},
                        {QStringLiteral("J-INF"), 0},
                        {QStringLiteral("J-NULL"), 0},
                        {QStringLiteral("J-2"), 0}});
  t.rows[1][5] = std::numeric_limits<double>::quiet_NaN();  // Witdh
  t.rows[2][7] = 40000.0;                                   // nOri
  t.rows[2][8] = 40000.0;                                   // nVer
  t.rows[3][11] = -1.0;                                     // LeftMargin
  t.rows[4][16] = 1e308;                                    // sheetdepth
  t.rows[5][6] = std::numeric_limits<double>::infinity();   // Height
  t.rows[6][15] = QVariant();                               // sheetwidth
  Write({t});
  std::vector<QString> expected = Codes();
  expected.push_back(QStringLiteral("J-1"));
  expected.push_back(QStringLiteral("J-2"));
  EXPECT_TRUE(pv::ImportOldFormats());
  EXPECT_EQ(OnlyBox(), pv::LoadResString(31029) + QStringLiteral(" 2\nFormati non validi, non importati: 6"));
  EXPECT_EQ(Codes(), expected);
}

}  // namespace
