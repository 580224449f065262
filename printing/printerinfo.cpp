// The print format of the open document and the printer's values, loaded
// into the print panel at the start of a run.
#include "core/database.h"
#include "core/settings.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "platform/printer/printer.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"
#include "printing/engine.h"
#include "printing/panelhost.h"

#include <QSqlQuery>

#include <optional>

namespace pv {
namespace {

constexpr int kCodeLength = 50;

double Number(const QSqlQuery& q, const char* column) { return q.value(QString::fromLatin1(column)).toDouble(); }

// The format of that code from the program database; nothing when there is
// no such row. Throws DbError when the database cannot be read.
std::optional<PanelFormat> LoadFormat(const QString& code) {
  QSqlQuery q = RunProgramQuery(
      QStringLiteral(
          "SELECT Width, Height, nOri, nVer, TopMargin, bottommarg, LeftMargin, rightmargin, vertipitch, horizpitch,"
          " sheetwidth, sheetdepth FROM rst_format WHERE Code = ?"),
      {code});
  if (!q.next()) return std::nullopt;
  PanelFormat f;
  f.Sheet.Width = Number(q, "Width");
  f.Sheet.Height = Number(q, "Height");
  f.Sheet.nOri = Number(q, "nOri");
  f.Sheet.nVer = Number(q, "nVer");
  f.Sheet.TopMargin = Number(q, "TopMargin");
  f.bottommarg = Number(q, "bottommarg");
  f.Sheet.LeftMargin = Number(q, "LeftMargin");
  f.rightmargin = Number(q, "rightmargin");
  f.Sheet.vertipitch = Number(q, "vertipitch");
  f.Sheet.horizpitch = Number(q, "horizpitch");
  f.Sheet.sheetwidth = Number(q, "sheetwidth");
  f.Sheet.sheetdepth = Number(q, "sheetdepth");
  return f;
}

// The current printer's values into the settings; false (values kept) when
// the printer cannot be asked.
bool ReadPrinterValues() {
  const std::optional<PrinterCaps> caps = CurrentPrinterCapabilities();
  if (!caps) return false;
  ProgramSettings().Printer = *caps;
  return true;
}

// The report of a printer that cannot be asked.
void PrinterUnreadable() {
  const QString name = CurrentPrinterName();
  ShowPrintingError(name.isEmpty() ? QStringLiteral("Il sistema di stampa non risponde.")
                                   : QStringLiteral("La stampante \"%1\" non risponde o non esiste più.").arg(name));
}

}  // namespace

void PrintEngine::ResetPrinterInformation() {
  PrintPanelControls& controls = PrintControls();
  const QString code = Trim(Header.LabelFormatCode);
  try {
    if (const std::optional<PanelFormat> found = LoadFormat(code)) {
      m_run.m_Format = *found;
      m_run.m_Format.Code = FixedString(Header.LabelFormatCode, kCodeLength);
    }
  } catch (const DbError& e) {
    MsgBox(DataAccessErrorText(e), MsgIcon::None, MsgButtons::Ok);
  }

  if (!ReadPrinterValues()) PrinterUnreadable();
  const PrinterCaps& printer = ProgramSettings().Printer;
  controls.PreparePrinting(m_run.m_Format.Sheet.sheetwidth, m_run.m_Format.Sheet.sheetdepth, printer.DpiX,
                           printer.DpiY);

  // While merging, the pages come from the records on the format just
  // loaded.
  bool recounted = false;
  if (Merging()) {
    recounted = MergeOrKeep(m_run, true);
    // A source that no longer opens went back to no merge, which did all of
    // this again without it.
    if (!recounted && !Merging()) return;
  }
  if (!recounted) {
    m_run.m_PageCount = 1;
    m_run.m_FirstLabel = 1;
    m_run.m_LastLabel = LabelsPerPage(m_run.m_Format.Sheet);
    m_run.m_RangePages = 0;
    m_run.m_CountMode = 0;
    controls.SetControlInformation();
  }

  m_pageNumber = 1;
  controls.SetFormatCaption(LoadResString(31033) + code);
  controls.SetPageCaption(PageCaption(m_pageNumber, m_run.m_PageCount));
}

void PrintEngine::ReloadPrinterInfo() {
  if (!ReadPrinterValues()) PrinterUnreadable();
  const PrinterCaps& printer = ProgramSettings().Printer;
  PrintControls().PreparePrinting(m_run.m_Format.Sheet.sheetwidth, m_run.m_Format.Sheet.sheetdepth, printer.DpiX,
                                  printer.DpiY);
}

}  // namespace pv
