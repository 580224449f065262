#include "document/clipboard.h"

#include "document/hosts.h"
#include "document/objectstore.h"
#include "platform/msgbox.h"
#include "platform/runtime.h"

namespace pv {

std::array<DocumentBlock, 3> ClipBlocks;
std::array<std::int16_t, 3> ClipCount{};

namespace {
constexpr float CopyOffset = 5.0f;

ObjectRecord& At(std::int32_t index) { return DocBlock.Objects[static_cast<std::size_t>(index)]; }

// The geometry commit of one record: what GetObjectDimension and GetType give
// for it goes to X1, Y1, X2, Y2, Angle and GeomType.
void Commit(ObjectRecord& r) {
  if (r.GeomType != GeomLine) {
    r.X1 = r.CenterX;
    r.Y1 = r.CenterY;
    r.X2 = r.Width;
    r.Y2 = r.Height;
  }
  // Angle and GeomType come back unchanged (an angle read as a Single and
  // rounded again is the same whole number).
}

void Shift(ObjectRecord& r, float d) {
  r.X1 += d;
  r.Y1 += d;
  r.X2 += d;
  r.Y2 += d;
  r.CenterX += d;
  r.CenterY += d;
}

// Appends a copy of `r` with a new key. False (nothing appended) when the
// table is full.
bool AppendCopy(const ObjectRecord& r) {
  if (ObjCount >= MaxObjects) return false;
  ObjCount = ObjCount + 1;
  At(ObjCount) = r;  // a whole record: nothing of the slot's old content stays
  SetNewKey(At(ObjCount).Key);
  return true;
}

void TableFull() { MsgBoxRes(MsgTableFull, MsgIcon::Information); }

void FillSlot2(bool cloning) {
  DocumentBlock& slot = ClipBlocks[2];
  ClipCount[2] = 0;
  for (std::int32_t key = GetFirstObject(true); key != -1; key = GetNextObject(true)) {
    const std::int32_t i = FindObjectIndex(key);
    if (i == 0) continue;
    ClipCount[2] = static_cast<std::int16_t>(ClipCount[2] + 1);
    ObjectRecord& copy = slot.Objects[static_cast<std::size_t>(ClipCount[2])];
    copy = At(i);
    if (cloning) {
      Shift(copy, CopyOffset);
      At(i).IsSelected = VbFalse;
    } else {
      Commit(copy);
    }
  }
}
}  // namespace

void SaveData() {
  // Every live record is committed from its own geometry (by index, so even
  // records that share a key keep their own values).
  for (std::int32_t i = 1; i <= ObjCount; ++i) Commit(At(i));
}

void DocumentCopy() {
  ClipCount[1] = 0;
  for (std::int32_t key = GetFirstObject(true); key != -1; key = GetNextObject(true)) {
    const std::int32_t i = FindObjectIndex(key);
    if (i == 0) continue;
    ClipCount[1] = static_cast<std::int16_t>(ClipCount[1] + 1);
    ClipBlocks[1].Objects[static_cast<std::size_t>(ClipCount[1])] = At(i);
  }
}

void DocumentPaste() {
  Canvas().SelStop();
  for (int r = 1; r <= ClipCount[1]; ++r) {
    ObjectRecord copy = ClipBlocks[1].Objects[static_cast<std::size_t>(r)];
    Shift(copy, CopyOffset);
    if (!AppendCopy(copy)) {
      TableFull();
      break;
    }
  }
  Canvas().Refresh(true);
}

void DocumentClone() {
  FillSlot2(true);
  for (int r = 1; r <= ClipCount[2]; ++r) {
    if (!AppendCopy(ClipBlocks[2].Objects[static_cast<std::size_t>(r)])) {
      TableFull();
      break;
    }
  }
  Canvas().Refresh(true);
}

void DocumentArray(std::int16_t xCopy, std::int16_t yCopy, float xDelta, float yDelta) {
  FillSlot2(false);
  bool full = false;
  for (int i = 0; i < xCopy && !full; ++i) {
    for (int j = 0; j < yCopy && !full; ++j) {
      if (i == 0 && j == 0) continue;
      const float dx = static_cast<float>(i) * xDelta;
      const float dy = static_cast<float>(j) * yDelta;
      for (int r = 1; r <= ClipCount[2]; ++r) {
        ObjectRecord copy = ClipBlocks[2].Objects[static_cast<std::size_t>(r)];
        if (copy.GeomType == GeomLine) {
          copy.X1 += dx;
          copy.X2 += dx;
          copy.Y1 += dy;
          copy.Y2 += dy;
        } else {
          copy.CenterX += dx;
          copy.CenterY += dy;
        }
        if (!AppendCopy(copy)) {
          TableFull();
          full = true;
          break;
        }
      }
    }
  }
  Canvas().Refresh(true);
}

void ResetClipboard() {
  for (DocumentBlock& b : ClipBlocks) b = DocumentBlock{};
  ClipCount = {};
}

}  // namespace pv
