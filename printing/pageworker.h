#pragma once
// The page worker's side: one share of a print job's pages, drawn as the
// program would draw them (pageworkers.h starts it).
#include <QString>

#include <cstdint>
#include <functional>

namespace pv {

// Reads the job of `jobFile` (the settings, the run, the document, the merge
// rows), then draws pages first..last of its run into `file`, telling
// `pageDrawn` after each page. False, with the reason for the user (empty
// when a page could not be drawn), when it cannot.
bool DrawJobPart(const QString& jobFile, std::int32_t first, std::int32_t last, const QString& file,
                 const std::function<void()>& pageDrawn, QString* reason);

}  // namespace pv
