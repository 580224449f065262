// Shows the clip-art picker on a real display over the program's own
// clip-art, clicks its second cell and saves the window as the screen shows
// it (picker.png in the folder given as the first argument). Prints the
// grid's place in the window and the rectangles of the visible cells.
#include "properties/windows/pickerwindows.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 3;
  const QString out = QString::fromLocal8Bit(argv[1]);
  pv::ClipArtPickerWindow w(pv::ClipArtRoot(QString()), {{QStringLiteral("Animali"), 1}, {QStringLiteral("Casa"), 2}});
  w.resize(640, 420);
  w.show();
  QTimer::singleShot(1200, &app, [&]() {
    pv::Rect r;
    if (!w.grid()->core().VisibleCellRect(2, r)) QApplication::exit(5);
    const QPointF p((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
    QWidget* surface = w.grid()->surface();
    QMouseEvent press(QEvent::MouseButtonPress, p, surface->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(surface, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, surface->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(surface, &release);
    QTimer::singleShot(500, &app, [&w, &out, surface]() {
      const QPoint origin = surface->mapTo(&w, QPoint(0, 0));
      const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(w.winId());
      const bool saved = shot.save(out + QStringLiteral("/picker.png"));
      std::printf("ok %d selected %d\n", w.okButton()->isEnabled() ? 1 : 0, w.grid()->core().SelectedIndex());
      for (int i = 1; i <= w.model().Grid().nBitmap; ++i) {
        pv::Rect c;
        if (!w.grid()->core().VisibleCellRect(i, c)) break;
        std::printf("cell %d %d %d %d %d\n", i, origin.x() + c.left, origin.y() + c.top, c.right - c.left,
                    c.bottom - c.top);
      }
      std::fflush(stdout);
      QApplication::exit(saved ? 0 : 4);
    });
  });
  return QApplication::exec();
}
