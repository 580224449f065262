// Shows the new-label wizard on a real display and saves what was drawn:
// sizes.png (the size cards) and templates.png (the template cards) into the
// folder given as the first argument. Prints "grid x y width height".
#include "tests/formats/probestart.h"
#include "core/database.h"
#include "formats/windows/modeldata.h"
#include "platform/msgbox.h"
#include "views/imagegridwidget.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace {

class NoWindow : public pv::WizardWindowHost {};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = formatstest::ProbeStart(argc, argv);
  if (out.isEmpty()) return 3;
  NoWindow window;
  pv::SetWizardWindowHost(&window);
  pv::OpenDatabase();
  pv::ModelData view;
  view.resize(1000, 640);
  view.show();
  view.Init();
  QTimer::singleShot(800, &app, [&]() {
    bool saved = view.grab().toImage().save(out + QStringLiteral("/sizes.png"));
    view.Command_Click(2);
    QTimer::singleShot(500, &app, [&, saved]() {
      const bool both = saved && view.grab().toImage().save(out + QStringLiteral("/templates.png"));
      const QRect grid(view.ImageList()->mapTo(&view, QPoint(0, 0)), view.ImageList()->size());
      std::printf("grid %d %d %d %d\n", grid.x(), grid.y(), grid.width(), grid.height());
      std::fflush(stdout);
      QApplication::exit(both ? 0 : 4);
    });
  });
  return QApplication::exec();
}
