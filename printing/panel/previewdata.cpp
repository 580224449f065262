#include "printing/panel/previewdata.h"

#include "core/database.h"
#include "core/settings.h"
#include "datasources/registrations.h"
#include "datasources/sourcedialogs.h"
#include "document/hosts.h"
#include "document/model.h"
#include "formats/windows/dlgselformat.h"
#include "platform/commondialogs.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "printing/engine.h"
#include "printing/panel/clickable.h"
#include "printing/panel/formatbar.h"
#include "printing/panel/optionpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QSignalBlocker>
#include <QToolButton>

#include <exception>

namespace pv {
namespace {

constexpr int kRuleY = 19;
constexpr int kBarY = 20;
constexpr int kBarHeight = 22;
constexpr int kPreviewY = 42;

constexpr int kMsgNoMerge = 31015;
constexpr int kMsgConverted = 31027;

struct CommandImage {
  const char* file;
  int tooltip;
};
constexpr CommandImage kCommands[9] = {
    {"print_first", 13325}, {"print_previous", 13326}, {"print_next", 13327},
    {"print_last", 13328},  {"print_setup", 13329},    {"print_page", 13330},
    {"print_all", 13331},   {"print_sort", 13332},     {"print_filter", 13333},
};
// Toolbar groups: navigation, printer, printing, merge data.
constexpr int kCommandLeft[9] = {2, 24, 46, 68, 98, 128, 150, 180, 202};

}  // namespace

PreviewData::PreviewData(QWidget* parent) : PreviewData(parent, new PrintPreview) {}

PreviewData::PreviewData(QWidget* parent, PrintPreview* preview)
    : PreviewDataView(parent), PreviewControls(preview), m_preview(preview) {
  setObjectName(QStringLiteral("PreviewData"));
  m_options = new OptionPanel(this);
  m_container = new QWidget(this);
  m_container->setObjectName(QStringLiteral("PicContainer"));

  for (int i = 0; i < 9; ++i) {
    auto* b = new QToolButton(m_container);
    b->setObjectName(QStringLiteral("Command_%1").arg(i));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setIcon(QIcon(QStringLiteral(":/plavik/images/%1.svg").arg(QLatin1String(kCommands[i].file))));
    b->setIconSize(QSize(16, 16));
    b->setToolTip(LoadResString(kCommands[i].tooltip));
    b->setGeometry(kCommandLeft[i], 0, 20, kRuleY);
    connect(b, &QToolButton::clicked, this, [this, i] { Command_Click(i); });
    m_commands[static_cast<std::size_t>(i)] = b;
  }
  m_rule = new QFrame(m_container);
  m_rule->setObjectName(QStringLiteral("Line2"));
  m_rule->setFrameShape(QFrame::NoFrame);
  m_rule->setAutoFillBackground(true);
  QPalette rulePalette = m_rule->palette();
  rulePalette.setColor(QPalette::Window, QColor(128, 128, 128));
  m_rule->setPalette(rulePalette);
  m_bar = new FormatBar(m_container);
  m_preview->setParent(m_container);
  m_preview->setObjectName(QStringLiteral("PrintPreview"));

  connect(m_options, &OptionPanel::applyRequested, this, &PreviewData::GetUserInformation);
  connect(m_options, &OptionPanel::registrationChosen, this, &PreviewData::CmbRegistration_Click);
  connect(m_bar, &FormatBar::clicked, this, &PreviewData::SelectFormat);
  Layout();
}

PreviewData::~PreviewData() { m_installs.reset(); }

// ---- layout ----------------------------------------------------------------

void PreviewData::resizeEvent(QResizeEvent*) { Layout(); }

void PreviewData::Layout() {
  const int optionWidth = m_options->ColumnWidth();
  m_options->setGeometry(0, 0, optionWidth, height());
  // Too narrow for the right part: the rest stays where it was.
  const int containerLeft = optionWidth + 1;
  const int cw = width() - containerLeft;
  if (cw <= 0) return;
  m_container->setGeometry(containerLeft, 0, cw, height());
  m_rule->setGeometry(0, kRuleY, cw, 1);
  m_bar->setGeometry(0, kBarY, cw, kBarHeight);
  m_preview->setGeometry(0, kPreviewY, cw, std::max(0, height() - kPreviewY));
  m_bar->update();
}

// ---- the engine's side -----------------------------------------------------

void PreviewData::SetWarningVisible(bool visible) { m_options->Warning()->setVisible(visible); }
void PreviewData::SetPageCaption(const QString& caption) {
  // A job lays out the pages it prints; the caption names the page on
  // display, which the job leaves as it was.
  if (PrintRun().JobRunning()) return;
  m_options->PageCaption()->setText(caption);
}
void PreviewData::SetFormatCaption(const QString& caption) { m_bar->SetFormatCaption(caption); }
void PreviewData::SetControlInformation() { m_options->ShowRunValues(); }
void PreviewData::ShowProgress(bool visible) {
  m_bar->ShowProgress(visible);
  if (visible) {
    BeginJobDisplay();
  } else {
    EndJobDisplay();
  }
}

void PreviewData::SetProgress(double minimum, double maximum, double value) {
  m_bar->SetProgress(minimum, maximum, value);
  if (m_jobDisplay) ShowPendingPaints();
}

// ---- the display during a job -----------------------------------------------

void PreviewData::BeginJobDisplay() {
  if (m_jobDisplay) return;
  m_jobDisplay = true;
  QWidget* w = window();
  w->installEventFilter(this);
  // A dialog that asked for the job (the PDF file name) has just closed:
  // the window is drawn again at once where it stood, with the progress.
  if (w->isVisible()) w->repaint();
  // The job moves the page number and the merge record: the preview keeps
  // the page on display until the job has ended.
  m_preview->setUpdatesEnabled(false);
  ShowPendingPaints();
}

void PreviewData::EndJobDisplay() {
  if (!m_jobDisplay) return;
  m_jobDisplay = false;
  window()->removeEventFilter(this);
  m_preview->setUpdatesEnabled(true);
}

void PreviewData::ShowPendingPaints() {
  // Paints and window-system events only: the user's clicks and keys wait
  // for the job's end (the commands do nothing while it runs anyway).
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

bool PreviewData::eventFilter(QObject* watched, QEvent* event) {
  // The window stays open while the job runs.
  if (m_jobDisplay && watched == window() && event->type() == QEvent::Close) {
    event->ignore();
    return true;
  }
  return PreviewDataView::eventFilter(watched, event);
}
bool PreviewData::StopPageChecked() { return m_options->ManualPaper()->isChecked(); }
void PreviewData::ShowManualOptions(bool visible) { ShowControl(visible); }
void PreviewData::ShowControl(bool bMode) { m_options->ShowControl(bMode); }

void PreviewData::SelectNoMergeEntry() {
  {
    const QSignalBlocker block(m_options->CmbRegistration());
    m_options->CmbRegistration()->setCurrentIndex(0);
  }
  m_options->FitRegistrationList();
  CmbRegistration_Click(0);
}

// ---- the data-source choice ------------------------------------------------

void PreviewData::Init() {
  QComboBox* list = m_options->CmbRegistration();
  {
    const QSignalBlocker block(list);
    list->clear();
    list->addItem(LoadResString(31028), -1);
    try {
      RegistrationStore store(rsRegistrations);
      for (const Registration& r : store.All()) list->addItem(r.label, r.id);
    } catch (const std::exception&) {
      // Registrations that cannot be read leave only the no-merge entry,
      // and the choice as it was.
      m_options->FitRegistrationList();
      return;
    }
    list->setCurrentIndex(0);
  }
  m_options->FitRegistrationList();
  CmbRegistration_Click(0);
}

void PreviewData::CmbRegistration_Click(int index) {
  PrintEngine& engine = PrintRun();
  if (index >= 1) {
    engine.ChooseMergeSource(m_options->CmbRegistration()->itemData(index).toInt());
  } else {
    engine.GiveUpMergeSource();
  }
  // Whatever the engine did, the options show the state it left: a read the
  // user cancelled kept the source chosen before, whose entry is selected
  // again.
  if (engine.Merging()) {
    QComboBox* list = m_options->CmbRegistration();
    const int kept = list->findData(engine.Run().m_RegistrationId);
    if (kept >= 0 && kept != list->currentIndex()) {
      const QSignalBlocker block(list);
      list->setCurrentIndex(kept);
    }
  }
  ShowControl(!engine.Merging());
  RefreshPreview();
}

// ---- commands --------------------------------------------------------------

void PreviewData::GetUserInformation() {
  PrintEngine& engine = PrintRun();
  if (engine.JobRunning()) return;
  const OptionBoxes boxes = m_options->Boxes();
  const PanelFormat& format = engine.Run().m_Format;
  const double perPage = format.Sheet.nOri * format.Sheet.nVer;
  if (const std::optional<OptionRefusal> refusal = CheckOptionBoxes(boxes, perPage)) {
    MsgBox(refusal->Message, MsgIcon::Exclamation, MsgButtons::Ok);
    m_options->Text1(refusal->Box)->setFocus();
    return;
  }
  const bool archive = IsTrue(ProgramSettings().PrintArchive);
  const bool converted = StoreOptionBoxes(boxes, perPage, archive, engine.Merging());
  if (converted || (archive && !engine.Merging())) SetControlInformation();
  if (converted) MsgBoxRes(kMsgConverted, MsgIcon::Information, MsgButtons::Ok);
  SetPageCaption(PageCaption(engine.PageNumber(), engine.Run().m_PageCount));
  RefreshPreview();
}

void PreviewData::Command_Click(int Index) {
  PrintEngine& engine = PrintRun();
  // A message box of a running job lets clicks through: they do nothing.
  if (engine.JobRunning()) return;
  const auto go = [&](std::int32_t page) {
    engine.SetPageNumber(page);
    SetPageCaption(PageCaption(engine.PageNumber(), engine.Run().m_PageCount));
    RefreshPreview();
  };
  const auto print = [&](bool allPages) {
    engine.PrintDocument(allPages);
    SetPageCaption(PageCaption(engine.PageNumber(), engine.Run().m_PageCount));
    RefreshPreview();
  };
  switch (Index) {
    case 0:
      if (engine.PageNumber() >= 2) go(1);
      break;
    case 1:
      if (engine.PageNumber() >= 2) go(engine.PageNumber() - 1);
      break;
    case 2:
      if (engine.PageNumber() < engine.Run().m_PageCount) go(engine.PageNumber() + 1);
      break;
    case 3:
      if (engine.PageNumber() < engine.Run().m_PageCount) go(engine.Run().m_PageCount);
      break;
    case 4:
      // Cancelled or not, the printer is read again.
      pv::ShowPrinterSetup();
      ReloadPrinterInfo();
      MainWindow().SetStatusBar();
      break;
    case 5: print(false); break;
    case 6: print(true); break;
    case 7:
    case 8:
      if (!engine.Merging()) {
        MsgBoxRes(kMsgNoMerge, MsgIcon::Information, MsgButtons::Ok);
      } else if (Index == 7) {
        SortPrint();
      } else {
        FilterPrint();
      }
      break;
    default: break;
  }
}

void PreviewData::SortPrint() {
  PrintEngine& engine = PrintRun();
  const QString sort = SourceDialogSet().ShowSortDialog(engine.MergeFieldNames(), engine.Run().m_Sort);
  // Cancelled: the run keeps its order.
  if (sort.isEmpty()) return;
  // A sort the source refuses is reported by the engine; the order stays.
  if (engine.SetPrintSort(sort)) RefreshPreview();
}

void PreviewData::FilterPrint() {
  PrintEngine& engine = PrintRun();
  const FilterDialogAnswer answer =
      SourceDialogSet().ShowFilterDialog(engine.MergeFieldNames(), engine.Run().m_Filter, engine.MergeRecordset());
  if (answer.RetCode == 0) return;
  // A filter the source refuses is reported by the engine and the run stays
  // as counted; one that leaves no record ends the merge with its message.
  engine.SetPrintFilter(answer.sFilter);
  ShowControl(!engine.Merging());
  RefreshPreview();
}

// ---- format and printer ----------------------------------------------------

void PreviewData::SelectFormat() {
  if (PrintRun().JobRunning()) return;
  {
    DlgSelFormat chooser(this);
    chooser.exec();
    // OK without a row chosen keeps the label's format.
    if (chooser.RetCode() && !chooser.FormatCode().isEmpty()) Header.LabelFormatCode = chooser.FormatCode();
  }
  ResetPrinterInformation();
}

void PreviewData::ResetPrinterInformation() { PrintRun().ResetPrinterInformation(); }

void PreviewData::ReloadPrinterInfo() {
  // A printer that cannot be asked stays the chosen one: the engine says so,
  // and a job sent to it fails naming it rather than going to another.
  PrintRun().ReloadPrinterInfo();
}

}  // namespace pv
