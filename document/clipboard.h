#pragma once
// Document-level work of the label editor over the whole table: the commit of
// the canvas geometry into the records, the program's own object clipboard,
// duplication and series copies. Nothing goes to the system clipboard.
#include "document/model.h"

#include <array>
#include <cstdint>

namespace pv {

// Slot 1: copy and paste; slot 2: working copy of clone and series copies.
// ClipCount(n) is the number of records held in slot n (records 1..n).
extern std::array<DocumentBlock, 3> ClipBlocks;
extern std::array<std::int16_t, 3> ClipCount;

// Commits the geometry of every object: X1, Y1, X2, Y2, Angle, GeomType from
// GetObjectDimension / GetType (a box's centre and size go to X1..Y2).
void SaveData();
// The selected objects replace the contents of clipboard slot 1.
void DocumentCopy();
// Deselects all, appends copies of slot 1 moved 5 mm right and down, with new
// keys; they are the selection. Message 15046 once when the table fills.
void DocumentPaste();
// Duplicates the selected objects 5 mm right and down; the copies become the
// selection. Message 15046 once when the table fills.
void DocumentClone();
// Series copies of the selection on a grid of xCopy columns and yCopy rows
// (cell 0, 0 is the selection itself), column by column. Message 15046 once
// when the table fills.
void DocumentArray(std::int16_t xCopy, std::int16_t yCopy, float xDelta, float yDelta);
// Empties the clipboard (start-up state).
void ResetClipboard();

// The message shown when the table is full (15046).
inline constexpr int MsgTableFull = 15046;

}  // namespace pv
