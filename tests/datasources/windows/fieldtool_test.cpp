// The editor's field tool with the real merge-field picker: the column picked
// in the dialog goes onto the label as a field.
#include "core/database.h"
#include "datasources/windows/dlgfieldpropety.h"
#include "tests/editor/editor_fixture.h"
#include "windowstest.h"

#include <QTreeWidget>

namespace {

// The program's pickers as the editor reaches them, with the merge-field
// picker forwarding to the dialog.
struct ForwardingPickers : pv::EditorPickers {
  pv::FieldPickerAnswer ShowFieldPicker(const pv::FieldPickerPreset* preset) override {
    return pv::ShowMergeFieldPicker(preset);
  }
};

class FieldToolTest : public pvtest::EditorTest {
 protected:
  void SetUp() override {
    pv::test::EnsureApplication();
    pvtest::EditorTest::SetUp();
    ASSERT_TRUE(home.isValid());
    oldHome = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkpath(QStringLiteral("database"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLAVIK_PROGRAM_DIR "/database/indirizzi.dbf"),
                            home.filePath(QStringLiteral("database/indirizzi.dbf"))));
    pv::OpenDatabase();
    installed.emplace(forwarding);
  }
  void TearDown() override {
    installed.reset();
    pv::CloseDatabase();
    qputenv("PLAVIK_HOME", oldHome);
    pvtest::EditorTest::TearDown();
  }
  ForwardingPickers forwarding;
  std::optional<pv::ScopedHost<pv::EditorPickers>> installed;
  QTemporaryDir home;
  QByteArray oldHome;
};

TEST_F(FieldToolTest, TheFieldToolInsertsThePickedColumn) {
  QString picked;
  dswin::WhenModalOpens([&](QDialog* d) {
    auto* dialog = qobject_cast<pv::dlgFieldPropety*>(d);
    ASSERT_NE(dialog, nullptr);
    QTreeWidgetItem* sample = dialog->TreeView1()->topLevelItem(1);
    ASSERT_NE(sample, nullptr);
    ASSERT_GT(sample->childCount(), 1);
    QTreeWidgetItem* column = sample->child(1);
    picked = column->text(0);
    emit dialog->TreeView1()->itemClicked(column, 0);
    dialog->accept();
  });
  logic->Image2_Click(0);
  ASSERT_FALSE(picked.isEmpty());
  EXPECT_EQ(logic->InsertFieldName, picked);
  EXPECT_EQ(canvas->State().CurrentUserType, 100);
  const std::int32_t key = Draw(100);
  EXPECT_EQ(Rec(key).Content, picked);

  // Cancelled: the tool stays as it was.
  dswin::WhenModalOpens([](QDialog* d) { d->reject(); });
  logic->Image2_Click(1);
  logic->Image2_Click(0);
  EXPECT_EQ(canvas->State().CurrentUserType, 101);
}

}  // namespace
