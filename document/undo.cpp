#include "document/hosts.h"
#include "document/objectstore.h"

#include <limits>
#include <utility>

namespace pv {

std::array<DocumentBlock, UndoSlots + 1> UndoBlocks;
std::int16_t UndoCount = 0;
DocumentBlock RedoBlock;
bool RedoAvailable = false;

void SavedDoc() {
  for (int slot = UndoSlots; slot >= 2; --slot) UndoBlocks[slot] = std::move(UndoBlocks[slot - 1]);
  UndoBlocks[1] = DocBlock;
  if (UndoCount < std::numeric_limits<std::int16_t>::max()) UndoCount = static_cast<std::int16_t>(UndoCount + 1);
  RedoAvailable = false;
  Canvas().SavedDocument();
}

void Undo() {
  if (UndoCount >= 2) {
    RedoBlock = std::move(DocBlock);
    RedoAvailable = true;
    DocBlock = std::move(UndoBlocks[1]);
    for (int slot = 1; slot <= 3; ++slot) UndoBlocks[slot] = std::move(UndoBlocks[slot + 1]);
    UndoBlocks[4] = UndoBlocks[5];  // slot 5 keeps its content
    UndoCount = static_cast<std::int16_t>(UndoCount - 1);
  }
  Canvas().Refresh(true);
}

void Redo() {
  if (RedoAvailable) {
    SavedDoc();
    DocBlock = std::move(RedoBlock);
    RedoBlock = DocumentBlock{};
    RedoAvailable = false;
  }
  Canvas().Refresh(true);
}

void ResetUndoHistory() {
  for (DocumentBlock& b : UndoBlocks) b = DocumentBlock{};
  UndoCount = 0;
  RedoBlock = DocumentBlock{};
  RedoAvailable = false;
}

}  // namespace pv
