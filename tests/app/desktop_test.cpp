#include "app/desktop.h"

#include "tests/support/app_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMap>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>

#include <locale.h>

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

TEST_F(ItalianQtTexts, QtsLocaleIsItalianWhateverTheSystems) {
  const QLocale before;
  QLocale::setDefault(QLocale::c());
  ASSERT_TRUE(pv::InstallItalianQtTexts(*qApp));
  EXPECT_EQ(QLocale().language(), QLocale::Italian);
  EXPECT_EQ(QLocale().toString(2.5, 'f', 1), QStringLiteral("2,5"));
  EXPECT_EQ(QLocale().monthName(12), QStringLiteral("dicembre"));
  QLocale::setDefault(before);
}

bool CLibraryHasItalian() {
  const locale_t probe = newlocale(LC_TIME_MASK, "it_IT.UTF-8", locale_t(nullptr));
  if (probe == locale_t(nullptr)) return false;
  freelocale(probe);
  return true;
}

// Only the time category becomes Italian: LC_ALL, which would override it,
// is spread over the categories without a value of their own.
TEST(ItalianSystemDates, OnlyTheTimeCategoryChanges) {
  if (!CLibraryHasItalian()) GTEST_SKIP() << "no it_IT.UTF-8 locale in the C library";
  struct Case {
    QMap<QByteArray, QByteArray> env;
    QMap<QByteArray, QByteArray> after;
  };
  const Case cases[] = {
      {{{"LANG", "C.UTF-8"}}, {{"LANG", "C.UTF-8"}, {"LC_TIME", "it_IT.UTF-8"}}},
      {{{"LC_ALL", "C.UTF-8"}, {"LC_NUMERIC", "POSIX"}},
       {{"LC_NUMERIC", "POSIX"},
        {"LC_CTYPE", "C.UTF-8"},
        {"LC_COLLATE", "C.UTF-8"},
        {"LC_MONETARY", "C.UTF-8"},
        {"LC_MESSAGES", "C.UTF-8"},
        {"LC_PAPER", "C.UTF-8"},
        {"LC_NAME", "C.UTF-8"},
        {"LC_ADDRESS", "C.UTF-8"},
        {"LC_TELEPHONE", "C.UTF-8"},
        {"LC_MEASUREMENT", "C.UTF-8"},
        {"LC_IDENTIFICATION", "C.UTF-8"},
        {"LC_TIME", "it_IT.UTF-8"}}},
  };
  for (const Case& c : cases) {
    QMap<QByteArray, QByteArray> env = c.env;
    pv::UseItalianSystemDates([&](const char* name) { return env.value(name); },
                              [&](const char* name, const QByteArray& value) {
                                if (value.isEmpty()) {
                                  env.remove(name);
                                } else {
                                  env.insert(name, value);
                                }
                              });
    EXPECT_EQ(env, c.after) << c.env.keys().join(',').toStdString();
  }
}

// Qt's own file dialog in a program started as plavik is: the type of a
// file and of a folder and the date in Italian, on a system that speaks C.
TEST(ItalianSystemDates, QtsFileDialogShowsTypesAndDatesInItalian) {
  if (!CLibraryHasItalian()) GTEST_SKIP() << "no it_IT.UTF-8 locale in the C library";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile pdf(dir.filePath(QStringLiteral("etichette.pdf")));
  ASSERT_TRUE(pdf.open(QIODevice::WriteOnly));
  pdf.write("%PDF-1.4\n%%EOF\n");
  pdf.close();
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("archivio")));
  QProcess probe;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  probe.setProcessEnvironment(env);
  probe.start(QStringLiteral(QTDIALOG_PROBE), {dir.path()});
  ASSERT_TRUE(probe.waitForFinished(30000));
  ASSERT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
  const QStringList lines =
      QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('|')).toStdString();
  QMap<QString, QStringList> rows;
  for (qsizetype i = 0; i < 2; ++i) {
    const QStringList row = lines[i].split(QLatin1Char('\t'));
    ASSERT_EQ(row.size(), 3) << lines[i].toStdString();
    rows.insert(row[0], row);
  }
  ASSERT_TRUE(rows.contains(QStringLiteral("etichette.pdf")) && rows.contains(QStringLiteral("archivio")));
  const QStringList file = rows.value(QStringLiteral("etichette.pdf"));
  EXPECT_EQ(file[1], QStringLiteral("Documento PDF"));
  EXPECT_EQ(rows.value(QStringLiteral("archivio"))[1], QStringLiteral("Cartella")) << "not \"Folder\"";
  // The Italian short form: day/month/year, not "10 Dec".
  const QString today = QLocale(QLocale::Italian, QLocale::Italy).toString(QDate::currentDate(), QLocale::ShortFormat);
  EXPECT_TRUE(file[2].startsWith(today)) << file[2].toStdString() << " / " << today.toStdString();
  EXPECT_EQ(lines[2], QStringLiteral("Tipo"));
}

}  // namespace
