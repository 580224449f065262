#include "document/objectstore.h"

#include "document/hosts.h"
#include "platform/runtime.h"

#include <utility>

namespace pv {

namespace {
constexpr std::int16_t DrawModeObject = 100;

ObjectRecord& At(std::int32_t index) { return DocBlock.Objects[static_cast<std::size_t>(index)]; }

bool KeepsAngle(std::int16_t userType) { return userType == UserTypeImage || userType == UserTypeBarcode; }
}  // namespace

std::int32_t IndexOfKey(std::int32_t Key) {
  for (std::int32_t i = 1; i <= ObjCount; ++i)
    if (At(i).Key == Key) return i;
  return 0;
}

std::int32_t NewObjectKey() {
  // At most ObjCount + 1 candidates can be tried before one is free.
  for (std::int32_t k = 1; k <= MaxObjectKey; ++k)
    if (IndexOfKey(k) == 0) return k;
  return 0;
}

std::int32_t AddObject(float x1, float y1, float x2, float y2, float Angle, std::int16_t Tool, std::int16_t UserTool,
                       bool bDraw) {
  if (ObjCount >= MaxObjects) return 0;
  SavedDoc();
  const std::int32_t key = NewObjectKey();
  ObjCount = ObjCount + 1;
  ObjectRecord& r = At(ObjCount);
  // The slot may still hold a deleted object's fields: start from an empty
  // record so a new object is never born hidden or with stale attributes.
  r = ObjectRecord{};
  r.Angle = CLng(Angle);
  if (Tool == GeomLine) {
    r.GeomType = GeomLine;
    r.X1 = x1;
    r.Y1 = y1;
    r.X2 = x2;
    r.Y2 = y2;
  } else {
    r.GeomType = GeomBox;
    r.CenterX = x1;
    r.CenterY = y1;
    r.Width = x2;
    r.Height = y2;
  }
  r.UserType = UserTool;
  r.Key = key;
  r.IsSelected = VbFalse;
  if (bDraw) Canvas().DrawObjectItem(r, DrawModeObject);
  return key;
}

std::int32_t GetFirstObject(bool bMode) {
  if (!bMode) {
    if (ObjCount <= 0) return -1;
    EnumCursor = 1;
    return At(1).Key;
  }
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    if (IsTrue(At(i).IsSelected)) {
      EnumCursor = i;
      return At(i).Key;
    }
  }
  return -1;
}

std::int32_t GetNextObject(bool bMode) {
  if (!bMode) {
    if (EnumCursor + 1 > ObjCount) return -1;
    EnumCursor = EnumCursor + 1;
    return At(EnumCursor).Key;
  }
  for (std::int32_t i = EnumCursor + 1; i <= ObjCount; ++i) {
    if (IsTrue(At(i).IsSelected)) {
      EnumCursor = i;
      return At(i).Key;
    }
  }
  return -1;
}

std::int32_t GetUserType(std::int32_t Key) {
  const std::int32_t i = IndexOfKey(Key);
  return i ? At(i).UserType : 0;
}

std::int32_t GetType(std::int32_t Key) {
  const std::int32_t i = IndexOfKey(Key);
  return i ? At(i).GeomType : 0;
}

void Purge() {
  ObjCount = 0;
  Canvas().Refresh(false);
}

void Clear() { Purge(); }

std::int32_t SelCount() {
  std::int32_t n = 0;
  for (std::int32_t i = 1; i <= ObjCount; ++i)
    if (IsTrue(At(i).IsSelected)) ++n;
  return n;
}

std::int32_t Selected() {
  for (std::int32_t i = ObjCount; i >= 1; --i)
    if (IsTrue(At(i).IsSelected)) return At(i).Key;
  return 0;
}

void SelObject(std::int32_t Key, bool bDraw) {
  const std::int32_t i = IndexOfKey(Key);
  if (i == 0) return;
  At(i).IsSelected = VbTrue;
  if (bDraw && !IsTrue(At(i).IsHidden)) Canvas().DrawObjectItem(At(i), DrawModeObject);
}

void SetNewKey(std::int32_t& lKey) { lKey = NewObjectKey(); }

void SetObjectDimension(std::int32_t Key, float x1, float y1, float x2, float y2, float Angle, bool bDraw) {
  const std::int32_t i = IndexOfKey(Key);
  if (i != 0) {
    ObjectRecord& r = At(i);
    if (r.GeomType == GeomLine) {
      if (x1 != KeepValue) r.X1 = PageOrgX + x1;
      if (x2 != KeepValue) r.X2 = PageOrgX + x2;
      if (y1 != KeepValue) r.Y1 = PageOrgY + y1;
      if (y2 != KeepValue) r.Y2 = PageOrgY + y2;
      if (Angle != KeepValue) r.Angle = CLng(Angle);
    } else {
      if (x1 != KeepValue) r.CenterX = PageOrgX + x1;
      if (y1 != KeepValue) r.CenterY = PageOrgY + y1;
      if (x2 != KeepValue) r.Width = x2;
      if (y2 != KeepValue) r.Height = y2;
      if (Angle != KeepValue && !KeepsAngle(r.UserType)) r.Angle = CLng(Angle);
    }
    if (bDraw) Canvas().DrawObjectItem(r, DrawModeObject);
  }
  Canvas().UpdateObjects();
}

void GetObjectDimension(std::int32_t Key, float& x1, float& y1, float& x2, float& y2, float& Angle) {
  const std::int32_t i = IndexOfKey(Key);
  if (i == 0) return;
  const ObjectRecord& r = At(i);
  if (r.GeomType == GeomLine) {
    x1 = r.X1;
    y1 = r.Y1;
    x2 = r.X2;
    y2 = r.Y2;
  } else {
    x1 = r.CenterX;
    y1 = r.CenterY;
    x2 = r.Width;
    y2 = r.Height;
  }
  Angle = static_cast<float>(r.Angle);
}

std::int16_t FindObjectIndex(std::int32_t key) { return static_cast<std::int16_t>(IndexOfKey(key)); }

std::int16_t NextImageNumber() {
  for (std::int16_t n = 1; n <= MaxObjects; ++n) {
    bool used = false;
    for (std::int32_t i = 1; i <= ObjCount && !used; ++i) used = At(i).UserType == UserTypeImage && At(i).Variant == n;
    if (!used) return n;
  }
  return 0;
}

QString FileExtension(const QString& s) { return Trim(s.right(3)); }

// ---- Deleting and ordering -------------------------------------------------

namespace {
// Removes record i, moving the records after it down by one.
void RemoveAt(std::int32_t i) {
  for (std::int32_t j = i; j < ObjCount; ++j) At(j) = std::move(At(j + 1));
  ObjCount = ObjCount - 1;
}
}  // namespace

void DelObject(std::int32_t Key, bool bDraw) {
  const std::int32_t i = IndexOfKey(Key);
  if (i == 0) return;
  Canvas().DeleteObject(At(i).Key, At(i).UserType);
  // The host may have changed the table while handling the event; find the
  // record again rather than trusting the index.
  const std::int32_t now = IndexOfKey(Key);
  if (now != 0) RemoveAt(now);
  if (bDraw) Canvas().Refresh(false);
}

void DelObjects() {
  SavedDoc();
  for (;;) {
    std::int32_t i = 0;
    for (std::int32_t j = 1; j <= ObjCount; ++j) {
      if (IsTrue(At(j).IsSelected)) {
        i = j;
        break;
      }
    }
    if (i == 0) break;
    const std::int32_t key = At(i).Key;
    Canvas().DeleteObject(key, At(i).UserType);
    if (i <= ObjCount && At(i).Key == key && IsTrue(At(i).IsSelected)) {
      RemoveAt(i);
    } else {
      // The host moved things around inside the event: delete by key, or
      // stop when the record is gone or no longer selected.
      const std::int32_t now = IndexOfKey(key);
      if (now == 0 || !IsTrue(At(now).IsSelected)) continue;
      RemoveAt(now);
    }
  }
  Canvas().Refresh(false);
}

std::int32_t GetSingleSelection() {
  std::int32_t found = 0;
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    if (IsTrue(At(i).IsSelected)) {
      if (found != 0) return 0;
      found = i;
    }
  }
  return found;
}

void MoveFront() {
  const std::int32_t i = GetSingleSelection();
  if (i != 0 && i != ObjCount) {
    ObjectRecord moved = std::move(At(i));
    for (std::int32_t j = i; j < ObjCount; ++j) At(j) = std::move(At(j + 1));
    At(ObjCount) = std::move(moved);
  }
  Canvas().Refresh(false);
}

void MoveDown() {
  const std::int32_t i = GetSingleSelection();
  if (i >= 2) std::swap(At(i - 1), At(i));
  Canvas().Refresh(false);
}

void MoveUp() {
  const std::int32_t i = GetSingleSelection();
  if (i != 0 && i < ObjCount) std::swap(At(i), At(i + 1));
  Canvas().Refresh(false);
}

void MoveBack() {
  const std::int32_t i = GetSingleSelection();
  if (i != 0 && i != 1) {
    ObjectRecord moved = std::move(At(i));
    for (std::int32_t j = i; j > 1; --j) At(j) = std::move(At(j - 1));
    At(1) = std::move(moved);
  }
  Canvas().Refresh(false);
}

void RotateObject(float dAngle) {
  const std::int32_t angle = CLng(dAngle);
  for (std::int32_t i = 1; i <= ObjCount; ++i) {
    ObjectRecord& r = At(i);
    if (IsTrue(r.IsSelected) && !KeepsAngle(r.UserType)) r.Angle = angle;
  }
  Canvas().Refresh(false);
}

void HideObject(bool bHide, std::int32_t lKey) {
  for (std::int32_t i = 1; i <= ObjCount; ++i)
    if (At(i).Key == lKey) At(i).IsHidden = ToVbBool(bHide);
}

void DeselectAllObjects() {
  for (std::int32_t i = 1; i <= ObjCount; ++i) At(i).IsSelected = VbFalse;
}

}  // namespace pv
