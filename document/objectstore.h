#pragma once
// Operations over the open document's object table: adding, finding,
// enumerating, selecting and measuring objects; deleting, ordering, hiding and
// rotating them; the undo history. They paint and raise their events through
// the canvas host (document/hosts.h).
#include "document/model.h"

#include <array>
#include <cstdint>

namespace pv {

// ---- Adding, finding, enumerating, selecting, measuring -------------------

// Appends one object (Tool GeomBox: x1, y1 centre and x2, y2 size; GeomLine:
// the two end points; Angle rounded halves to even). Takes an undo snapshot
// first. The slot is cleared to an empty record before it is filled, so the
// caller sets the attributes. Returns the new key, 0 on a full table (nothing
// changed). Raises no InsertObject.
std::int32_t AddObject(float x1, float y1, float x2, float y2, float Angle, std::int16_t Tool, std::int16_t UserTool,
                       bool bDraw);

// Enumeration by key; bMode True = selected objects only. -1 when none / at
// the end. The cursor is an index: do not delete or reorder while enumerating.
std::int32_t GetFirstObject(bool bMode);
std::int32_t GetNextObject(bool bMode);

// UserType / GeomType of a key; 0 for a key not in the table.
std::int32_t GetUserType(std::int32_t Key);
std::int32_t GetType(std::int32_t Key);

// Empties the table (ObjCount = 0) and repaints the view area.
void Purge();
void Clear();

// Number of selected objects.
std::int32_t SelCount();
// Key of the selected object nearest the front, 0 if none.
std::int32_t Selected();
// Selects the key's object; with bDraw draws it at once (not when hidden).
void SelObject(std::int32_t Key, bool bDraw);
// Stores a new free key in lKey; the table is not changed.
void SetNewKey(std::int32_t& lKey);

// The -1 marker: an argument equal to it (exactly) keeps the current value.
inline constexpr float KeepValue = -1.0f;
// Positions are given without the page origin (it is added), sizes as they
// are; images and barcodes keep their angle. Raises UpdateObjects, found or
// not.
void SetObjectDimension(std::int32_t Key, float x1, float y1, float x2, float y2, float Angle, bool bDraw);
// Line: X1, Y1, X2, Y2; box: CenterX, CenterY, Width, Height (origin
// included); Angle as a Single. Outputs untouched for an unknown key.
void GetObjectDimension(std::int32_t Key, float& x1, float& y1, float& x2, float& y2, float& Angle);

// Index 1..ObjCount of the first record with the key, 0 if none.
std::int32_t IndexOfKey(std::int32_t Key);
// Smallest key in 1..99999999 no live object uses; 0 if all are used.
std::int32_t NewObjectKey();

// ---- Document functions ---------------------------------------------------

// Index 1..ObjCount of the first record whose Key equals key; 0 if none.
std::int16_t FindObjectIndex(std::int32_t key);
// Smallest n in 1..200 no image object uses as its Variant; 0 if none free.
std::int16_t NextImageNumber();
// The last three characters of s, blanks trimmed from both ends (the whole
// of s trimmed when shorter).
QString FileExtension(const QString& s);

// ---- Deleting, ordering, rotating, hiding ----------------------------------

// Deletes one object by key (DeleteObject raised first); no snapshot. With
// bDraw repaints the view area.
void DelObject(std::int32_t Key, bool bDraw);
// Snapshot, then deletes every selected object (events in table order).
void DelObjects();
// Order moves of the one selected object (nothing with none or several).
void MoveFront();
void MoveDown();
void MoveUp();
void MoveBack();
// Sets (not adds) the angle of the selected objects except images and
// barcodes, rounded halves to even.
void RotateObject(float dAngle);
// IsHidden of every record with the key; nothing is repainted.
void HideObject(bool bHide, std::int32_t lKey);
// Index of the only selected object; 0 when none or several are selected.
std::int32_t GetSingleSelection();
// Clears IsSelected on every live object (no painting, no event): the table
// side of the canvas's SelStop.
void DeselectAllObjects();

// ---- Undo history -----------------------------------------------------------

inline constexpr int UndoSlots = 5;
// Slot 1 newest .. slot 5 oldest; slot 0 unused.
extern std::array<DocumentBlock, UndoSlots + 1> UndoBlocks;
// Snapshots taken since start-up less undos done; capped at 32767.
extern std::int16_t UndoCount;
extern DocumentBlock RedoBlock;
extern bool RedoAvailable;

// Takes a snapshot of the table; raises SavedDocument.
void SavedDoc();
// Restores the newest snapshot when at least two were counted.
void Undo();
// Re-applies the state the last Undo replaced (after a snapshot).
void Redo();
// Empties the history (start-up state).
void ResetUndoHistory();

}  // namespace pv
