// Run on a real (virtual) display: the program starts as it does for a
// user; a 20-record dBASE file is written and registered; a label with two
// merged fields, the counter and a Code 128 barcode from a field, on an
// 8-up format, is opened. Then, through the main window: the print tab, the
// format chooser opened by clicks on the format bar, the data source chosen,
// a sort and two filters (the second leaves 17 records) set through the
// dialogs, page 2 shown from the toolbar, a screenshot, every page printed
// to a PDF file named in a dialog, and the chooser once more while merging.
// Writes into the folder given as the first argument: manual.png (the
// options before the merge), window.png, labels.pdf, and what the display
// showed (taken by another X client): merged, sorted, filtered and
// refiltered .png after each change and the same with "_fresh" after a page
// change and back, each of the window; job_<value>.png at each step of the
// job's progress. Prints on standard output
//   "caption <page caption>", "sheet x y w h", "bar x y w h", "cell x y w h"
//   (the first label cell in the window's pixels), "merge 0|1",
//   "pages <PageCount>", "messages N", "chooser <clicks> <openings>" before
//   and "chooser merged <clicks> <openings>" while merging, "lastused 0|1"
//   (the format chosen keeps its mark), "dialog x y w h" and "dialogshown
//   0|1" (the file dialog and whether the display showed it), "progress x y
//   w h", "after <page caption>" once printed.
#include "core/database.h"
#include "app/startup.h"
#include "app/window/mainwnd.h"
#include "app/wiring.h"
#include "datasources/registrations.h"
#include "datasources/sourcedialogs.h"
#include "document/labelfile.h"
#include "document/pageorigin.h"
#include "formats/windows/dlgselformat.h"
#include "formats/formatstore.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "printing/engine.h"
#include "printing/panel/clickable.h"
#include "printing/panel/formatbar.h"
#include "printing/panel/optionpanel.h"
#include "printing/panel/previewdata.h"
#include "render/barcode.h"
#include "tests/support/xvfb.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QDialog>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <shapefil.h>

#include <cstdio>
#include <optional>

using namespace pv;

namespace {

constexpr const char* kNames[20] = {"Marco",  "Anna",   "Luca",  "Giulia", "Paolo", "Elena", "Sara",
                                    "Davide", "Chiara", "Bruno", "Franca", "Ivo",   "Laura", "Nicola",
                                    "Olga",   "Piero",  "Rita",  "Teresa", "Ugo",   "Vera"};

bool WriteDbf(const QString& file) {
  DBFHandle dbf = DBFCreateEx(file.toLocal8Bit().constData(), "LDID/87");
  if (dbf == nullptr) return false;
  const int nome = DBFAddField(dbf, "NOME", FTString, 20, 0);
  const int citta = DBFAddField(dbf, "CITTA", FTString, 20, 0);
  const int codice = DBFAddField(dbf, "CODICE", FTString, 12, 0);
  const int num = DBFAddField(dbf, "NUM", FTInteger, 4, 0);
  bool ok = nome >= 0 && citta >= 0 && codice >= 0 && num >= 0;
  for (int i = 0; ok && i < 20; ++i) {
    const QByteArray name(kNames[i]);
    ok = DBFWriteStringAttribute(dbf, i, nome, name.constData()) && DBFWriteStringAttribute(dbf, i, citta, "Trieste") &&
         DBFWriteStringAttribute(dbf, i, codice, ("X" + name.toUpper()).constData()) &&
         DBFWriteIntegerAttribute(dbf, i, num, i + 1);
  }
  DBFClose(dbf);
  return ok;
}

ObjectRecord Box(std::int16_t kind, float cx, float cy, float w, float h, std::int32_t key) {
  ObjectRecord r{};
  r.GeomType = GeomBox;
  r.UserType = kind;
  r.CenterX = r.X1 = cx;
  r.CenterY = r.Y1 = cy;
  r.Width = r.X2 = w;
  r.Height = r.Y2 = h;
  r.Key = key;
  r.FontName = QStringLiteral("Arial");
  r.FontSize = 14;
  r.Alignment = 20;
  r.LineStyle = 2;
  r.Opacity = 100;
  return r;
}

// The label: 90 x 60 mm; NOME and CITTA, the counter, a Code 128 of CODICE.
bool WriteLabel(const QString& file, const QString& formatCode) {
  LabFileContent content;
  content.Header.LabelWidth = 90;
  content.Header.LabelHeight = 60;
  content.Header.LabelFormatCode = formatCode;
  const PageEdges page = CentredPage(0, 0, EditorWorkAreaSize, EditorWorkAreaSize, 90, 60);
  const float x = page.left;
  const float y = page.top;
  ObjectRecord name = Box(UserTypeDatabaseField, x + 30, y + 9, 50, 10, 1);
  name.Content = QStringLiteral("NOME");
  ObjectRecord city = Box(UserTypeDatabaseField, x + 30, y + 20, 50, 10, 2);
  city.Content = QStringLiteral("CITTA");
  ObjectRecord counter = Box(UserTypeDatabaseField, x + 75, y + 9, 20, 10, 3);
  counter.Content = QStringLiteral("KINTERNAL238547-01");
  ObjectRecord code = Box(UserTypeBarcode, x + 45, y + 42, 70, 22, 4);
  code.Aspect = BarcodeCode128Index;
  code.Variant = 1;  // the content comes from a field
  code.Content = QStringLiteral("CODICE");
  code.ShowText = 1;
  content.Block.Objects[1] = name;
  content.Block.Objects[2] = city;
  content.Block.Objects[3] = counter;
  content.Block.Objects[4] = code;
  content.Block.Count = 4;
  QFile f(file);
  if (!f.open(QIODevice::WriteOnly)) return false;
  return WriteLabFile(f, content);
}

// What the display shows of `area` (global pixels), taken by another X
// client: nothing the program still holds back is in it.
bool ShowsOnDisplay(const QRect& area, const QString& file) {
  QProcess p;
  p.start(QStringLiteral("import"),
          {QStringLiteral("-silent"), QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
           QStringLiteral("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y()),
           QStringLiteral("+repage"), file});
  return p.waitForFinished(20000) && p.exitCode() == 0;
}

QRect GlobalRect(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

void PrintRect(const char* what, const QWidget* w, const QWidget* window) {
  const QPoint at = w->mapTo(window, QPoint(0, 0));
  std::printf("%s %d %d %d %d\n", what, at.x(), at.y(), w->width(), w->height());
}

// The PDF file name asked in a dialog of its own, in a colour nothing else
// has, over the right part of the panel; it answers by itself once the
// display shows it.
class Dialogs : public CommonDialogHost {
 public:
  QString pdf;
  QWidget* over = nullptr;
  QWidget* window = nullptr;
  QString shots;
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest&) override {
    QDialog d(window);
    d.setWindowTitle(QStringLiteral("Salva come"));
    d.setAutoFillBackground(true);
    QPalette magenta = d.palette();
    magenta.setColor(QPalette::Window, QColor(255, 0, 255));
    d.setPalette(magenta);
    d.setGeometry(GlobalRect(over).adjusted(40, 40, -40, -40));
    PrintRect("dialog", over, window);
    bool shown = false;
    QTimer::singleShot(300, &d, [&] {
      shown = ShowsOnDisplay(GlobalRect(&d), shots + QStringLiteral("/dialog.png"));
      d.accept();
    });
    d.exec();
    std::printf("dialogshown %d\n", shown ? 1 : 0);
    return FileDialogResult{pdf, 1};
  }
};

class SortAndFilter : public SourceDialogs {
 public:
  QStringList filters;
  QString ShowSortDialog(const QStringList&, const QString&) override { return QStringLiteral("[NOME] ASC"); }
  FilterDialogAnswer ShowFilterDialog(const QStringList&, const QString&, SourceRecordset*) override {
    return FilterDialogAnswer{1, filters.isEmpty() ? QString() : filters.takeFirst()};
  }
};

// Answers every format chooser that opens: the first answers planned, then
// Cancel. `choose` picks a row before OK.
class ChooserAnswers : public QObject {
 public:
  struct Answer {
    QString choose;  // empty: Cancel
  };
  QList<Answer> plan;
  int openings = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* d = qobject_cast<DlgSelFormat*>(watched);
    if (d != nullptr && event->type() == QEvent::Show) {
      ++openings;
      const Answer a = plan.isEmpty() ? Answer{} : plan.takeFirst();
      QTimer::singleShot(50, d, [d, a] {
        if (a.choose.isEmpty()) {
          d->CancelButton()->click();
          return;
        }
        const QList<QTreeWidgetItem*> rows = d->List()->findItems(a.choose, Qt::MatchExactly, 0);
        if (!rows.isEmpty()) emit d->List()->itemClicked(rows[0], 0);
        d->OKButton()->click();
      });
    }
    return false;
  }
};

class Messages : public MessageBoxHost {
 public:
  int count = 0;
  MsgAnswer Show(const MsgBoxRequest& r) override {
    ++count;
    std::fprintf(stderr, "message: %s\n", r.text.toUtf8().constData());
    return MsgAnswer::Ok;
  }
};

void Click(QWidget* w) {
  const QPointF p(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent press(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &release);
  test::DrainEvents();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  const QDir out(QString::fromLocal8Bit(argv[1]));
  InstallProgramHosts();
  Messages messages;
  SetMessageBoxHost(&messages);
  Dialogs dialogs;
  dialogs.pdf = out.filePath(QStringLiteral("labels.pdf"));
  SortAndFilter sortAndFilter;
  if (!Main()) return 3;
  SetCommonDialogHost(&dialogs);
  SetSourceDialogs(&sortAndFilter);
  SetCurrentPrinter(QString::fromLatin1(PdfPrinterName));

  // The data and the label.
  const QString data = out.filePath(QStringLiteral("dati"));
  QDir().mkpath(data);
  if (!WriteDbf(data + QStringLiteral("/persone.dbf"))) return 4;
  Registration reg;
  reg.label = QStringLiteral("Persone");
  reg.connectionString = QStringLiteral(
                             "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%1;Mode=ReadWrite;"
                             "Persist Security Info=False;Extended Properties=dBASE III;")
                             .arg(QDir::toNativeSeparators(data));
  reg.recordSetName = QStringLiteral("persone");
  reg.sourceName = data;
  reg.sourceFormat = 1;
  PrintFormat format;
  format.Code = QStringLiteral("PROVA-8");
  format.Description = QStringLiteral("8 etichette");
  format.Width = 90;
  format.Height = 60;
  format.nOri = 2;
  format.nVer = 4;
  format.TopMargin = 20;
  format.LeftMargin = 10;
  format.vertipitch = 5;
  format.horizpitch = 10;
  format.sheetwidth = 210;
  format.sheetdepth = 297;
  try {
    RegistrationStore(rsRegistrations).Add(reg);
    StoreFormat(format);
  } catch (const std::exception&) {
    return 5;
  }
  const QString label = out.filePath(QStringLiteral("etichetta.lab"));
  if (!WriteLabel(label, format.Code)) return 6;

  MainWnd& w = GetMainWnd();
  if (!test::WaitForExpose(w.windowHandle())) return 7;
  // The data-source manager tells the panel of the new registration.
  w.PreviewData()->Init();
  if (!OpenDocumentFile(label)) return 8;
  w.SelectView(QStringLiteral("tbr_editor"));
  test::DrainEvents();

  // The print tab.
  Click(w.Image4(2));
  auto* panel = qobject_cast<PreviewData*>(w.PreviewData());
  if (panel == nullptr || !panel->isVisible()) return 9;
  // What the display shows of the window now, after all the program posted.
  const auto shot = [&](const char* name) {
    test::DrainEvents();
    ShowsOnDisplay(GlobalRect(&w), out.filePath(QLatin1String(name) + QStringLiteral(".png")));
  };
  // The run's change on screen, then the same page drawn afresh (another
  // page and back).
  const auto shotAndFresh = [&](const char* name) {
    shot(name);
    Click(panel->Command(2));
    Click(panel->Command(0));
    shot((QLatin1String(name) + QStringLiteral("_fresh")).toLatin1().constData());
  };

  // The manual options, for a look by eye.
  panel->Options()->Option2(1)->click();
  test::DrainEvents();
  w.grab().save(out.filePath(QStringLiteral("manual.png")));
  panel->Options()->Option2(0)->click();

  // The format chooser from the format name (a format chosen) and from its
  // image (cancelled).
  ChooserAnswers chooser;
  app.installEventFilter(&chooser);
  chooser.plan = {{format.Code}, {}};
  Click(panel->Bar()->FormatName());
  std::printf("lastused %d\n", FormatLastUsed(format.Code) ? 1 : 0);
  Click(panel->Bar()->ChooserImage());
  std::printf("chooser 2 %d\n", chooser.openings);

  // The source, sort and filters, page 2.
  QComboBox* list = panel->Options()->CmbRegistration();
  const int entry = list->findText(reg.label);
  if (entry < 1) return 10;
  list->setCurrentIndex(entry);
  emit list->activated(entry);
  shotAndFresh("merged");
  Click(panel->Command(7));
  shotAndFresh("sorted");
  sortAndFilter.filters = {QStringLiteral("[NUM] > 2"), QStringLiteral("[NUM] <= 17")};
  Click(panel->Command(8));
  shotAndFresh("filtered");
  Click(panel->Command(8));
  shotAndFresh("refiltered");
  Click(panel->Command(2));
  test::DrainEvents();

  std::printf("caption %s\n", panel->Options()->PageCaption()->text().toUtf8().constData());
  std::printf("merge %d\n", PrintRun().Merging() ? 1 : 0);
  std::printf("pages %d\n", int(PrintRun().Run().m_PageCount));
  PrintRect("sheet", panel->Preview()->Sheet(), &w);
  PrintRect("bar", panel->Bar(), &w);
  const PreviewSheet sheet = panel->Preview()->Geometry();
  const double pxPerMm = sheet.WidthPx / sheet.PageWidth;
  const QPoint sheetAt = panel->Preview()->Sheet()->mapTo(&w, QPoint(0, 0));
  std::printf("cell %d %d %d %d\n", sheetAt.x() + int(format.LeftMargin * pxPerMm),
              sheetAt.y() + int(format.TopMargin * pxPerMm), int(format.Width * pxPerMm), int(format.Height * pxPerMm));
  if (!w.grab().save(out.filePath(QStringLiteral("window.png")))) return 11;

  // Every page, the file asked in a dialog over the panel; the display at
  // each step of the progress.
  dialogs.window = &w;
  dialogs.over = panel->Container();
  dialogs.shots = out.path();
  QProgressBar* progress = panel->Bar()->ProgressBar();
  const QMetaObject::Connection steps = QObject::connect(progress, &QProgressBar::valueChanged, [&](int value) {
    if (value == 1) PrintRect("progress", progress, &w);
    ShowsOnDisplay(GlobalRect(&w), out.filePath(QStringLiteral("job_%1.png").arg(value)));
  });
  Click(panel->Command(6));
  QObject::disconnect(steps);
  std::printf("after %s\n", panel->Options()->PageCaption()->text().toUtf8().constData());

  // The chooser once more while merging.
  chooser.openings = 0;
  Click(panel->Bar()->FormatName());
  std::printf("chooser merged 1 %d\n", chooser.openings);
  app.removeEventFilter(&chooser);
  std::printf("messages %d\n", messages.count);
  std::fflush(stdout);
  return 0;
}
