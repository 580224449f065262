#include "document/pageorigin.h"

#include "document/model.h"

namespace pv {

PageEdges CentredPage(double areaOrgX, double areaOrgY, double areaWidth, double areaHeight, double pageWidth,
                      double pageHeight) {
  const double midX = (areaOrgX + areaWidth) / 2.0;
  const double midY = (areaOrgY + areaHeight) / 2.0;
  return {float(midX - pageWidth / 2.0), float(midY - pageHeight / 2.0), float(midX + pageWidth / 2.0),
          float(midY + pageHeight / 2.0)};
}

void PlaceLabelPageAsEditor() {
  const PageEdges page =
      CentredPage(0.0, 0.0, EditorWorkAreaSize, EditorWorkAreaSize, Header.LabelWidth, Header.LabelHeight);
  PageOrgX = page.left;
  PageOrgY = page.top;
}

}  // namespace pv
