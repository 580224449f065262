// The field tool with the program's own merge-field picker: the format the
// user chooses in the picker goes onto the new field, into the saved label
// and into the print of a merge with the sample address list.
#include "core/database.h"
#include "app/wiring.h"
#include "datasources/windows/dlgfieldpropety.h"
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "document/canvas/drageditorwidget.h"
#include "document/document.h"
#include "editor/style.h"
#include "editor/view/editcard.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// `act` on the next modal dialog, once it is up.
void WhenModalOpens(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

class FieldFormatTest : public pv::test::AppFixture {
 protected:
  FieldFormatTest() : AppFixture(true) {}
  void SetUp() override {
    AppFixture::SetUp();
    QLocale::setDefault(QLocale::c());
    ASSERT_TRUE(home.isValid());
    oldHome = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", home.path().toLocal8Bit());
    QDir(home.path()).mkpath(QStringLiteral("database"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PLAVIK_PROGRAM_DIR "/database/indirizzi.dbf"),
                            home.filePath(QStringLiteral("database/indirizzi.dbf"))));
    pv::OpenDatabase();
    ASSERT_TRUE(pv::cnDatabase.IsOpen());
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
    // 8 labels of 99.1 x 67.7 mm to the sheet.
    pv::Header.LabelFormatCode = QStringLiteral("LM4-A4-08");
    pv::Header.LabelWidth = 99.1;
    pv::Header.LabelHeight = 67.7;
    view = std::make_unique<pv::EditCard>();
    pv::AttachEditCard(*view);
    view->resize(900, 700);
    view->show();
    view->SetParameter();
    QApplication::processEvents();
  }
  void TearDown() override {
    view.reset();
    pv::CloseDatabase();
    pv::RemoveTempImageFolder();
    pv::ResetDocumentState();
    qputenv("PLAVIK_HOME", oldHome);
    AppFixture::TearDown();
  }

  // The field tool: the picker chooses `column` of the sample list and
  // types `format` into its format box, then the field is drawn from (x1,
  // y1) to (x2, y2), millimetres from the label's corner.
  void InsertField(const QString& column, const QString& format, float x1, float y1, float x2, float y2) {
    bool picked = false;
    WhenModalOpens([&](QDialog* d) {
      auto* dialog = qobject_cast<pv::dlgFieldPropety*>(d);
      ASSERT_NE(dialog, nullptr);
      QTreeWidgetItem* sample = dialog->TreeView1()->topLevelItem(1);
      ASSERT_NE(sample, nullptr);
      for (int i = 0; i < sample->childCount(); ++i) {
        if (sample->child(i)->text(0) != column) continue;
        emit dialog->TreeView1()->itemClicked(sample->child(i), 0);
        picked = true;
      }
      dialog->FormatBox()->clear();
      QTest::keyClicks(dialog->FormatBox(), format);
      QTest::mouseClick(dialog->OKButton(), Qt::LeftButton);
      if (dialog->isVisible()) dialog->reject();
    });
    view->Image2(0)->click();
    ASSERT_TRUE(picked) << column.toStdString();
    QWidget* surface = view->DragEditorControl()->ViewArea();
    const auto at = [&](float x, float y) {
      std::int32_t vx = 0, vy = 0;
      pv::DocToView(view->Canvas().State(), pv::PageOrgX + x, pv::PageOrgY + y, vx, vy);
      return QPoint(vx, vy);
    };
    const QPoint a = at(x1, y1), b = at(x2, y2);
    Mouse(surface, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    for (int i = 1; i <= 5; ++i) Mouse(surface, QEvent::MouseMove, a + (b - a) * i / 5, Qt::NoButton, Qt::LeftButton);
    Mouse(surface, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
  }

  std::unique_ptr<pv::EditCard> view;
  QTemporaryDir home;
  QByteArray oldHome;
};

TEST_F(FieldFormatTest, TheFormatChosenInThePickerIsTheNewFieldsAndIsPrinted) {
  InsertField(QStringLiteral("NASCITA"), QStringLiteral("d mmmm yyyy"), 5, 5, 90, 20);
  InsertField(QStringLiteral("SALDO"), QStringLiteral("#,##0.00"), 5, 30, 90, 45);
  ASSERT_EQ(pv::ObjCount, 2);
  EXPECT_EQ(pv::Objects[1].Content, QStringLiteral("NASCITA"));
  EXPECT_EQ(pv::Objects[1].FormatText, QStringLiteral("d mmmm yyyy"));
  EXPECT_EQ(pv::Objects[2].Content, QStringLiteral("SALDO"));
  EXPECT_EQ(pv::Objects[2].FormatText, QStringLiteral("#,##0.00"));

  // Saved, the formats are in the file.
  const QString lab = home.filePath(QStringLiteral("campi.lab"));
  pv::DocFileName = lab;
  ASSERT_TRUE(pv::SaveDocument(false));
  ASSERT_TRUE(pv::ReadLabFileIntoDocument(lab));
  EXPECT_EQ(pv::Objects[1].FormatText, QStringLiteral("d mmmm yyyy"));
  EXPECT_EQ(pv::Objects[2].FormatText, QStringLiteral("#,##0.00"));

  // Merged with the sample list and printed: dates with the month's name,
  // amounts with grouped thousands and two decimals.
  QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
  ASSERT_TRUE(q.exec(QStringLiteral("SELECT ID FROM rst_registrations WHERE RecordSetName = 'indirizzi'")));
  ASSERT_TRUE(q.next());
  const QString registration = q.value(0).toString();
  q.finish();
  pv::CloseDatabase();
  const QString pdf = home.filePath(QStringLiteral("campi.pdf"));
  QProcess print;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("PLAVIK_HOME"), home.path());
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  print.setProcessEnvironment(env);
  print.start(QStringLiteral(LAB_PRINT_PATH), {lab, pdf, QStringLiteral("--merge"), registration});
  ASSERT_TRUE(print.waitForFinished(120000));
  ASSERT_EQ(print.exitCode(), 0) << print.readAllStandardError().toStdString();
  QProcess text;
  text.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                           QStringLiteral("1"), QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString page = QString::fromUtf8(text.readAllStandardOutput());
  const QRegularExpression longDate(QStringLiteral(
      "\\b\\d{1,2} (gennaio|febbraio|marzo|aprile|maggio|giugno|luglio|agosto|settembre|ottobre|novembre|dicembre) "
      "\\d{4}\\b"));
  const QRegularExpression shortDate(QStringLiteral("\\b\\d{2}/\\d{2}/\\d{4}\\b"));
  const QRegularExpression amount(QStringLiteral("\\b\\d{1,3}(\\.\\d{3})*,\\d{2}\\b"));
  EXPECT_EQ(page.count(longDate), 8) << page.toStdString();
  EXPECT_FALSE(page.contains(shortDate)) << page.toStdString();
  EXPECT_GE(page.count(amount), 8) << page.toStdString();
}

}  // namespace
