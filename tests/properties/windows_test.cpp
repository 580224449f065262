// The pickers' windows, offscreen: buttons, labels and results through the
// widgets the user touches. Nothing runs a modal loop.
#include "pickers_fixture.h"

#include "properties/windows/pickerwindows.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

using proptest::PickerTest;

void Show(QDialog& d) {
  d.resize(640, 420);
  d.show();
  QApplication::processEvents();
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void ClickCell(pv::ImageGridWidget* grid, int index) {
  pv::Rect r;
  ASSERT_TRUE(grid->core().VisibleCellRect(index, r)) << index;
  const QPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Mouse(grid->surface(), QEvent::MouseButtonPress, p);
  Mouse(grid->surface(), QEvent::MouseButtonRelease, p);
}

TEST_F(PickerTest, ClipArtWindowEnablesInsertOnlyAfterAClickInTheCurrentCategory) {
  pv::ClipArtPickerWindow w(pv::ClipArtRoot(QString()), {{QStringLiteral("Animali"), 1}, {QStringLiteral("Casa"), 20}});
  Show(w);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Inserisci clip-art"));
  EXPECT_EQ(w.list()->count(), 2);
  EXPECT_EQ(w.list()->item(1)->data(Qt::UserRole).toInt(), 20);
  EXPECT_EQ(w.categoryLabel()->text(), QStringLiteral("Categorie trovate:2"));
  EXPECT_EQ(w.fileLabel()->text(), QStringLiteral("Clip-art trovate: 2"));
  EXPECT_EQ(w.okButton()->text(), QStringLiteral("Inserisci"));
  EXPECT_FALSE(w.okButton()->isEnabled());

  ClickCell(w.grid(), 2);
  EXPECT_TRUE(w.okButton()->isEnabled());
  w.list()->setCurrentRow(1);
  EXPECT_FALSE(w.okButton()->isEnabled());
  EXPECT_EQ(w.fileLabel()->text(), QStringLiteral("Clip-art trovate: 1"));
  ClickCell(w.grid(), 1);
  ASSERT_TRUE(w.okButton()->isEnabled());
  w.okButton()->click();
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_EQ(w.model().ClipFileName, Path(QStringLiteral("clipart/clip20/cat.Emf")));

  // Closed by its title bar after a click: a cancel.
  pv::ClipArtPickerWindow again(pv::ClipArtRoot(QString()), {{QStringLiteral("Animali"), 1}});
  Show(again);
  ClickCell(again.grid(), 1);
  again.close();
  EXPECT_EQ(again.result(), QDialog::Rejected);
  EXPECT_TRUE(again.model().ClipFileName.isEmpty());
}

TEST_F(PickerTest, ShapeAndBackgroundWindowsAnswerTheirButtonsAndTheTitleBar) {
  pv::ShapePickerWindow shapes;
  Show(shapes);
  EXPECT_EQ(shapes.windowTitle(), QStringLiteral("Seleziona forma"));
  EXPECT_FALSE(shapes.okButton()->isEnabled());
  ClickCell(shapes.grid(), 14);
  EXPECT_TRUE(shapes.okButton()->isEnabled());
  shapes.okButton()->click();
  EXPECT_EQ(shapes.model().RetCode, 13);
  Show(shapes);
  ClickCell(shapes.grid(), 2);
  shapes.close();
  EXPECT_EQ(shapes.model().RetCode, -1);

  pv::BackgroundPickerWindow borders;
  borders.SetMode(true);
  Show(borders);
  EXPECT_EQ(borders.windowTitle(), QStringLiteral("Applica bordo"));
  EXPECT_EQ(borders.countLabel()->text(), QStringLiteral("Bordi trovati: 2"));
  EXPECT_EQ(borders.removeButton()->text(), QStringLiteral("Elimina"));
  EXPECT_TRUE(borders.removeButton()->isEnabled());
  EXPECT_FALSE(borders.okButton()->isEnabled());
  ClickCell(borders.grid(), 1);
  borders.removeButton()->click();
  EXPECT_EQ(borders.model().FileName, QStringLiteral("NO_IMAGE_4532756"));

  pv::BackgroundPickerWindow backgrounds;
  backgrounds.SetMode(false);
  Show(backgrounds);
  ClickCell(backgrounds.grid(), 2);
  backgrounds.okButton()->click();
  EXPECT_EQ(backgrounds.model().FileName, Path(QStringLiteral("graphics/background/sky.bmp")));
  Show(backgrounds);
  backgrounds.close();
  EXPECT_TRUE(backgrounds.model().FileName.isEmpty());
}

TEST_F(PickerTest, SeriesCopyWindowStaysOpenOnAFailureAndReadsDecimalCommas) {
  pv::ArrayWindow w;
  Show(w);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Copia in serie"));
  EXPECT_EQ(w.box(2)->text(), QStringLiteral("2"));
  w.box(0)->setText(QStringLiteral("3"));
  w.box(1)->setText(QStringLiteral("2"));
  w.box(2)->setText(QStringLiteral("0,5"));
  w.box(3)->setText(QStringLiteral("12"));
  w.okButton()->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, pv::MsgIcon::Information);
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(w.box(2)->text(), QStringLiteral("0,5"));

  w.box(2)->setText(QStringLiteral("25,5"));
  w.okButton()->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.result(), QDialog::Accepted);
  EXPECT_NE(w.model().Answer.RetCode, 0);
  EXPECT_EQ(w.model().Answer.xCopy, 3);
  EXPECT_EQ(w.model().Answer.yCopy, 2);
  EXPECT_FLOAT_EQ(w.model().Answer.xDelta, 25.5f);
  EXPECT_FLOAT_EQ(w.model().Answer.yDelta, 12.0f);

  pv::ArrayWindow cancelled;
  Show(cancelled);
  cancelled.close();
  EXPECT_EQ(cancelled.model().Answer.RetCode, 0);
}

}  // namespace
