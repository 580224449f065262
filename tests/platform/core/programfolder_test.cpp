#include "platform/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace {

class ProgramFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    m_old = qgetenv("PLAVIK_HOME");
    qputenv("PLAVIK_HOME", m_dir.path().toLocal8Bit());
  }
  void TearDown() override {
    pv::RemoveTempImageFolder();
    qputenv("PLAVIK_HOME", m_old);
  }
  QTemporaryDir m_dir;
  QByteArray m_old;
};

TEST_F(ProgramFolderTest, FollowsPlavikHome) {
  EXPECT_EQ(pv::ProgramFolder(), QDir::cleanPath(m_dir.path()));
  EXPECT_EQ(pv::UserSettingsFolder(), QDir::cleanPath(m_dir.path()));
  EXPECT_EQ(pv::UserDataFolder(), QDir::cleanPath(m_dir.path()));
}

// Where the program's own files are read and the user's are kept, for each
// way the program can be laid out.
TEST_F(ProgramFolderTest, LayoutFollowsHowTheProgramIsInstalled) {
  const QString t = m_dir.path();
  for (const char* folder : {"usr/bin", "usr/share/plavik", "build/bin", "opt/plavik", "opt/share/plavik"}) {
    ASSERT_TRUE(QDir(t).mkpath(QString::fromLatin1(folder)));
  }
  const QString home = t + QStringLiteral("/home");
  const QString xdgConfig = home + QStringLiteral("/.config/plavik");
  const QString xdgData = home + QStringLiteral("/.local/share/plavik");
  struct Case {
    const char* name;
    QString exe;
    QMap<QByteArray, QByteArray> env;
    bool writable;
    pv::FolderLayout expected;
  };
  const QByteArray h = home.toLocal8Bit();
  const Case cases[] = {
      // Installed: the files below share/plavik, never written, even where
      // this user may write (an install into the user's own prefix).
      {"installed",
       t + QStringLiteral("/usr/bin"),
       {{"HOME", h}},
       true,
       {t + QStringLiteral("/usr/share/plavik"), xdgConfig, xdgData}},
      {"installed, XDG folders set",
       t + QStringLiteral("/usr/bin/"),
       {{"HOME", h}, {"XDG_CONFIG_HOME", "/x/cfg"}, {"XDG_DATA_HOME", "/x/data/"}},
       false,
       {t + QStringLiteral("/usr/share/plavik"), QStringLiteral("/x/cfg/plavik"), QStringLiteral("/x/data/plavik")}},
      // A relative XDG folder is no folder: the default is used.
      {"installed, relative XDG folders",
       t + QStringLiteral("/usr/bin"),
       {{"HOME", h}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "data"}},
       false,
       {t + QStringLiteral("/usr/share/plavik"), xdgConfig, xdgData}},
      // The build, or a copy of it: everything in the executable's folder
      // when the user may write there, else the user's files in XDG.
      {"build",
       t + QStringLiteral("/build/bin"),
       {{"HOME", h}},
       true,
       {t + QStringLiteral("/build/bin"), t + QStringLiteral("/build/bin"), t + QStringLiteral("/build/bin")}},
      {"read-only copy",
       t + QStringLiteral("/build/bin"),
       {{"HOME", h}},
       false,
       {t + QStringLiteral("/build/bin"), xdgConfig, xdgData}},
      // share/plavik beside a folder that is not bin is not an install.
      {"copy in /opt",
       t + QStringLiteral("/opt/plavik"),
       {{"HOME", h}},
       false,
       {t + QStringLiteral("/opt/plavik"), xdgConfig, xdgData}},
      // PLAVIK_HOME: all in that folder, whatever the layout and the rights.
      {"PLAVIK_HOME",
       t + QStringLiteral("/usr/bin"),
       {{"HOME", h}, {"PLAVIK_HOME", "/p/home/"}},
       false,
       {QStringLiteral("/p/home"), QStringLiteral("/p/home"), QStringLiteral("/p/home")}},
  };
  for (const Case& c : cases) {
    const pv::FolderLayout got = pv::LayoutFor(
        c.exe, [&](const char* name) { return c.env.value(name); }, [&](const QString&) { return c.writable; });
    EXPECT_EQ(got.program, c.expected.program) << c.name;
    EXPECT_EQ(got.settings, c.expected.settings) << c.name;
    EXPECT_EQ(got.data, c.expected.data) << c.name;
  }
}

TEST_F(ProgramFolderTest, WithoutHomeTheAccountsHomeIsUsed) {
  const passwd* pw = ::getpwuid(::getuid());
  ASSERT_NE(pw, nullptr);
  const pv::FolderLayout got = pv::LayoutFor(
      m_dir.path(), [](const char*) { return QByteArray(); }, [](const QString&) { return false; });
  EXPECT_EQ(got.settings, QDir::cleanPath(QFile::decodeName(pw->pw_dir) + QStringLiteral("/.config/plavik")));
}

TEST_F(ProgramFolderTest, UserFolderIsMadePrivateWhenMissing) {
  const QString folder = m_dir.path() + QStringLiteral("/a/b");
  qputenv("PLAVIK_HOME", folder.toLocal8Bit());
  EXPECT_EQ(pv::UserSettingsPath(QStringLiteral("plavik.ini")), folder + QStringLiteral("/plavik.ini"));
  ASSERT_TRUE(QFileInfo(folder).isDir());
  EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                               QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
  // A file already there is found whatever its case, as in the program folder.
  QFile f(folder + QStringLiteral("/PLAVIK.DB"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_EQ(pv::UserDataPath(QStringLiteral("plavik.db")), folder + QStringLiteral("/PLAVIK.DB"));
}

TEST_F(ProgramFolderTest, FindsFilesWhateverTheirCase) {
  QDir(m_dir.path()).mkpath(QStringLiteral("graphics/Template"));
  QFile f(m_dir.path() + QStringLiteral("/graphics/Template/3.lab"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  EXPECT_EQ(pv::ProgramPath(QStringLiteral("graphics\\template\\3.LAB")),
            m_dir.path() + QStringLiteral("/graphics/Template/3.lab"));
  EXPECT_EQ(pv::ProgramPath(QStringLiteral("GRAPHICS/missing/x.lab")),
            m_dir.path() + QStringLiteral("/graphics/missing/x.lab"));
}

TEST_F(ProgramFolderTest, TempFolderIsPrivateAndRemoved) {
  const QString folder = pv::TempImageFolder();
  EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
  EXPECT_TRUE(QFileInfo(folder).isDir());
  // In the system's temporary location, never in the program folder, and
  // open to this user only.
  EXPECT_TRUE(folder.startsWith(QDir::tempPath() + QLatin1Char('/')));
  EXPECT_FALSE(folder.startsWith(m_dir.path()));
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
  QFile blocker(m_dir.path() + QStringLiteral("/not-a-folder"));
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
