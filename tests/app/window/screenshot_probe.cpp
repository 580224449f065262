// Starts the program's window as the program does (splash, start-up, main
// window) on a real display, switches to the editor, and saves what was
// drawn: the window (window.png) and the whole screen (screen.png) into the
// folder given as the first argument; and the About and Options boxes.
// Prints the client size.
#include "app/startup.h"
#include "app/window/dlgabout.h"
#include "app/window/dlgoptions.h"
#include "app/wiring.h"
#include "app/window/mainwnd.h"
#include "platform/msgbox.h"
#include "tests/support/xvfb.h"

#include <QApplication>
#include <QScreen>
#include <QTabWidget>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 3;
  const QString out = QString::fromLocal8Bit(argv[1]);
  pv::InstallProgramHosts();
  struct Boxes : pv::MessageBoxHost {
    pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
      std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
      return pv::MsgAnswer::Ok;
    }
  } boxes;
  pv::SetMessageBoxHost(&boxes);
  if (!pv::Main()) return 2;
  pv::MainWnd& w = pv::GetMainWnd();
  w.SelectView(QStringLiteral("tbr_editor"));
  // Screenshots once the display has shown the window.
  if (!pv::test::WaitForExpose(w.windowHandle())) return 5;
  const QImage window = w.grab().toImage();
  const bool a = window.save(out + QStringLiteral("/window.png"));
  const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
  const bool b = screen.save(out + QStringLiteral("/screen.png"));
  // The dialogs as well, for a look by eye.
  pv::dlgAbout about;
  about.show();
  about.grab().save(out + QStringLiteral("/about.png"));
  pv::dlgOptions options;
  for (int tab = 0; tab < 4; ++tab) {
    options.show();
    options.SSTab1()->setCurrentIndex(tab);
    options.grab().save(out + QStringLiteral("/options%1.png").arg(tab));
  }
  const QPoint client = w.ClientArea()->mapTo(&w, QPoint(0, 0));
  std::printf("client %d %d %d %d\n", client.x(), client.y(), w.ClientArea()->width(), w.ClientArea()->height());
  std::fflush(stdout);
  return a && b ? 0 : 4;
}
