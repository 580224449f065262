// Shows the main window in the editor view on a real (virtual) display,
// ticks the editor's text format switch and saves the whole screen
// (screen.png in the folder given as the first argument). Prints the
// rectangles, in screen pixels, of the main window ("main"), the text
// format window ("window") and its bold toggle ("bold"). Then ticks the fill
// switch, picks the textures, clicks the third cell and saves the screen
// again (fill.png), printing the grid ("grid") and each visible cell
// ("cell <index>").
#include "app/wiring.h"
#include "app/window/mainwnd.h"
#include "views/popups.h"
#include "views/views.h"
#include "platform/msgbox.h"
#include "properties/windows/fillwindowwidget.h"
#include "properties/windows/fontwindowwidget.h"
#include "tests/support/xvfb.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QMouseEvent>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

using namespace pv;

namespace {
class NoMessages : public MessageBoxHost {
 public:
  MsgAnswer Show(const MsgBoxRequest& r) override {
    std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
    return MsgAnswer::Ok;
  }
};

void Print(const char* name, const QRect& r) {
  std::printf("%s %d %d %d %d\n", name, r.x(), r.y(), r.width(), r.height());
}

// The screen shows `window` as it paints itself now.
bool OnScreen(QWidget* window) {
  const QImage painted = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QPoint at = window->mapToGlobal(QPoint(0, 0));
  const QImage shown = QGuiApplication::primaryScreen()
                           ->grabWindow(0, at.x(), at.y(), window->width(), window->height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  return shown.size() == painted.size() && test::DifferingPixels(shown, painted) == 0;
}

// Handles events until the screen shows each window as it paints itself
// (false when it does not within 10 s): its repaints drawn and flushed to
// the display.
bool Settle(std::initializer_list<QWidget*> windows) {
  const QDeadlineTimer deadline(10000);
  for (;;) {
    test::DrainEvents();
    if (std::all_of(windows.begin(), windows.end(), OnScreen)) return true;
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
  }
}

void Click(QWidget* surface, QPointF p) {
  QMouseEvent press(QEvent::MouseButtonPress, p, surface->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(surface, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, p, surface->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(surface, &release);
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setCursorFlashTime(0);  // a text cursor that stays as painted
  if (argc < 2) return 2;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  InstallProgramHosts();
  NoMessages messages;
  SetMessageBoxHost(&messages);

  MainWnd& main = GetMainWnd();
  main.InitGui();
  main.move(10, 10);
  main.resize(1000, 720);
  main.show();
  if (!test::WaitForExpose(main.windowHandle())) return 3;
  main.SelectView(QStringLiteral("tbr_editor"));
  test::DrainEvents();

  main.EditCard()->SetShowPop(PopFont, true);
  auto* window = qobject_cast<FontWindow*>(PopUpWindow(PopFont));
  if (window == nullptr) return 4;
  if (!test::WaitForExpose(window->windowHandle())) return 5;
  if (!Settle({window})) return 11;
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  if (!shot.save(out.filePath(QStringLiteral("screen.png")))) return 6;
  Print("main", main.frameGeometry());
  Print("window", QRect(window->mapToGlobal(QPoint(0, 0)), window->size()));
  QWidget* bold = window->styleButton(0);
  Print("bold", QRect(bold->mapToGlobal(QPoint(0, 0)), bold->size()));
  std::fflush(stdout);

  main.EditCard()->SetShowPop(PopFill, true);
  auto* fill = qobject_cast<FillWindow*>(PopUpWindow(PopFill));
  if (fill == nullptr) return 7;
  if (!test::WaitForExpose(fill->windowHandle())) return 8;
  fill->kindList()->setCurrentIndex(5);
  emit fill->kindList()->activated(5);
  if (!Settle({fill})) return 12;
  ImageGridCore& grid = fill->model().Grid();
  Rect r;
  if (!grid.VisibleCellRect(3, r)) return 9;
  QWidget* surface = fill->grid()->surface();
  Click(surface, QPointF((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0));
  if (!Settle({fill})) return 13;
  const QPixmap fillShot = QGuiApplication::primaryScreen()->grabWindow(0);
  if (!fillShot.save(out.filePath(QStringLiteral("fill.png")))) return 10;
  const QPoint origin = surface->mapToGlobal(QPoint(0, 0));
  Print("grid", QRect(origin, surface->size()));
  for (int i = 1; i <= grid.nBitmap; ++i) {
    Rect c;
    if (!grid.VisibleCellRect(i, c)) break;
    std::printf("cell %d %d %d %d %d\n", i, origin.x() + c.left, origin.y() + c.top, c.right - c.left,
                c.bottom - c.top);
  }
  std::printf("selected %d style %d\n", grid.SelectedIndex(), fill->model().FillStyle);
  std::fflush(stdout);
  return 0;
}
