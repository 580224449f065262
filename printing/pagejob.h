#pragma once
// What a page worker needs to draw pages of a print job exactly as the
// program would: the program's settings with the printer's capabilities,
// the run, where the label page lies, the set-up of the job's PDF pages, the
// document (a .lab file) and, when merging, the rows of the merge source as
// the run shows them (a record snapshot file). The program writes it once
// for the job; every worker reads it. Both ends are the same build.

#include "core/settings.h"
#include "printing/joboutput.h"
#include "printing/run.h"

#include <QString>

#include <cstdint>

namespace pv {

// What the label drawing asked the program's settings (render/hosts.h).
struct PageJobRendering {
  bool PrintLow = false;
  bool PrintCircle = false;
  std::int32_t PrinterDpiY = 0;
};

struct PageJob {
  Settings ProgramValues;
  PageJobRendering Rendering;
  PrintRunValues Run;
  float PageOrgX = 0;
  float PageOrgY = 0;
  PdfPageSetup Page;
  QString LabFile;
  QString RecordsFile;  // empty without merge
};

// False when the file cannot be written.
bool WritePageJob(const QString& path, const PageJob& job);
// False, with the reason, when the file cannot be read or is not a whole
// page job of this build.
bool ReadPageJob(const QString& path, PageJob* job, QString* reason);

}  // namespace pv
