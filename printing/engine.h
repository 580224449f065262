#pragma once
// The print engine without widgets: the print run (printing/run.h) as the
// panel set it, the page on display, the merge source, and the page drawing,
// printer information and print job that read them. One process-wide
// instance; the panel's controls are reached through PrintControls()
// (printing/panelhost.h).

#include "platform/dc.h"
#include "printing/layout.h"
#include "printing/run.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

namespace pv {

class JobOutput;
class RecordFields;
class SourceRecordset;

// What a job is told as its pages go: before each page is drawn, after it is
// drawn, and before the output is ended. Any of them may be empty.
struct PageSteps {
  std::function<void(std::int32_t page)> Starting;
  std::function<void(std::int32_t page)> Drawn;
  std::function<void()> Ending;
};

class PrintEngine {
 public:
  PrintEngine();
  ~PrintEngine();
  PrintEngine(const PrintEngine&) = delete;
  PrintEngine& operator=(const PrintEngine&) = delete;

  // The run as it stands: as the panel set it last, with the pages the
  // merge source counted and the format the engine loaded.
  const PrintRunValues& Run() const { return m_run; }
  // Replaces the run (the panel's option boxes). The merge source stays as
  // it is open; the page on display stays.
  void SetRun(const PrintRunValues& run) { m_run = run; }

  // The page on display and printed as the current page, 1-based.
  std::int32_t PageNumber() const { return m_pageNumber; }
  void SetPageNumber(std::int32_t page) { m_pageNumber = page; }

  // Commits the canvas geometry, then lays out and draws the page on display
  // on hdc: the preview surface's sheet (bPreview) or a printer page.
  // Returns false when the page could not be finished (the labels drawn so
  // far stay); a preview never throws.
  bool PrintPage(DeviceContext* hdc, bool bPreview);

  // Prints the current page (false) or every page of the run (true) on the
  // current printer. Reports its failures itself ("Printing error: 1").
  void PrintDocument(bool bMode);
  // Whether a job is running (no second one starts meanwhile).
  bool JobRunning() const { return m_jobRunning; }

  // The pages first..last of the run on `out`, the canvas geometry
  // committed by the caller: begins it, makes the field values once, draws
  // the pages and ends the output (or aborts it after a failure). False when a page could not
  // be drawn or the output failed (its FailureReason says why).
  bool PrintPages(JobOutput& out, std::int32_t first, std::int32_t last, const PageSteps& steps);

  // Reloads the print format of the document's format code, the printer
  // values and the preview page, and makes the run one whole page.
  void ResetPrinterInformation();
  // Re-reads the current printer's resolution, offsets and printable area,
  // and passes the page to the preview.
  void ReloadPrinterInfo();

  // Merging: a registration chosen and its source open. What the field
  // values, the page drawing and the sort and filter go by.
  bool Merging() const;

  // Opens the chosen registration with the run's filter and sort, counts its
  // records and makes the run's pages from them. False (after its message,
  // and back to no merge) when it cannot merge. A read the user cancels
  // throws its DbError (DbErrCancelled) with nothing shown.
  bool GetMergeInformation();
  // A registration chosen in the data-source list: starts without sort and
  // filter and merges when the source opens with records. A read the user
  // cancels keeps the source and the run chosen before.
  void ChooseMergeSource(std::int32_t registrationId);
  // The no-merge entry chosen: merge off, the run back to one whole page of
  // the document's format, the manual options shown.
  void GiveUpMergeSource();
  // The run's sort (as the sort dialog writes it) and filter (as the filter
  // dialog writes it) for the merge source. False when the source refused
  // it or the user cancelled it: the previous sort or filter stays (a
  // cancel with no message).
  bool SetPrintSort(const QString& sort);
  bool SetPrintFilter(const QString& filter);
  // The merge source's field names in field order (empty without merge),
  // and the merge recordset itself (nullptr without merge).
  QStringList MergeFieldNames() const;
  SourceRecordset* MergeRecordset();

  // The field values of the run as it stands: its merge source and the
  // field-code settings. Made once per job or preview page; the page
  // drawing names each label before drawing it.
  RecordFields FieldValues() const;

  // Back to the start: the run of zero, page 1, no merge (tests).
  void Reset();

 private:
  friend class PrintJobRun;
  // Lays out and draws page `page` with the canvas geometry committed and
  // the field values made by the caller (once for a whole job).
  bool DrawPage(DeviceContext* hdc, bool bPreview, RecordFields& fields, std::int32_t page);
  // GetMergeInformation on a new recordset. A read the user cancels puts
  // back the source open before and the run `before`, whose pages are
  // counted again from that source when `recount`. Whether it merges.
  bool MergeOrKeep(const PrintRunValues& before, bool recount);
  PrintRunValues m_run;
  std::int32_t m_pageNumber = 1;
  bool m_jobRunning = false;
  // The merge recordset (open while merging). The page drawing moves it to
  // each label's record just before the label is drawn.
  std::unique_ptr<SourceRecordset> m_mergeSource;
};

PrintEngine& PrintRun();

// The program's one report of a print failure: "Printing error: 1" with the
// critical icon, and the reason (when known) as the box's details.
void ShowPrintingError(const QString& reason = QString());

}  // namespace pv
