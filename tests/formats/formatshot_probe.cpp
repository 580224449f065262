// Shows the format archive on a real display with a format clicked and saves
// what was drawn (archive.png) into the folder given as the first argument.
// Prints where the sheet drawing lies: "page x y width height".
#include "tests/formats/probestart.h"
#include "core/database.h"
#include "formats/windows/formatdata.h"
#include "platform/msgbox.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString out = formatstest::ProbeStart(argc, argv);
  if (out.isEmpty()) return 3;
  pv::OpenDatabase();
  pv::FormatData view;
  view.resize(1000, 640);
  view.show();
  view.RefreshData(QString());
  QTimer::singleShot(800, &app, [&]() {
    QTreeWidgetItem* item = view.List()->topLevelItem(3);
    if (item == nullptr) QApplication::exit(5);
    emit view.List()->itemClicked(item, 0);
    QTimer::singleShot(500, &app, [&]() {
      const QImage shot = view.grab().toImage();
      const bool saved = shot.save(out + QStringLiteral("/archive.png"));
      const QRect page = view.PagePicture()->geometry();
      std::printf("page %d %d %d %d\n", page.x(), page.y(), page.width(), page.height());
      std::fflush(stdout);
      QApplication::exit(saved && view.PagePicture()->isVisible() ? 0 : 4);
    });
  });
  return QApplication::exec();
}
