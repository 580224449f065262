#pragma once
// Where the label page lies in the editor's work area. Object coordinates
// are millimetres from the work area's top-left corner, so they include the
// page origin; whoever draws a label outside the editor (a print run, a
// tool) places the page exactly as the editor does.
namespace pv {

// The editor's work area: a square of this many millimetres.
inline constexpr double EditorWorkAreaSize = 300.0;

// A page's edges in the work area, millimetres.
struct PageEdges {
  float left = 0, top = 0, right = 0, bottom = 0;
};

// A page of pageWidth x pageHeight centred on the work area that starts at
// (areaOrgX, areaOrgY) and is areaWidth x areaHeight.
PageEdges CentredPage(double areaOrgX, double areaOrgY, double areaWidth, double areaHeight, double pageWidth,
                      double pageHeight);

// PageOrgX / PageOrgY as the editor sets them for the open label (Header's
// size centred on its work area).
void PlaceLabelPageAsEditor();

}  // namespace pv
