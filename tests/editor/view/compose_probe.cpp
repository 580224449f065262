// Run on a real (virtual) display: composes a small label through the
// editor view with the mouse (a rectangle, a text box, a barcode and a
// picture), saves it, reopens it, and writes what it found and two
// screenshots into the folder given as the first argument:
//   report.txt    "objects N", "kinds ...", "roundtrip same|differs ...",
//                 "picture same|differs", "region <kind> x y w h" (in the
//                 screenshots' pixels), "messages N"
//   composed.png  the view after composing (grabbed from the widget)
//   reopened.png  the view after the file was read back
//   screen.png    the display's own picture of the window
#include "core/settings.h"
#include "app/wiring.h"
#include "document/canvas/drageditorwidget.h"
#include "document/canvas/geometry.h"
#include "document/document.h"
#include "editor/style.h"
#include "editor/view/editcard.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "tests/support/xvfb.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QTextStream>
#include <QToolButton>
#include <QWindow>

#include <cstdio>
#include <optional>

using namespace pv;

namespace {

// The open dialog chooses the picture, the save dialog the label file.
class AnswerDialogs : public CommonDialogHost {
 public:
  QString picture, label;
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override {
    return FileDialogResult{request.save ? label : picture, 1};
  }
};

class CountedMessages : public MessageBoxHost {
 public:
  int count = 0;
  MsgAnswer Show(const MsgBoxRequest& r) override {
    ++count;
    std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
    return MsgAnswer::Ok;
  }
};

QPoint ViewPoint(EditCard& view, float x, float y) {
  std::int32_t vx = 0, vy = 0;
  DocToView(view.Canvas().State(), PageOrgX + x, PageOrgY + y, vx, vy);
  return QPoint(vx, vy);
}

void Mouse(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Arms palette button `tool` and draws from (x1, y1) to (x2, y2), millimetres
// from the label's corner.
void Draw(EditCard& view, int tool, float x1, float y1, float x2, float y2) {
  view.Image2(tool)->click();
  QWidget* surface = view.DragEditorControl()->ViewArea();
  const QPoint a = ViewPoint(view, x1, y1);
  const QPoint b = ViewPoint(view, x2, y2);
  Mouse(surface, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
  for (int i = 1; i <= 5; ++i) Mouse(surface, QEvent::MouseMove, a + (b - a) * i / 5, Qt::NoButton, Qt::LeftButton);
  Mouse(surface, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
  test::DrainEvents();
}

QString Regions(EditCard& view) {
  QString out;
  const QPoint offset = view.DragEditorControl()->ViewArea()->mapTo(&view, QPoint(0, 0));
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    std::int32_t l = 0, t = 0, rr = 0, b = 0;
    DocToViewRect(view.Canvas().State(), r.CenterX - r.Width / 2, r.CenterY - r.Height / 2, r.CenterX + r.Width / 2,
                  r.CenterY + r.Height / 2, l, t, rr, b);
    out += QStringLiteral("region %1 %2 %3 %4 %5\n")
               .arg(r.UserType)
               .arg(l + offset.x())
               .arg(t + offset.y())
               .arg(rr - l)
               .arg(b - t);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  InstallProgramHosts();
  CountedMessages messages;
  SetMessageBoxHost(&messages);

  QImage picture(60, 40, QImage::Format_RGB32);
  picture.fill(QColor(0, 200, 0));
  AnswerDialogs dialogs;
  dialogs.picture = out.filePath(QStringLiteral("picture.png"));
  dialogs.label = out.filePath(QStringLiteral("label.lab"));
  if (!picture.save(dialogs.picture)) return 3;
  SetCommonDialogHost(&dialogs);

  ResetDocumentState();
  ResetDefaultStyle();
  Settings settings;
  settings.SettingGridX = 5;
  settings.SettingGridY = 5;
  settings.SettingShowGrid = 0;
  settings.SettingShowRule = 1;
  settings.SettingSnap = 0;
  settings.SettingAutoInsert = 0;
  ProgramSettings() = settings;
  Header.LabelWidth = 100;
  Header.LabelHeight = 60;

  EditCard view;
  AttachEditCard(view);
  view.resize(1000, 700);
  view.show();
  if (!test::WaitForExpose(view.windowHandle())) return 6;
  view.SetParameter();
  test::DrainEvents();

  // A red rectangle: the current style's first colour, for the next objects.
  view.Apply(501, 0x0000FF, 1, false);
  Draw(view, 5, 5, 5, 45, 25);
  view.Apply(501, 0xFFFFFF, 1, false);
  Draw(view, 1, 55, 5, 95, 25);   // text box: black text
  Draw(view, 12, 5, 32, 50, 55);  // barcode
  Draw(view, 2, 60, 32, 90, 55);  // picture
  view.Canvas().DeselectAll();
  test::DrainEvents();

  QString report;
  QTextStream s(&report);
  s << "objects " << ObjCount << "\n";
  s << "kinds";
  for (std::int32_t i = 1; i <= ObjCount; ++i) s << " " << Objects[static_cast<std::size_t>(i)].UserType;
  s << "\n";
  view.grab().save(out.filePath(QStringLiteral("composed.png")));

  if (!SaveDocument(false)) return 4;
  const DocumentBlock saved = DocBlock;
  const LabelHeader header = Header;
  QByteArray pictureBytes;
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    if (r.UserType != UserTypeImage) continue;
    QFile f(ImageTempPath(r));
    if (f.open(QIODevice::ReadOnly)) pictureBytes = f.readAll();
  }

  NewDocument();
  ClearTempImageFolder();
  const std::int32_t emptied = ObjCount;
  OpenDocumentFile(dialogs.label);
  test::DrainEvents();

  if (emptied == 0 && SameLiveObjects(saved, DocBlock) && header == Header) {
    s << "roundtrip same\n";
  } else {
    s << "roundtrip differs (count " << saved.Count << " / " << ObjCount << ", emptied " << emptied << ")\n";
  }
  QByteArray reread;
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    if (r.UserType != UserTypeImage) continue;
    QFile f(ImageTempPath(r));
    if (f.open(QIODevice::ReadOnly)) reread = f.readAll();
  }
  s << (!pictureBytes.isEmpty() && pictureBytes == reread ? "picture same\n" : "picture differs\n");
  s << Regions(view);
  view.grab().save(out.filePath(QStringLiteral("reopened.png")));
  if (QScreen* screen = view.screen()) {
    screen->grabWindow(view.winId()).save(out.filePath(QStringLiteral("screen.png")));
  }
  s << "messages " << messages.count << "\n";
  s.flush();

  QFile f(out.filePath(QStringLiteral("report.txt")));
  if (!f.open(QIODevice::WriteOnly)) return 5;
  f.write(report.toUtf8());
  std::fputs(report.toUtf8().constData(), stdout);
  return 0;
}
