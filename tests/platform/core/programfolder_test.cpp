#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    old_ = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", dir_.path().toLocal8Bit());
  }
  void TearDown() override {
    pv::RemoveTempImageFolder();
    qputenv("PLAVIK_HOME", old_);
  }
  QTemporaryDir dir_;
  QByteArray old_;
};

TEST_F(ProgramFolderTest, FollowsPlavikHome) { EXPECT_EQ(pv::ProgramFolder(), QDir::cleanPath(dir_.path())); }

TEST_F(ProgramFolderTest, FindsFilesWhateverTheirCase) {
  QDir(dir_.path()).mkpath(QStringLiteral("graphics/Template"));
  QFile f(dir_.path() + QStringLiteral("/graphics/Template/3.lab"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_EQ(pv::ProgramPath(QStringLiteral("graphics\\template\\3.LAB")),
            dir_.path() + QStringLiteral("/graphics/Template/3.lab"));
  EXPECT_EQ(pv::ProgramPath(QStringLiteral("GRAPHICS/missing/x.lab")),
            dir_.path() + QStringLiteral("/graphics/missing/x.lab"));
}

TEST_F(ProgramFolderTest, TempFolderIsPrivateAndRemoved) {
  const QString folder = pv::TempImageFolder();
  EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
  EXPECT_TRUE(QFileInfo(folder).isDir());
  // In the system's temporary location, never in the program folder, and
  // open to this user only.
  EXPECT_TRUE(folder.startsWith(QDir::tempPath() + QLatin1Char('/')));
  EXPECT_FALSE(folder.startsWith(dir_.path()));
  EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
  EXPECT_EQ(pv::TempImageFile(QStringLiteral("1.jpg")), folder + QStringLiteral("1.jpg"));
  QFile f(pv::TempImageFile(QStringLiteral("1.jpg")));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  pv::ClearTempImageFolder();
  EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("1.jpg")));
  EXPECT_TRUE(QFileInfo(folder).isDir());
  pv::RemoveTempImageFolder();
  EXPECT_FALSE(QFileInfo::exists(folder));
  EXPECT_NE(pv::TempImageFolder(), folder);
}

TEST_F(ProgramFolderTest, NoTempFolderMeansNoPicturePath) {
  // TMPDIR naming a plain file: no folder can be made below it (whoever runs
  // the test, root included).
  QFile blocker(dir_.path() + QStringLiteral("/not-a-folder"));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  pv::RemoveTempImageFolder();
  const QByteArray oldTmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", blocker.fileName().toLocal8Bit());
  EXPECT_EQ(pv::TempImageFolder(), QString());
  EXPECT_EQ(pv::TempImageFile(QStringLiteral("1.jpg")), QString());
  qputenv("TMPDIR", oldTmp);
  if (oldTmp.isEmpty()) qunsetenv("TMPDIR");
  EXPECT_FALSE(pv::TempImageFolder().isEmpty());
}

}  // namespace
