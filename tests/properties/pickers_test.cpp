// The pickers' models on a fixture program folder: what they list, what
// they draw through the libraries, what they return.
#include "pickers_fixture.h"

#include "platform/db/recordset.h"
#include "properties/backgroundpicker.h"
#include "properties/clipartpicker.h"
#include "properties/shapepicker.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

using proptest::PickerTest;

// Clicks cell `index` of a grid painted on a surface of its own.
void ClickCell(pv::ImageGridCore& grid, int index) {
  pv::Rect r;
  ASSERT_TRUE(grid.VisibleCellRect(index, r)) << index;
  grid.MousePress(r.left + 1, r.top + 1);
  grid.MouseRelease(r.left + 1, r.top + 1);
}

TEST_F(PickerTest, ShapePickerDrawsTheFourteenShapesAndReturnsTheClickedOne) {
  pv::ShapePickerModel m;
  EXPECT_EQ(m.Caption(), QStringLiteral("Seleziona forma"));
  EXPECT_EQ(m.OkCaption(), QStringLiteral("Inserisci"));
  EXPECT_EQ(m.CancelCaption(), QStringLiteral("Annulla"));
  m.Grid().Resize(7 * 56 + 20, 2 * 56, 20);
  ASSERT_EQ(libraries.calls.size(), 14u);
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(libraries.calls[static_cast<std::size_t>(i)].shape, 200 + i);
    EXPECT_EQ(libraries.calls[static_cast<std::size_t>(i)].aspect, 5.0);
    EXPECT_EQ(RectWidth(libraries.calls[static_cast<std::size_t>(i)].rect), 50);
  }
  EXPECT_EQ(m.RetCode, -1);
  EXPECT_FALSE(m.OkEnabled());
  for (const auto& [cell, shape] : std::vector<std::pair<int, int>>{{1, 0}, {14, 13}, {3, 2}}) {
    ClickCell(m.Grid(), cell);
    EXPECT_EQ(m.RetCode, shape);
    EXPECT_TRUE(m.OkEnabled());
  }
  m.Cancel();
  EXPECT_EQ(m.RetCode, -1);
}

TEST_F(PickerTest, ClipArtPickerListsEachCategorysMetafilesWithFullPaths) {
  const QString root = pv::ClipArtRoot(QString());
  EXPECT_EQ(QDir(root), QDir(Path(QStringLiteral("clipart"))));
  pv::ClipArtPickerModel m(root);
  EXPECT_EQ(m.Caption(), QStringLiteral("Inserisci clip-art"));
  m.Grid().Resize(420, 300, 20);
  m.Load({{QStringLiteral("Animali"), 1}, {QStringLiteral("Casa"), 20}, {QStringLiteral("Cibo"), 3}});

  EXPECT_EQ(m.CategoryCountLabel(), QStringLiteral("Categorie trovate:3"));
  EXPECT_EQ(m.CurrentCategory(), 0);
  EXPECT_EQ(m.Files(),
            (QStringList{Path(QStringLiteral("clipart/clip1/A.EMF")), Path(QStringLiteral("clipart/clip1/b.emf"))}));
  EXPECT_EQ(m.FileCountLabel(), QStringLiteral("Clip-art trovate: 2"));
  ASSERT_EQ(libraries.calls.size(), 2u);
  EXPECT_EQ(libraries.calls[1].file, Path(QStringLiteral("clipart/clip1/b.emf")));
  EXPECT_EQ(RectWidth(libraries.calls[1].rect), 80);
  EXPECT_FALSE(m.OkEnabled());

  ClickCell(m.Grid(), 2);
  EXPECT_TRUE(m.OkEnabled());
  EXPECT_EQ(m.ClipFileName, Path(QStringLiteral("clipart/clip1/b.emf")));

  // Another category clears the choice and the grid's selection.
  m.SelectCategory(1);
  EXPECT_FALSE(m.OkEnabled());
  EXPECT_EQ(m.Grid().SelectedIndex(), -1);
  EXPECT_EQ(m.Files(), QStringList{Path(QStringLiteral("clipart/clip20/cat.Emf"))});
  EXPECT_EQ(m.FileCountLabel(), QStringLiteral("Clip-art trovate: 1"));
  ClickCell(m.Grid(), 1);
  EXPECT_EQ(m.ClipFileName, Path(QStringLiteral("clipart/clip20/cat.Emf")));

  // A missing folder: an empty grid and nothing to confirm.
  libraries.calls.clear();
  m.SelectCategory(2);
  EXPECT_TRUE(m.Files().isEmpty());
  EXPECT_EQ(m.FileCountLabel(), QStringLiteral("Clip-art trovate: 0"));
  EXPECT_TRUE(libraries.calls.empty());
  EXPECT_FALSE(m.OkEnabled());

  m.Cancel();
  EXPECT_TRUE(m.ClipFileName.isEmpty());
}

TEST_F(PickerTest, ClipArtRootAndCategoryFolderLimits) {
  // Relative roots lie below the program folder; absolute ones stand.
  EXPECT_EQ(QDir(pv::ClipArtRoot(QStringLiteral("0"))), QDir(Path(QStringLiteral("clipart"))));
  EXPECT_EQ(QDir(pv::ClipArtRoot(QStringLiteral("mine"))), QDir(Path(QStringLiteral("mine"))));
  EXPECT_EQ(QDir(pv::ClipArtRoot(Path(QStringLiteral("graphics")))), QDir(Path(QStringLiteral("graphics"))));

  for (int i = 0; i < 503; ++i)
    proptest::Touch(Path(QStringLiteral("big/clip7/f%1.emf").arg(i, 3, 10, QLatin1Char('0'))));
  pv::ClipArtPickerModel m(pv::ClipArtRoot(QStringLiteral("big")));
  m.Load({{QStringLiteral("Molte"), 7}});
  ASSERT_EQ(m.Files().size(), 500);
  EXPECT_TRUE(m.Files().back().endsWith(QStringLiteral("f499.emf")));
  EXPECT_EQ(m.FileCountLabel(), QStringLiteral("Clip-art trovate: 500"));

  // No categories at all: an empty list, an empty grid, nothing to confirm.
  pv::ClipArtPickerModel none(pv::ClipArtRoot(QString()));
  none.Grid().Resize(420, 300, 20);
  none.Load({});
  EXPECT_EQ(none.CategoryCountLabel(), QStringLiteral("Categorie trovate:0"));
  EXPECT_EQ(none.CurrentCategory(), -1);
  EXPECT_TRUE(none.Files().isEmpty());
  EXPECT_FALSE(none.OkEnabled());
}

TEST_F(PickerTest, CategoriesAreReadInOrderSkippingNullRows) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("clipcat"));
    db.setDatabaseName(Path(QStringLiteral("cat.db")));
    ASSERT_TRUE(db.open());
    QSqlQuery q(db);
    ASSERT_TRUE(q.exec(QStringLiteral(
        "CREATE TABLE rst_clipcategory (ID INTEGER PRIMARY KEY, LABEL_CATEGORY TEXT, CODE_CATEGORY INTEGER)")));
    ASSERT_TRUE(
        q.exec(QStringLiteral("INSERT INTO rst_clipcategory (LABEL_CATEGORY, CODE_CATEGORY) VALUES "
                              "('Sport', 8), (NULL, 4), ('Casa', NULL), ('Animali', 1)")));
  }
  {
    pv::Recordset rs;
    rs.Open(QStringLiteral("rst_clipcategory"), QStringLiteral("clipcat"));
    const std::vector<pv::ClipCategory> got = pv::ReadClipCategories(rs);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].label, QStringLiteral("Sport"));
    EXPECT_EQ(got[0].code, 8);
    EXPECT_EQ(got[1].label, QStringLiteral("Animali"));
    EXPECT_EQ(got[1].code, 1);
    rs.Close();
    // A recordset that never opened (the database did not) gives none.
    EXPECT_TRUE(pv::ReadClipCategories(rs).empty());
  }
  QSqlDatabase::removeDatabase(QStringLiteral("clipcat"));
}

TEST_F(PickerTest, BackgroundPickerFollowsItsMode) {
  struct Case {
    bool border;
    QString caption;
    QString label;
    QStringList files;
    QString drawnBy;
  };
  const std::vector<Case> cases = {
      {true,
       QStringLiteral("Applica bordo"),
       QStringLiteral("Bordi trovati: 2"),
       {Path(QStringLiteral("graphics/border/Double.EMF")), Path(QStringLiteral("graphics/border/single.emf"))},
       QStringLiteral("metafile")},
      {false,
       QStringLiteral("Applica sfondo"),
       QStringLiteral("Sfondi trovati: 2"),
       {Path(QStringLiteral("graphics/background/Grass.BMP")), Path(QStringLiteral("graphics/background/sky.bmp"))},
       QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption.toStdString());
    pv::BackgroundPickerModel m;
    EXPECT_EQ(m.CountLabel(), QStringLiteral("Sfondi trovati:"));
    m.Grid().Resize(470, 300, 20);
    libraries.calls.clear();
    m.SetMode(c.border);
    EXPECT_EQ(m.Caption(), c.caption);
    EXPECT_EQ(m.CountLabel(), c.label);
    EXPECT_EQ(m.Files(), c.files);
    // Borders through the metafile player, backgrounds as pictures.
    EXPECT_EQ(libraries.calls.size(), c.border ? 2u : 0u);
    if (c.border) {
      EXPECT_EQ(libraries.calls[0].file, c.files[0]);
    }
    EXPECT_FALSE(m.OkEnabled());

    ClickCell(m.Grid(), 2);
    EXPECT_TRUE(m.OkEnabled());
    EXPECT_EQ(m.FileName, c.files[1]);
    m.Cancel();
    EXPECT_TRUE(m.FileName.isEmpty());
    ClickCell(m.Grid(), 1);
    m.Remove();
    EXPECT_EQ(m.FileName, QStringLiteral("NO_IMAGE_4532756"));
  }
  // Without graphics folders: nothing listed, "Elimina" still answers.
  QDir(Path(QStringLiteral("graphics"))).removeRecursively();
  pv::BackgroundPickerModel m;
  m.SetMode(true);
  EXPECT_EQ(m.CountLabel(), QStringLiteral("Bordi trovati: 0"));
  m.Remove();
  EXPECT_EQ(m.FileName, QStringLiteral("NO_IMAGE_4532756"));
}

}  // namespace
