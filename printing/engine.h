#pragma once
// The print engine without widgets: the print run values, the print panel's
// members that page drawing, printer information and the print job share,
// and those three operations. One process-wide instance; the panel's
// controls are reached through PrintControls() (printing/panelhost.h).

#include "platform/dc.h"
#include "printing/layout.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace pv {

class RecordFields;
class SourceRecordset;

// Print run values (process-wide, zero at start-up).
extern std::int32_t CountMode;   // what the count box counts: 0 pages, 1 labels
extern std::int32_t PageCount;   // pages in the run
extern std::int32_t FirstLabel;  // first position that prints where the range applies
extern std::int32_t LastLabel;   // the last such position
extern std::int32_t RangePages;  // 0 none, 1 first page, 2 all pages, 3 last page

// The print panel's copy of the current print format.
struct PanelFormat {
  QString Code;  // 50 characters, padded with blanks
  SheetFormat Sheet;
  double bottommarg = 0;
  double rightmargin = 0;
};

class PrintEngine {
 public:
  PrintEngine();
  ~PrintEngine();
  PrintEngine(const PrintEngine&) = delete;
  PrintEngine& operator=(const PrintEngine&) = delete;

  std::int32_t m_PageNumber = 1;    // the page to lay out, 1-based
  std::int32_t m_LabelCounter = 0;  // labels placed so far in the run
  std::int32_t m_LabelIndex = 0;    // running index of the label being drawn
  bool m_MergeActive = false;       // a data source is open
  PanelFormat m_Format;

  // Commits the canvas geometry, then lays out and draws page m_PageNumber
  // on hdc: the preview surface's sheet (bPreview) or a printer page.
  // Returns false when the page could not be finished (the labels drawn so
  // far stay); a preview never throws.
  bool PrintPage(DeviceContext* hdc, bool bPreview);

  // Prints the current page (false) or every page of the run (true) on the
  // current printer. Reports its failures itself ("Printing error: 1").
  void PrintDocument(bool bMode);
  // Whether a job is running (no second one starts meanwhile).
  bool JobRunning() const { return m_jobRunning; }

  // Reloads the print format of the document's format code, the printer
  // values and the preview page, and makes the run one whole page.
  void ResetPrinterInformation();
  // Re-reads the current printer's resolution, offsets and printable area,
  // and passes the page to the preview.
  void ReloadPrinterInfo();

  // The merge source of the run. The registration chosen in the panel's
  // data-source list (-1 none), the run's sort and filter texts.
  std::int32_t m_RegistrationId = -1;
  QString m_PrintSort;
  QString m_PrintFilter;

  // Opens the chosen registration with the run's filter and sort, counts its
  // records and makes the run's pages from them. False (after its message,
  // and back to no merge) when it cannot merge.
  bool GetMergeInformation();
  // A registration chosen in the data-source list: starts without sort and
  // filter and merges when the source opens with records.
  void ChooseMergeSource(std::int32_t registrationId);
  // The no-merge entry chosen: merge off, the run back to one whole page of
  // the document's format, the manual options shown.
  void GiveUpMergeSource();
  // The run's sort (as the sort dialog writes it) and filter (as the filter
  // dialog writes it) for the merge source. False when the source refused
  // it: the previous sort or filter stays.
  bool SetPrintSort(const QString& sort);
  bool SetPrintFilter(const QString& filter);
  // The merge source's field names in field order (empty without merge),
  // and the merge recordset itself (nullptr without merge).
  QStringList MergeFieldNames() const;
  SourceRecordset* MergeRecordset();

  // The text a database-field object (or a barcode fed by a field) shows on
  // the label being drawn: a predefined field's value (counter, date,
  // random number) or the current merge record's column through its
  // format, with the field-code settings applied. Never fails. The same
  // values the page drawing gives the labels.
  QString GetFieldValue(const QString& strCode, const QString& strFormat) const;
  // The field values of the run as it stands: its merge source and the
  // field-code settings. Made once per job or preview page.
  RecordFields FieldValues() const;

  // Puts every member back to its start value (tests).
  void Reset();

 private:
  friend class PrintJobRun;
  // Merging with the source open: what the field values, the page drawing
  // and the sort and filter go by.
  bool Merging() const;
  // PrintPage with the canvas geometry committed and the field values made
  // by the caller (once for a whole job).
  bool DrawPage(DeviceContext* hdc, bool bPreview, RecordFields& fields);
  bool m_jobRunning = false;
  // The merge recordset (open while merging). The page drawing moves it to
  // each label's record just before the label is drawn.
  std::unique_ptr<SourceRecordset> m_mergeSource;
};

PrintEngine& PrintRun();

// Puts the run values back to zero (tests).
void ResetRunValues();

// Makes the run `labels` labels on sheets of `perPage`: whole pages, the
// last one printing positions 1..remainder; the count mode becomes pages.
void SetRunToLabels(std::int32_t labels, std::int32_t perPage);

// The program's one report of a print failure: "Printing error: 1" with the
// critical icon, and the reason (when known) as the box's details.
void ShowPrintingError(const QString& reason = QString());

}  // namespace pv
