#pragma once
// The readers' fuzz targets share this: the input becomes a source file in a
// private folder and a reader lists and reads every table. A refusal is the
// expected answer; anything else (a crash, a sanitizer report, a hang) is a
// fault.
#include "datasources/readers/sourcereader.h"

#include <cstddef>
#include <cstdint>

namespace pv::fuzz {

// The kinds of file source, in the order the reader program's target picks
// them by an input's first byte.
inline constexpr SourceKind kFileKinds[] = {SourceKind::Access, SourceKind::DBase, SourceKind::Paradox,
                                            SourceKind::Excel};

// Reads the input as a source of `kind` with the readers of this process,
// where the sanitizers see every memory error, ours or a library's.
void ReadInProcess(SourceKind kind, const uint8_t* data, size_t size);

// Reads it through the reader program, as the program does. A reader
// program that dies (a signal, a sanitizer report, its leaks included, an
// exit in the middle of an answer), answers garbage or hangs is a fault of
// its own: the run aborts, so that the driver keeps the input.
void ReadThroughProgram(SourceKind kind, const uint8_t* data, size_t size);

// The seeds of one kind: files its reader reads whole.
void AddSeeds(SourceKind kind, void (*add)(const uint8_t* data, size_t size));

}  // namespace pv::fuzz
