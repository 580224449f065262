#include "app/dialogs.h"
#include "formats/formatimport.h"
#include "formats/formatstore.h"
#include "formatstest.h"
#include "platform/stringtable.h"

#include <gtest/gtest.h>

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
      Archive({OldRow(QStringLiteral("U1"), 0), OldRow(QStringLiteral("P1"), 1), OldRow(QStringLiteral("U2"), 0, 99.85),
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
  EXPECT_EQ(u2.Width, 99.85) << "Witdh goes into Width";
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

}  // namespace
