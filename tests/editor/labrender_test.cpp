// A label composed and saved through the editor, drawn by lab-render: the
// objects land on the label where the editor showed them.
#include "editor_fixture.h"

#include <QImage>
#include <QProcess>

namespace {

using pvtest::EditorTest;

class SavedLabelRender : public EditorTest {};

TEST_F(SavedLabelRender, ObjectsAreDrawnWhereTheEditorPlacedThem) {
  pv::Header.LabelWidth = 60;
  pv::Header.LabelHeight = 30;
  logic->SetParameter();
  // The page centred in the 300 mm work area.
  ASSERT_FLOAT_EQ(pv::PageOrgX, 120);
  ASSERT_FLOAT_EQ(pv::PageOrgY, 135);
  // A red rectangle 20 x 10 mm with its top-left corner 5 mm from each of
  // the label's edges, and a blue one in the label's bottom-right corner.
  logic->Apply(501, 0x0000FF, true, false);
  ASSERT_NE(Draw(pv::UserTypeRectangle, pv::PageOrgX + 15, pv::PageOrgY + 10, 20, 10), 0);
  canvas->DeselectAll();
  logic->Apply(501, 0xFF0000, true, false);
  ASSERT_NE(Draw(pv::UserTypeRectangle, pv::PageOrgX + 50, pv::PageOrgY + 25, 20, 10), 0);

  const QString lab = sources.filePath(QStringLiteral("saved.lab"));
  pv::DocFileName = lab;
  ASSERT_TRUE(pv::SaveDocument(false));

  // 60 x 30 mm at 254 dpi: 10 pixels a millimetre.
  const QString png = sources.filePath(QStringLiteral("saved.png"));
  QProcess tool;
  tool.start(QStringLiteral(LAB_RENDER_PATH), {lab, png, QStringLiteral("254")});
  ASSERT_TRUE(tool.waitForFinished(60000));
  ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  const QImage img = QImage(png).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(img.size(), QSize(600, 300));

  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
  const struct {
    int x, y;
    QRgb colour;
  } probes[] = {
      {150, 100, red},                      // the red rectangle's centre
      {70, 70, red},                        // 2 mm inside its top-left corner
      {230, 130, red},                      // ... and its bottom-right corner
      {40, 40, white},                      // the margin above and left of it
      {260, 160, white},                    // below and right of it
      {500, 250, blue},                     // the blue rectangle, clipped by the label's edge
      {570, 280, blue},  {300, 50, white},  // open label
  };
  for (const auto& p : probes) EXPECT_EQ(img.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
}

}  // namespace
