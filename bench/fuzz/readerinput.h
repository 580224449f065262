#pragma once
// The readers' fuzz targets share this: the input becomes a source file in a
// private folder, and the program's own reader (the one OpenSourceReader
// gives, as every window and the print run use it) lists and reads every
// table. A refusal is the expected answer; anything that escapes, a crash or
// a hang of the caller, is a fault.
#include "datasources/readers/sourcereader.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace pv::fuzz {

// Writes the input as the file `fileName` of the private folder and reads it
// as a source of `kind` (the folder for dBASE and Paradox, the file for the
// others).
void ReadAsSource(SourceKind kind, const char* fileName, const uint8_t* data, size_t size);

// A file written by a seed maker, as bytes ("" when it could not be written).
QByteArray SeedFile(const char* fileName, void (*write)(const QByteArray& path));

}  // namespace pv::fuzz
