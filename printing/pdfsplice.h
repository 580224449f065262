#pragma once
// The quick join of the PDF files the page workers write with Qt's PDF
// writer: the files are read as that writer lays them out (one classic
// cross-reference table, every object "N 0 obj ... endobj" where the table
// says, one flat page tree) and their objects are copied byte for byte into
// one file, renumbered, with one page tree. Any file of another shape is
// left to the join that reads every PDF (pdfjoin.cpp).

#include <QByteArray>
#include <QByteArrayView>

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

namespace pv {

enum class SpliceResult {
  kJoined,       // everything was given to the writer
  kUnknown,      // a part is not of the shape this join knows; nothing was written
  kWriteFailed,  // the writer refused a block; what it took is incomplete
};

// Writes the joined document of `parts` (the whole bytes of each file, in
// page order) through `write`, in blocks: the first part's header, catalog
// and document information, then every part's objects, the later parts'
// numbered after the earlier ones', their own catalog, page tree and document
// information left out, every page under the first part's page tree. Every
// part is read and checked whole before the first block is written. A stream's
// data and every byte outside the references are copied as the parts have
// them.
SpliceResult SplicePdfParts(const std::vector<QByteArrayView>& parts,
                            const std::function<bool(const char* data, size_t size)>& write);

// The joined document in memory, or nothing when a part is not of the shape
// this join knows.
std::optional<QByteArray> SplicePdfParts(const std::vector<QByteArrayView>& parts);

}  // namespace pv
