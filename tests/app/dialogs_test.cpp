#include "app/dialogs.h"

#include "app/desktop.h"
#include "app/dialogfolders.h"
#include "apptest.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QTreeView>

#include <stdexcept>

namespace {

class FakeDialogs : public pv::CommonDialogHost {
 public:
  FakeDialogs() { m_old = pv::SetCommonDialogHost(this); }
  ~FakeDialogs() override { pv::SetCommonDialogHost(m_old); }
  std::optional<pv::FileDialogResult> ShowFileDialog(const pv::FileDialogRequest& r) override {
    requests.push_back(r);
    return result;
  }
  void ShowPrinterSetup() override { throw std::runtime_error("broken"); }

  std::vector<pv::FileDialogRequest> requests;
  std::optional<pv::FileDialogResult> result;

 private:
  pv::CommonDialogHost* m_old = nullptr;
};

TEST(NullToDefault, TableOfValues) {
  const struct {
    QVariant value;
    const char* expected;
  } cases[] = {
      {QVariant(), "dflt"},
      {QVariant(QMetaType::fromType<QString>()), "dflt"},  // a Null text
      {QVariant(QString()), "dflt"},
      {QVariant(QStringLiteral("   ")), "dflt"},
      {QVariant(QStringLiteral("  a  b  ")), "a  b"},
      {QVariant(QStringLiteral("\tx ")), "\tx"},  // only blanks are trimmed
      {QVariant(12), "12"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(pv::NullToDefault(c.value, QStringLiteral("dflt")), QString::fromLatin1(c.expected));
}

TEST(FileDialogFilters, FromTheBarSeparatedForm) {
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Etichetta (*.lab)|*.lab|Tutti i file (*.*)|*.*")),
            (QStringList{"Etichetta (*.lab)", "Tutti i file (*)"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Immagini|*.bmp;*.jpg")), (QStringList{"Immagini (*.bmp *.jpg)"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("*.mdb")), (QStringList{"*.mdb"}));
  EXPECT_EQ(pv::FileDialogFilters(QStringLiteral("Origine ODBC|*.mdb")), (QStringList{"Origine ODBC (*.mdb)"}));
}

class DialogTest : public apptest::ShellTest {};

TEST_F(DialogTest, OpenReturnsTheFilterIndexOrMinusOneAndKeepsTheName) {
  FakeDialogs fake;
  const QString existing = Home(QStringLiteral("a.lab"));
  apptest::WriteAll(existing, "x");
  QString name = QStringLiteral("start.lab");

  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("Etichetta (*.lab)|*.lab|Tutti i file (*.*)|*.*"),
                               name, QStringLiteral("Apri")),
            -1);  // cancelled
  EXPECT_EQ(name, QStringLiteral("start.lab"));
  ASSERT_EQ(fake.requests.size(), 1u);
  EXPECT_FALSE(fake.requests[0].save);
  EXPECT_EQ(fake.requests[0].fileName, QStringLiteral("start.lab"));
  EXPECT_EQ(fake.requests[0].title, QStringLiteral("Apri"));
  EXPECT_EQ(fake.requests[0].filters.size(), 2);
  EXPECT_EQ(fake.requests[0].filterIndex, 1);

  fake.result = pv::FileDialogResult{Home(QStringLiteral("missing.lab")), 1};
  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("*.lab"), name, QString()), -1);  // must exist
  EXPECT_EQ(name, QStringLiteral("start.lab"));

  fake.result = pv::FileDialogResult{existing, 2};
  EXPECT_EQ(pv::ShowOpenDialog(QStringLiteral("lab"), QStringLiteral("a|*.lab|b|*.*"), name, QString()), 2);
  EXPECT_EQ(name, existing);
}

TEST_F(DialogTest, SaveAddsTheDefaultExtension) {
  FakeDialogs fake;
  QString name;
  fake.result = pv::FileDialogResult{Home(QStringLiteral("new")), 1};
  EXPECT_EQ(pv::ShowSaveDialog(QStringLiteral("lab"), QStringLiteral("Etichetta (*.lab)|*.lab"), name,
                               QStringLiteral("Salva")),
            1);
  EXPECT_EQ(name, Home(QStringLiteral("new.lab")));
  EXPECT_TRUE(fake.requests.back().save);
  fake.result.reset();
  EXPECT_EQ(pv::ShowSaveDialog(QStringLiteral("lab"), QStringLiteral("x|*.lab"), name, QString()), -1);
  EXPECT_EQ(name, Home(QStringLiteral("new.lab")));
}

// A dialog opens in the folder of the name it is given, else in the one last
// used for its kind of file while that is still there; never in the working
// folder. Each kind keeps its own.
TEST_F(DialogTest, EachKindOfFileOpensWhereItWasLastChosen) {
  const QString labels = Home(QStringLiteral("etichette"));
  const QString pictures = Home(QStringLiteral("foto"));
  ASSERT_TRUE(QDir().mkpath(labels) && QDir().mkpath(pictures));
  pv::Settings kept;
  pv::RememberDialogFolder(pv::FileKind::Labels, labels + QStringLiteral("/a.lab"), kept);
  pv::RememberDialogFolder(pv::FileKind::Pictures, pictures + QStringLiteral("/logo.png"), kept);
  pv::RememberDialogFolder(pv::FileKind::Other, Home(QStringLiteral("x.mdb")), kept);
  EXPECT_EQ(kept.LabelFolder, labels);
  EXPECT_EQ(kept.PictureFolder, pictures);
  kept.DataFolder = Home(QStringLiteral("gone"));  // removed since
  const pv::Settings unread = [] {
    pv::Settings s;
    s.LabelFolder = s.PictureFolder = s.DataFolder = QStringLiteral("0");  // keys the file does not hold
    return s;
  }();

  struct Case {
    const char* what;
    pv::FileKind kind;
    QString fileName;
    const pv::Settings* settings;
    QString folder;  // empty: the user's own folders, not the working one
  };
  const Case cases[] = {
      {"labels", pv::FileKind::Labels, QString(), &kept, labels},
      {"pictures", pv::FileKind::Pictures, QStringLiteral("logo.png"), &kept, pictures},
      {"a name with its folder", pv::FileKind::Labels, Home(QStringLiteral("altro/b.lab")), &kept,
       Home(QStringLiteral("altro"))},
      {"a kept folder that is gone", pv::FileKind::DataFiles, QString(), &kept, QString()},
      {"nothing kept", pv::FileKind::Labels, QString(), &unread, QString()},
      {"another kind", pv::FileKind::Other, QString(), &kept, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    pv::FileDialogRequest request;
    request.kind = c.kind;
    request.fileName = c.fileName;
    const QString folder = pv::DialogStartFolder(request, *c.settings);
    if (!c.folder.isEmpty()) {
      EXPECT_EQ(folder, c.folder);
    } else {
      EXPECT_TRUE(QFileInfo(folder).isAbsolute() && QFileInfo(folder).isDir()) << folder.toStdString();
      EXPECT_NE(QDir(folder), QDir::current());
      EXPECT_FALSE(folder.startsWith(Home(QString()))) << folder.toStdString();
    }
  }
}

// The program's dialog itself: it opens in the kept folder, its Italian
// column captions and places ("Computer") are whole, and the folder of the
// file chosen is kept.
TEST_F(DialogTest, TheDialogOpensInTheKeptFolderAndKeepsTheChosenOne) {
  pv::test::EnsureApplication();
  pv::InstallItalianQtTexts(*QCoreApplication::instance());
  const QString before = Home(QStringLiteral("prima"));
  const QString after = Home(QStringLiteral("dopo"));
  ASSERT_TRUE(QDir().mkpath(before) && QDir().mkpath(after));
  apptest::WriteAll(after + QStringLiteral("/indirizzi.dbf"), "x");
  pv::ProgramSettings().DataFolder = before;

  QString openedIn;
  std::vector<std::pair<QString, bool>> captions;  // caption, shown whole
  int ticksShown = 0;
  QTimer timer;
  timer.setInterval(10);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || ++ticksShown < 2) return;  // one tick to be laid out as shown
    timer.stop();
    openedIn = dialog->directory().absolutePath();
    if (auto* tree = dialog->findChild<QTreeView*>()) {
      QHeaderView* header = tree->header();
      for (int i = 0; i < header->count(); ++i) {
        const QString caption = header->model()->headerData(i, Qt::Horizontal).toString();
        captions.emplace_back(caption, header->sectionSize(i) >= header->sectionSizeHint(i));
      }
    }
    if (auto* places = dialog->findChild<QListView*>(QStringLiteral("sidebar"))) {
      for (int row = 0; row < places->model()->rowCount(places->rootIndex()); ++row) {
        const QModelIndex place = places->model()->index(row, 0, places->rootIndex());
        captions.emplace_back(place.data().toString(),
                              places->viewport()->width() >= places->sizeHintForIndex(place).width());
      }
    }
    // Typed as a user would: the name box has the focus by now.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name != nullptr) name->setText(after + QStringLiteral("/indirizzi.dbf"));
    QMetaObject::invokeMethod(dialog, name != nullptr ? "accept" : "reject", Qt::QueuedConnection);
  });
  timer.start();
  pv::FileDialogRequest request;
  request.kind = pv::FileKind::DataFiles;
  request.filters = {QStringLiteral("dBASE (*.dbf)")};
  const std::optional<pv::FileDialogResult> chosen = pv::QtCommonDialogs().ShowFileDialog(request);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(openedIn, before);
  EXPECT_EQ(chosen->fileName, after + QStringLiteral("/indirizzi.dbf"));
  EXPECT_EQ(pv::ProgramSettings().DataFolder, after);
  ASSERT_FALSE(captions.empty());
  for (const auto& [caption, whole] : captions) EXPECT_TRUE(whole) << caption.toStdString() << " is cut";
}

TEST_F(DialogTest, PrinterSetupSwallowsEveryFailure) {
  FakeDialogs fake;
  EXPECT_NO_THROW(pv::ShowPrinterSetup());
}

}  // namespace
