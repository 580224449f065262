#pragma once
// The print run as one value: the print format, the pages and the range the
// labels print in, what the count box counts, and the merge source with its
// sort and filter. The print panel fills it and hands it to the engine
// (PrintEngine::SetRun); the engine lays out and merges by it. Nothing of a
// page being drawn lives here.

#include "printing/layout.h"

#include <QString>

#include <cstdint>

namespace pv {

// The print panel's copy of the current print format.
struct PanelFormat {
  QString Code;  // 50 characters, padded with blanks
  SheetFormat Sheet;
  double bottommarg = 0;
  double rightmargin = 0;
};

// Zero at start-up, as the panel finds it before its first format.
struct PrintRunValues {
  PanelFormat m_Format;
  std::int32_t m_PageCount = 0;   // pages in the run
  std::int32_t m_FirstLabel = 0;  // first position that prints where the range applies
  std::int32_t m_LastLabel = 0;   // the last such position
  std::int32_t m_RangePages = 0;  // 0 none, 1 first page, 2 all pages, 3 last page
  std::int32_t m_CountMode = 0;   // what the count box counts: 0 pages, 1 labels
  // The registration chosen in the panel's data-source list (-1 none), and
  // the run's sort and filter texts for it.
  std::int32_t m_RegistrationId = -1;
  QString m_Sort;
  QString m_Filter;

  // What the sheet layout reads of the run.
  RunValues Pages() const { return RunValues{m_PageCount, m_FirstLabel, m_LastLabel, m_RangePages}; }

  // `labels` labels on sheets of `perPage`: whole pages, the last one
  // printing positions 1..remainder; the count mode becomes pages.
  void SetToLabels(std::int32_t labels, std::int32_t perPage);
};

}  // namespace pv
