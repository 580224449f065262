#include "app/desktop.h"

#include "tests/support/app_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMap>
#include <QMessageBox>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

TEST(GraphicalSession, AnyOfTheDisplaysOrANamedPlatform) {
  struct Case {
    QMap<QByteArray, QByteArray> env;
    bool expected;
  };
  const Case cases[] = {
      {{}, false},
      {{{"DISPLAY", ":0"}}, true},
      {{{"WAYLAND_DISPLAY", "wayland-0"}}, true},
      {{{"QT_QPA_PLATFORM", "offscreen"}}, true},
      {{{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pv::HasGraphicalSession([&](const char* name) { return c.env.value(name); }), c.expected)
        << c.env.keys().join(',').toStdString();
  }
}

TEST(GraphicalSession, TheProgramWithoutOneSaysSoAndEnds) {
  QProcess plavik;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
  plavik.setProcessEnvironment(env);
  plavik.start(QStringLiteral(PLAVIK_PROGRAM_DIR "/plavik"), {});
  ASSERT_TRUE(plavik.waitForFinished(20000));
  EXPECT_EQ(plavik.exitStatus(), QProcess::NormalExit);  // no abort
  EXPECT_EQ(plavik.exitCode(), 2);
  EXPECT_TRUE(QString::fromLocal8Bit(plavik.readAllStandardError()).contains(QStringLiteral("DISPLAY")));
}

class ItalianQtTexts : public pv::test::AppFixture {};

TEST_F(ItalianQtTexts, QuestionButtonsSpeakItalian) {
  ASSERT_TRUE(pv::InstallItalianQtTexts(*qApp));
  QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Sì"));
  EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("No"));
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Annulla"));
}

}  // namespace
