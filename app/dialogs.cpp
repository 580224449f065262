#include "app/dialogs.h"

#include "platform/printer/printer.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace pv {

QString NullToDefault(const QVariant& value, const QString& defaultValue) {
  if (value.isNull() || !value.isValid()) return defaultValue;
  const QString t = Trim(value.toString());
  return t.isEmpty() ? defaultValue : t;
}

QStringList FileDialogFilters(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : description;
    if (description.isEmpty() && pattern.isEmpty()) continue;
    // "*.*" means every file; here that is "*" (a name need not have a dot).
    QStringList masks;
    for (QString m : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      m = m.trimmed();
      if (m == QLatin1String("*.*")) m = QStringLiteral("*");
      if (!m.isEmpty()) masks << m;
    }
    if (masks.isEmpty()) masks << QStringLiteral("*");
    const QString list = masks.join(QLatin1Char(' '));
    if (description.isEmpty() || description == pattern) {
      out << list;
      continue;
    }
    // The dialog reads the masks from the description's last parentheses:
    // they are written there, in place of any the description shows.
    if (description.endsWith(QLatin1Char(')'))) {
      const qsizetype open = description.lastIndexOf(QLatin1Char('('));
      if (open >= 0 && description.indexOf(QLatin1Char('*'), open) >= 0) description = description.left(open).trimmed();
    }
    out << description + QStringLiteral(" (") + list + QLatin1Char(')');
  }
  return out;
}

namespace {

int RunFileDialog(bool save, const QString& defaultExt, const QString& filter, QString& fileName, const QString& title) {
  FileDialogRequest request;
  request.save = save;
  request.defaultExt = defaultExt;
  request.filters = FileDialogFilters(filter);
  request.filterIndex = 1;
  request.fileName = fileName;
  request.title = title;
  std::optional<FileDialogResult> result;
  try {
    result = CommonDialogs().ShowFileDialog(request);
  } catch (...) {
    return -1;
  }
  if (!result || result->fileName.isEmpty()) return -1;
  QString chosen = result->fileName;
  if (save && !defaultExt.isEmpty() && QFileInfo(chosen).suffix().isEmpty() && !chosen.endsWith(QLatin1Char('.'))) {
    chosen += QLatin1Char('.') + defaultExt;
  }
  if (!save && !QFileInfo(chosen).isFile()) return -1;
  if (save && QFileInfo(chosen).isDir()) return -1;
  fileName = chosen;
  return result->filterIndex < 1 ? 1 : result->filterIndex;
}

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
    m_paper->setText(m_layout.pageSize().name() +
                     (m_layout.orientation() == QPageLayout::Landscape ? QStringLiteral(", orizzontale")
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

}  // namespace

std::optional<FileDialogResult> CommonDialogHost::ShowFileDialog(const FileDialogRequest& request) {
  QFileDialog dlg(QApplication::activeWindow(), request.title);
  dlg.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
  dlg.setDefaultSuffix(request.defaultExt);
  dlg.setNameFilters(request.filters);
  if (request.filterIndex >= 1 && request.filterIndex <= request.filters.size()) {
    dlg.selectNameFilter(request.filters[request.filterIndex - 1]);
  }
  if (!request.fileName.isEmpty()) {
    const QFileInfo fi(request.fileName);
    if (fi.isAbsolute() || request.fileName.contains(QLatin1Char('/'))) dlg.setDirectory(fi.absolutePath());
    dlg.selectFile(fi.fileName());
  }
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult r;
  r.fileName = dlg.selectedFiles().first();
  r.filterIndex = static_cast<int>(request.filters.indexOf(dlg.selectedNameFilter())) + 1;
  if (r.filterIndex < 1) r.filterIndex = 1;
  return r;
}

void CommonDialogHost::ShowPrinterSetup() {
  if (PrinterNames().isEmpty()) return;
  PrinterSetupDialog dlg;
  if (dlg.exec() != QDialog::Accepted) return;
  if (SetCurrentPrinter(dlg.Printer())) SetCurrentPageLayout(dlg.Layout());
}

namespace {
CommonDialogHost g_defaultDialogs;
CommonDialogHost* g_dialogs = nullptr;
}  // namespace

CommonDialogHost& CommonDialogs() { return g_dialogs != nullptr ? *g_dialogs : g_defaultDialogs; }

CommonDialogHost* SetCommonDialogHost(CommonDialogHost* host) {
  CommonDialogHost* old = g_dialogs;
  g_dialogs = host;
  return old;
}

int ShowOpenDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title) {
  return RunFileDialog(false, defaultExt, filter, fileName, title);
}

int ShowSaveDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title) {
  return RunFileDialog(true, defaultExt, filter, fileName, title);
}

void ShowPrinterSetup() {
  try {
    CommonDialogs().ShowPrinterSetup();
  } catch (...) {
  }
}

}  // namespace pv
