#pragma once
// The window's side of a long read of a data source: a modal dialog that
// says the source is being read and lets the user cancel
// (datasources/process/readerwait.h decides when it shows).

namespace pv {

// Makes the program's reads of data sources show it.
void InstallReaderWaitDialog();

}  // namespace pv
