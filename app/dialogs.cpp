#include "app/dialogs.h"

#include "app/dialogfolders.h"
#include "core/settings.h"

#include "platform/printer/printer.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QListView>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace pv {

namespace {

class PrinterSetupDialog : public QDialog {
 public:
  PrinterSetupDialog() {
    setWindowTitle(QStringLiteral("Imposta stampante"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_printers = new QComboBox(this);
    m_printers->addItems(PrinterNames());
    m_printers->setCurrentText(CurrentPrinterName());
    form->addRow(QStringLiteral("&Stampante:"), m_printers);
    m_paper = new QLabel(this);
    form->addRow(QStringLiteral("Carta:"), m_paper);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* page = buttons->addButton(QStringLiteral("&Pagina..."), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(page, &QPushButton::clicked, this, [this] { EditPage(); });
    m_layout = CurrentPageLayout();
    ShowPaper();
  }

  QString Printer() const { return m_printers->currentText(); }
  QPageLayout Layout() const { return m_layout; }

 private:
  void ShowPaper() {
    m_paper->setText(m_layout.pageSize().name() + (m_layout.orientation() == QPageLayout::Landscape
                                                       ? QStringLiteral(", orizzontale")
                                                       : QStringLiteral(", verticale")));
  }
  void EditPage() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(m_layout);
    QPageSetupDialog dlg(&printer, this);
    if (dlg.exec() == QDialog::Accepted) {
      m_layout = printer.pageLayout();
      ShowPaper();
    }
  }

  QComboBox* m_printers = nullptr;
  QLabel* m_paper = nullptr;
  QPageLayout m_layout;
};

// Qt's own dialog is laid out for English texts: the Italian column
// captions ("Dimensione", "Data di modifica") and places ("Computer") were
// cut. Its columns and its list of places are widened to show them whole.
void FitItalianTexts(QFileDialog& dlg) {
  for (QTreeView* tree : dlg.findChildren<QTreeView*>()) {
    QHeaderView* header = tree->header();
    for (int i = 0; i < header->count(); ++i) {
      header->resizeSection(i, std::max(header->sectionSize(i), header->sectionSizeHint(i)));
    }
  }
  auto* places = dlg.findChild<QListView*>(QStringLiteral("sidebar"));
  auto* splitter = dlg.findChild<QSplitter*>(QStringLiteral("splitter"));
  if (places == nullptr || splitter == nullptr || splitter->indexOf(places) != 0) return;
  QList<int> sizes = splitter->sizes();
  const int wanted = places->sizeHintForColumn(0) + 2 * places->frameWidth() +
                     places->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, places);
  if (sizes.size() < 2 || sizes[0] >= wanted) return;
  sizes[1] = std::max(0, sizes[1] - (wanted - sizes[0]));
  sizes[0] = wanted;
  splitter->setSizes(sizes);
}

}  // namespace

std::optional<FileDialogResult> QtCommonDialogs::ShowFileDialog(const FileDialogRequest& request) {
  QFileDialog dlg(QApplication::activeWindow(), request.title);
  dlg.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
  dlg.setDefaultSuffix(request.defaultExt);
  dlg.setNameFilters(request.filters);
  if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
    dlg.selectNameFilter(request.filters[request.filterIndex - 1]);
  }
  dlg.setDirectory(DialogStartFolder(request, ProgramSettings()));
  if (!request.fileName.isEmpty()) dlg.selectFile(QFileInfo(request.fileName).fileName());
  // Once shown, when the splitter has its sizes.
  QTimer::singleShot(0, &dlg, [&dlg] { FitItalianTexts(dlg); });
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult r;
  r.fileName = dlg.selectedFiles().first();
  RememberDialogFolder(request.kind, r.fileName, ProgramSettings());
  r.filterIndex = static_cast<int>(request.filters.indexOf(dlg.selectedNameFilter())) + 1;
  if (r.filterIndex < 1) r.filterIndex = 1;
  return r;
}

void QtCommonDialogs::ShowPrinterSetup() {
  if (PrinterNames().isEmpty()) return;
  PrinterSetupDialog dlg;
  if (dlg.exec() != QDialog::Accepted) return;
  if (SetCurrentPrinter(dlg.Printer())) SetCurrentPageLayout(dlg.Layout());
}

}  // namespace pv
