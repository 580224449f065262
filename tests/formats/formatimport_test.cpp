#include "app/dialogs.h"
#include "formats/formatimport.h"
#include "formats/formatstore.h"
#include "formatstest.h"
#include "platform/stringtable.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>

namespace {

// The open dialog answers with a chosen file name, or cancels.
class FakeDialogs : public pv::CommonDialogHost {
 public:
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& request) override {
    requests.push_back(request);
    if (!answer) return std::nullopt;
    return pv::FileDialogResult{*answer, 1};
  }
  std::optional<QString> answer;
  std::vector<pv::FileDialogRequest> requests;
};

// An older archive: table label01 with the width spelled Witdh.
class FakeArchive : public pv::SourceReader {
 public:
  explicit FakeArchive(pv::SourceTable table) : m_table(std::move(table)) {}
  QStringList Tables() override { return {QStringLiteral("label01")}; }
  std::vector<pv::SourceColumn> Columns(const QString&) override { return m_table.columns; }
  pv::SourceTable ReadTable(const QString& table) override {
    if (table.compare(QStringLiteral("label01"), Qt::CaseInsensitive) != 0 || m_table.columns.empty()) {
      throw pv::DbError(pv::DbErrProvider, QStringLiteral("no table"));
    }
    return m_table;
  }
  QString TableFile(const QString&) override { return {}; }

 private:
  pv::SourceTable m_table;
};

const char* const kColumns[] = {"Category",    "printer",    "Label",      "Code",       "Description", "Witdh",
                                "Height",      "nOri",       "nVer",       "TopMargin",  "bottommarg",  "LeftMargin",
                                "rightmargin", "vertipitch", "horizpitch", "sheetwidth", "sheetdepth",  "TYPE"};

std::vector<QVariant> OldRow(const QString& code, int type, double width = 70) {
  return {QStringLiteral("cat  "),
          QStringLiteral("laser"),
          qint64{42},
          code,
          QVariant(),
          width,
          37.0,
          3.0,
          8.0,
          0.5,
          0.5,
          0.0,
          0.0,
          0.0,
          0.0,
          210.0,
          297.0,
          qint64{type}};
}

pv::SourceTable Archive(std::vector<std::vector<QVariant>> rows) {
  pv::SourceTable t;
  for (const char* c : kColumns) t.columns.push_back({QString::fromLatin1(c), pv::ColumnType::Text});
  t.rows = std::move(rows);
  return t;
}

class FormatImportTest : public formatstest::FormatsTest {
 protected:
  void SetUp() override {
    formatstest::FormatsTest::SetUp();
    m_oldDialogs = pv::SetCommonDialogHost(&dialogs);
    // The open dialog takes only a file that is there; the fake reader reads it.
    archive = Home(QStringLiteral("LABELDATA.MDB"));
    apptest::WriteAll(archive, "old archive");
    dialogs.answer = archive;
  }
  void TearDown() override {
    pv::SetCommonDialogHost(m_oldDialogs);
    formatstest::FormatsTest::TearDown();
  }
  bool Import(const pv::SourceTable& table) {
    return pv::ImportOldFormats([&](const pv::SourceLocation& where) -> std::unique_ptr<pv::SourceReader> {
      opened.push_back(where);
      return std::make_unique<FakeArchive>(table);
    });
  }
  void ExpectOneBox(const QString& text) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  }

  FakeDialogs dialogs;
  QString archive;
  std::vector<pv::SourceLocation> opened;

 private:
  pv::CommonDialogHost* m_oldDialogs = nullptr;
};

TEST_F(FormatImportTest, CopiesTheUserFormatsOnlyAsTheyAre) {
  const size_t before = Codes().size();
  EXPECT_TRUE(Import(
      Archive({OldRow(QStringLiteral("U1"), 0), OldRow(QStringLiteral("P1"), 1), OldRow(QStringLiteral("U2"), 0, 69.85),
               OldRow(QStringLiteral("C1"), 2), OldRow(QStringLiteral("U3 "), 0)})));
  ExpectOneBox(pv::LoadResString(31029) + QStringLiteral(" 3"));
  EXPECT_TRUE(boxes[0].text.endsWith(QStringLiteral(":  3"))) << "two blanks before the count";

  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].defaultExt, QStringLiteral("mdb"));
  EXPECT_EQ(dialogs.requests[0].fileName, QStringLiteral("labeldata.mdb"));
  EXPECT_EQ(dialogs.requests[0].title, pv::LoadResString(31000));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].kind, pv::SourceKind::Access);
  EXPECT_EQ(opened[0].path, archive);

  const std::vector<QString> codes = Codes();
  ASSERT_EQ(codes.size(), before + 3);
  EXPECT_EQ(std::vector<QString>(codes.end() - 3, codes.end()),
            (std::vector<QString>{QStringLiteral("U1"), QStringLiteral("U2"), QStringLiteral("U3 ")}));
  const pv::PrintFormat u2 = *pv::FindFormat(QStringLiteral("U2"));
  EXPECT_EQ(u2.Width, 69.85) << "Witdh goes into Width";
  EXPECT_EQ(u2.Label, 42);
  EXPECT_EQ(u2.Type, 0);
  EXPECT_EQ(u2.Category, QStringLiteral("cat  ")) << "copied as it is";
  EXPECT_TRUE(u2.Description.isEmpty());
  EXPECT_FALSE(pv::FormatLastUsed(QStringLiteral("U2")));
  EXPECT_EQ(pv::rsFormat.RecordCount(), static_cast<long>(before + 3));
}

TEST_F(FormatImportTest, ARefusedRowStopsTheImportAndKeepsTheRowsBefore) {
  struct Case {
    const char* name;
    std::vector<std::vector<QVariant>> rows;
    std::vector<const char*> kept;
  };
  const Case cases[] = {
      {"a code already in the archive",
       {OldRow(QStringLiteral("A1"), 0), OldRow(QStringLiteral("A2"), 0), OldRow(QStringLiteral("lm4-a4-14"), 0),
        OldRow(QStringLiteral("A3"), 0)},
       {"A1", "A2"}},
      {"the same code twice in the old archive",
       {OldRow(QStringLiteral("B1"), 0), OldRow(QStringLiteral("B1"), 0), OldRow(QStringLiteral("B2"), 0)},
       {"B1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    const std::vector<QString> before = Codes();
    EXPECT_TRUE(Import(Archive(c.rows))) << "the list is filled again after a partial import";
    ExpectOneBox(pv::LoadResString(31032));
    std::vector<QString> expected = before;
    for (const char* k : c.kept) expected.push_back(QString::fromLatin1(k));
    EXPECT_EQ(Codes(), expected);
    EXPECT_EQ(pv::rsFormat.Editing(), pv::Recordset::EditMode::None) << "nothing left pending";
    EXPECT_EQ(pv::rsFormat.RecordCount(), static_cast<long>(expected.size()));
  }
}

TEST_F(FormatImportTest, AnArchiveThatCannotBeReadOrHasNoUserFormatsChangesNothing) {
  const std::vector<QString> before = Codes();
  // No user formats.
  EXPECT_FALSE(Import(Archive({OldRow(QStringLiteral("P1"), 1), OldRow(QStringLiteral("P2"), 3)})));
  ExpectOneBox(pv::LoadResString(31031));
  // No table label01 (or no Type column).
  boxes.clear();
  EXPECT_FALSE(Import(pv::SourceTable{}));
  ExpectOneBox(pv::LoadResString(31030));
  // Not an Access file.
  boxes.clear();
  EXPECT_FALSE(pv::ImportOldFormats([](const pv::SourceLocation&) -> std::unique_ptr<pv::SourceReader> {
    throw pv::DbError(pv::DbErrProvider, QStringLiteral("not an Access file"));
  }));
  ExpectOneBox(pv::LoadResString(31030));
  // Cancelled file dialog: no message at all.
  boxes.clear();
  dialogs.answer.reset();
  opened.clear();
  EXPECT_FALSE(Import(Archive({OldRow(QStringLiteral("U1"), 0)})));
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(Codes(), before);
}

TEST_F(FormatImportTest, CountsPastThirtyTwoThousandRows) {
  EmptyTable();
  std::vector<std::vector<QVariant>> rows;
  for (int i = 0; i < 32770; ++i) rows.push_back(OldRow(QStringLiteral("R%1").arg(i), 0));
  EXPECT_TRUE(Import(Archive(rows)));
  ExpectOneBox(pv::LoadResString(31029) + QStringLiteral(" 32770"));
}

// The closing message when `refused` rows were left out.
QString ImportedAndRefused(int imported, int refused) {
  return pv::LoadResString(31029) +
         QStringLiteral(" %1\nFormati non validi, non importati: %2").arg(imported).arg(refused);
}

TEST_F(FormatImportTest, ARowTheEditDialogWouldRefuseIsLeftOutAndTheOthersCopied) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // Columns in label01's order: 0 Category, 1 printer, 2 Label, 3 Code,
  // 4 Description, 5 Witdh, 6 Height, 7 nOri, 8 nVer, 9 TopMargin,
  // 10 bottommarg, 11 LeftMargin, 12 rightmargin, 13 vertipitch,
  // 14 horizpitch, 15 sheetwidth, 16 sheetdepth, 17 Type. The valid row is
  // 3 x 8 labels of 70 x 37 mm with 0.5 mm above and below, on A4.
  struct Case {
    const char* name;
    std::map<int, QVariant> values;  // over the valid row's
  };
  const Case cases[] = {
      {"40,000 x 40,000 labels", {{7, 40000.0}, {8, 40000.0}}},
      {"NaN width", {{5, kNaN}}},
      {"NaN sheet height, the last number", {{16, kNaN}}},
      {"infinite height", {{6, kInf}}},
      {"minus infinite margin", {{11, -kInf}}},
      {"negative margin", {{12, -1.0}}},
      {"negative gap", {{13, -0.5}}},
      {"1e308 sheet width", {{15, 1e308}}},
      {"1e308 labels across", {{7, 1e308}}},
      {"just above the range", {{16, 100000.5}}},
      {"the range on an integer", {{15, qint64{100001}}}},
      {"zero width", {{5, 0.0}}},
      {"zero height", {{6, 0.0}}},
      {"half a label across", {{7, 0.5}}},
      {"no label down", {{8, 0.0}}},
      {"a gap across that overflows the sheet", {{14, 1.0}}},
      {"a gap down that overflows the sheet", {{13, 0.2}}},
      {"a sheet narrower than the labels", {{15, 209.0}}},
      {"a margin that pushes the labels off", {{11, 0.6}}},
      {"a Null number", {{6, QVariant()}}},
      {"a text that is no number", {{5, QStringLiteral("abc")}}},
      {"a number with an exponent", {{5, QStringLiteral("7e1")}}},
      {"a logical for a number", {{8, true}}},
      {"a date for a number", {{7, QDate(2001, 1, 3)}}},
      {"a blank code", {{3, QStringLiteral("   ")}}},
      {"a Null code", {{3, QVariant()}}},
      {"a label number past 16 bits", {{2, qint64{40000}}}},
      {"a label number with a fraction", {{2, 1.5}}},
      {"a label number that is no number", {{2, QStringLiteral("x")}}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    const QString first = QStringLiteral("G%1-A").arg(n), last = QStringLiteral("G%1-B").arg(n);
    std::vector<QVariant> bad = OldRow(QStringLiteral("BAD-%1").arg(n++), 0);
    for (const auto& [column, value] : c.values) bad[static_cast<size_t>(column)] = value;
    std::vector<QString> expected = Codes();
    EXPECT_TRUE(Import(Archive({OldRow(first, 0), bad, OldRow(last, 0)})));
    ExpectOneBox(ImportedAndRefused(2, 1));
    expected.push_back(first);
    expected.push_back(last);
    EXPECT_EQ(Codes(), expected);
    EXPECT_EQ(pv::rsFormat.RecordCount(), static_cast<long>(expected.size()));
  }
}

TEST_F(FormatImportTest, AnImportedRowIsStoredAsTheRecordHoldsIt) {
  std::vector<QVariant> texts = OldRow(QStringLiteral("LONG"), 0);
  texts[0] = QString(70, u'c');
  texts[4] = QString(100000, u'd');
  texts[3] = QStringLiteral("LONG") + QString(56, u'!');
  std::vector<QVariant> typed = OldRow(QStringLiteral("TYPED"), 0);
  typed[5] = QStringLiteral("69,5");  // read as the dialog reads a typed number
  typed[15] = QStringLiteral(" 210.0 ");
  typed[7] = qint64{3};
  typed[2] = QVariant();
  typed[17] = 0.0;
  std::vector<QVariant> edge = OldRow(QStringLiteral("EDGE"), 0);
  edge[15] = 100000.0;  // the top of the range
  edge[5] = 1e-300;     // a label size need only be above zero
  edge[11] = 0.4;
  EXPECT_TRUE(Import(Archive({texts, typed, edge})));
  ExpectOneBox(pv::LoadResString(31029) + QStringLiteral(" 3"));

  const std::vector<QString> codes = Codes();
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes[codes.size() - 3], QStringLiteral("LONG") + QString(46, u'!')) << "cut at 50 characters";
  const std::optional<pv::PrintFormat> longTexts = pv::FindFormat(QStringLiteral("LONG") + QString(46, u'!'));
  ASSERT_TRUE(longTexts) << "the cut code finds its row";
  EXPECT_EQ(longTexts->Category, QString(50, u'c'));
  EXPECT_EQ(longTexts->Description, QString(50, u'd'));
  const std::optional<pv::PrintFormat> t = pv::FindFormat(QStringLiteral("TYPED"));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Width, 69.5);
  EXPECT_EQ(t->sheetwidth, 210);
  EXPECT_EQ(t->nOri, 3);
  EXPECT_EQ(t->Label, 0);
  EXPECT_EQ(t->Type, 0);
  const std::optional<pv::PrintFormat> e = pv::FindFormat(QStringLiteral("EDGE"));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Width, 1e-300);
  EXPECT_EQ(e->sheetwidth, 100000);
  EXPECT_EQ(e->LeftMargin, 0.4);
}

TEST_F(FormatImportTest, AnArchiveOfRefusedRowsOnlyAddsNothing) {
  const std::vector<QString> before = Codes();
  std::vector<QVariant> nan = OldRow(QStringLiteral("N"), 0);
  nan[6] = std::numeric_limits<double>::quiet_NaN();
  std::vector<QVariant> huge = OldRow(QStringLiteral("H"), 0);
  huge[7] = 40000.0;
  huge[8] = 40000.0;
  EXPECT_FALSE(Import(Archive({nan, OldRow(QStringLiteral("P"), 1), huge}))) << "nothing to show again";
  ExpectOneBox(ImportedAndRefused(0, 2));
  EXPECT_EQ(Codes(), before);
}

}  // namespace
