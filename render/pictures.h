#pragma once
// Pictures of label drawing: a picture file stretched into a rectangle, the
// picture of an image object, the label's background and border (print path
// and editor page) and the shadow geometry of shapes.
//
// Picture files are decoded once and kept while the file is unchanged (same
// path, modification time and size), so printing thousands of labels does
// not decode the background for every label.
#include "document/model.h"
#include "platform/dc.h"

#include <QString>
#include <cstdint>

namespace pv {

// Draws the picture file stretched into rect (right - left by bottom - top
// from (left, top)). Bitmaps, JPEG, PNG and the other formats Qt reads; a
// .wmf / .emf file goes to the metafile player. A file that is missing or
// cannot be read draws nothing. Always 0.
std::int16_t DrawPictureFile(DeviceContext* hDC, const QString& fileName, const Rect& rect);

// The picture of an image object (kind 102) into its unturned rectangle: the
// file of the temp folder named by the image number and the extension; .wmf
// and .emf by the metafile player, anything else by DrawPictureFile.
void DrawImageObject(DeviceContext* hDC, const ObjectRecord& record, const Rect& rect);

// Moves the rectangle's edges to the shadow's place (bShadow true) or from
// there to the body's (false). Modes 1-4 top right, top left, bottom right,
// bottom left with the offset 4 x size; 5-8 the same corners with 2 x size;
// any other mode changes nothing.
void AdjustShadowRect(Rect& rect, std::int16_t mode, bool bShadow, std::int16_t size);

// The label's background picture and border metafile into the label
// rectangle moved one pixel right and down (print path and preview).
void DrawLabelBackground(DeviceContext* hDC, Rect& rect, bool bPreview);

// The editor's page: frame, shadow edge, background and border, and with
// PRINTCIRCLE the guide ellipse of a round label. x1..y2: the page's edges in
// view pixels. Drawn as far as the surface shows it (its clip box), so pages
// of any size cost what the window shows; a raster background shows the same
// pixels as if the whole page were drawn.
void DragEditor_DrawPage(DeviceContext* hdc, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// The file drawn for the stored background name: trimmed; with PRINT_LOW
// its .bmp twin (the extension replaced, when it has one); a Windows path
// that does not exist here is looked up by its last component in the
// program's graphics background folder. Empty for a blank name.
QString BackgroundFile(const QString& storedName, bool printLow);
// The same for the border (graphics border folder; no twin).
QString BorderFile(const QString& storedName);

// Forgets every decoded picture (tests, and after the temp folder changed).
void ClearPictureCache();
// Number of decodings done since start (tests and benchmarks).
int PictureDecodeCount();

}  // namespace pv
