#pragma once
// Copies the user formats (type 0) of an older archive file (Access, table
// label01, the label width spelled Witdh) into the program's formats, one row
// at a time, and tells the user how it went. A row passes the checks of the
// format edit dialog first; one that fails them is left out and counted
// apart in the closing message.

#include "datasources/readers/sourcereader.h"

#include <functional>
#include <memory>

namespace pv {

using SourceReaderOpener = std::function<std::unique_ptr<SourceReader>(const SourceLocation&)>;

// Asks for the file, copies its user formats and shows the outcome. Returns
// true when rows may have been added (the list should be filled again):
// after an import that added rows and after one stopped by a row the
// database refused.
bool ImportOldFormats(const SourceReaderOpener& open = OpenSourceReader);

}  // namespace pv
