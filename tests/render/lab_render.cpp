// lab-render IN.lab OUT.png DPI
//
// Draws the label of a .lab file through the printer path (background and
// border, then every object) into a white image of the label's size at DPI
// dots per inch, with no data source (fields show their field names), and
// writes it as PNG. Exit status: 0 written, 1 the file was refused or the
// picture could not be written, 2 wrong arguments.
#include "document/document.h"
#include "document/pageorigin.h"
#include "platform/dc.h"
#include "platform/programfolder.h"
#include "render/render.h"

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QStringList args = app.arguments();
  bool dpiOk = false;
  const int dpi = args.size() == 4 ? args[3].toInt(&dpiOk) : 0;
  if (args.size() != 4 || !dpiOk || dpi < 1 || dpi > 4800) {
    std::fprintf(stderr, "usage: lab-render IN.lab OUT.png DPI (1-4800)\n");
    return 2;
  }

  QString reason;
  if (!pv::ReadLabFileIntoDocument(args[1], &reason)) {
    std::fprintf(stderr, "lab-render: %s: refused: %s\n", qPrintable(args[1]), qPrintable(reason));
    pv::RemoveTempImageFolder();
    return 1;
  }
  // The objects were saved with the page where the editor puts it.
  pv::PlaceLabelPageAsEditor();
  // Device units per axis: Int(mm / 25.4 x resolution).
  const double w = std::floor(pv::Header.LabelWidth / 25.4 * dpi);
  const double h = std::floor(pv::Header.LabelHeight / 25.4 * dpi);
  if (!(w >= 1 && h >= 1 && w <= 30000 && h <= 30000)) {
    std::fprintf(stderr, "lab-render: %s: label size %g x %g mm cannot be drawn at %d dpi\n", qPrintable(args[1]),
                 pv::Header.LabelWidth, pv::Header.LabelHeight, dpi);
    pv::RemoveTempImageFolder();
    return 1;
  }

  QImage picture;
  {
    pv::ImageSurface surface(int(w), int(h), dpi, dpi, pv::Rgb(255, 255, 255), QImage::Format_RGB32);
    pv::Rect rect{0, 0, int(w), int(h)};
    pv::DrawLabelBackground(surface.dc(), rect, false);
    pv::Editor().SaveData();
    const pv::LabelContent label{pv::DocBlock, pv::Header, pv::PageOrgX, pv::PageOrgY};
    pv::DrawLabelObjects(surface.dc(), rect, label, pv::FieldNames(), pv::PrintSurface{});
    picture = surface.finish();
  }
  pv::RemoveTempImageFolder();
  const int dpm = int(std::lround(dpi / 0.0254));
  picture.setDotsPerMeterX(dpm);
  picture.setDotsPerMeterY(dpm);
  if (!picture.save(args[2], "PNG")) {
    std::fprintf(stderr, "lab-render: cannot write %s\n", qPrintable(args[2]));
    return 1;
  }
  return 0;
}
