#pragma once
// The print options as the user types them into the print panel's option
// boxes, checked and stored as the print run values (no widgets).

#include <QString>

#include <cstdint>
#include <optional>

namespace pv {

// What the option controls hold: the three boxes' texts, the page filter
// button that is on (0..3), the count mode button that is on (0 pages, 1
// labels) and the manual-paper box.
struct OptionBoxes {
  QString Count;
  QString First;
  QString Last;
  std::int32_t RangePages = 0;
  std::int32_t CountMode = 0;
  bool StopPage = false;
};

// The first check the boxes fail: the box (0 count, 1 first, 2 last) and the
// message to show.
struct OptionRefusal {
  int Box = 0;
  QString Message;
};

// Checks the boxes in the panel's order: each box must hold a number, then
// the count must lie in 1..1000 and each label in 1..P (labelsPerPage).
// Each box is read once, by the program's decimal reader.
std::optional<OptionRefusal> CheckOptionBoxes(const OptionBoxes& boxes, double labelsPerPage);

// The labels per page as a whole number (nearest, halves to even).
std::int32_t WholeLabelsPerPage(double labelsPerPage);

// Stores boxes that passed CheckOptionBoxes as the engine's run and the
// manual-paper setting. A count typed in labels mode is converted to pages
// (the result is true: the user is told). With `printArchive` a count typed in
// pages mode is taken as labels and converted silently, unless the count was
// computed rather than typed (`merging`).
bool StoreOptionBoxes(const OptionBoxes& boxes, double labelsPerPage, bool printArchive, bool merging);

}  // namespace pv
