// One sheet of labels drawn on the preview surface or a printer page.
#include "core/settings.h"
#include "datasources/sourcerecordset.h"
#include "document/hosts.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "printing/engine.h"
#include "printing/fieldvalue.h"
#include "printing/panelhost.h"
#include "render/labelreach.h"
#include "render/render.h"

#include <QPainterPath>
#include <QSize>

#include <algorithm>
#include <cmath>
#include <exception>

namespace pv {
namespace {

// The sheet's labels do not fit the printer's printable area (margins
// take no part).
bool SheetTooLarge(const SheetFormat& f, const PrinterCaps& printer) {
  const float across = float(LabelsAcross(f));
  const float down = float(LabelsDown(f));
  const float width = float(across * f.Width + (across - 1) * f.horizpitch);
  const float height = float(down * f.Height + (down - 1) * f.vertipitch);
  return float(printer.HorzSize) < width || float(printer.VertSize) < height;
}

// The clip and outline of a label: the rectangle one unit wider to the
// right and down, or the ellipse inscribed in it.
QPainterPath LabelOutline(const LabelCell& c, bool round) {
  QPainterPath path;
  const QRectF r(c.X1, c.Y1, double(c.X2) + 1 - c.X1, double(c.Y2) + 1 - c.Y1);
  if (round) {
    path.addEllipse(r);
  } else {
    path.addRect(r);
  }
  return path;
}

void Outline(DeviceContext* hdc, const LabelCell& c, bool round) {
  Libraries().LineoPen(hdc, 2, Rgb(0, 0, 0));
  SelectBrush(hdc, Brush::Hollow());
  if (round) {
    Ellipse(hdc, c.X1, c.Y1, c.X2 + 1, c.Y2 + 1);
  } else {
    Rectangle(hdc, c.X1, c.Y1, c.X2 + 1, c.Y2 + 1);
  }
}

// Whether a rectangular label needs its outline as a clip: only when its
// drawing can put ink near or past the cell's edges. The content keeps half
// a millimetre (two device pixels at the least) clear of the edge, so that
// no pixel a viewer or a printer rasterises at the edge can come out
// otherwise; a pixel more covers the rounding of object boxes from one cell
// position to the next. Asked once for each size of cell on a page.
class LabelClipChoice {
 public:
  LabelClipChoice(DeviceContext* hdc, const LabelContent& label, const PrintSurface& surface)
      : m_hdc(hdc), m_label(label), m_surface(surface) {}

  bool Needed(const LabelCell& c) {
    const QSize size(c.X2 - c.X1, c.Y2 - c.Y1);
    if (!m_known || size != m_size) {
      m_known = true;
      m_size = size;
      m_needed = Decide(c);
    }
    return m_needed;
  }

 private:
  bool Decide(const LabelCell& c) const {
    const double perMm = std::min(double(c.X2 - c.X1) / double(m_label.Header.LabelWidth),
                                  double(c.Y2 - c.Y1) / double(m_label.Header.LabelHeight));
    const double margin = (std::isfinite(perMm) && perMm > 0 ? std::max(2.0, 0.5 * perMm) : 2.0) + 1.0;
    const QRectF inside(QPointF(c.X1 + margin, c.Y1 + margin), QPointF(c.X2 + 1 - margin, c.Y2 + 1 - margin));
    if (inside.isEmpty()) return true;
    return !LabelInkStaysInside(Rect{c.X1, c.Y1, c.X2, c.Y2}, m_label, m_surface, DpiX(m_hdc), inside);
  }

  DeviceContext* m_hdc;
  const LabelContent& m_label;
  const PrintSurface& m_surface;
  bool m_known = false;
  QSize m_size;
  bool m_needed = true;
};

}  // namespace

bool PrintEngine::PrintPage(DeviceContext* hdc, bool bPreview) {
  Editor().SaveData();
  RecordFields fields = FieldValues();
  return DrawPage(hdc, bPreview, fields, m_pageNumber);
}

bool PrintEngine::DrawPage(DeviceContext* hdc, bool bPreview, RecordFields& fields, std::int32_t page) {
  PrintPanelControls& controls = PrintControls();
  const SheetFormat& f = m_run.m_Format.Sheet;
  const Settings& settings = ProgramSettings();
  controls.SetWarningVisible(SheetTooLarge(f, settings.Printer));
  if (!bPreview && IsTrue(settings.PrintStopPage)) MsgBoxRes(16200, MsgIcon::Information, MsgButtons::Ok);

  LayoutTarget target;
  target.Preview = bPreview;
  target.DpiX = settings.Printer.DpiX;
  target.DpiY = settings.Printer.DpiY;
  if (bPreview) {
    target.Sheet = controls.PreviewGeometry();
  } else {
    target.OffsetX = settings.Printer.OffsetX;
    target.OffsetY = settings.Printer.OffsetY;
    target.CalibrationX = settings.CalibrationX;
    target.CalibrationY = settings.CalibrationY;
  }
  const bool round = IsTrue(settings.PrintCircle);
  const bool merging = Merging();
  const LabelContent label{DocBlock, Header, PageOrgX, PageOrgY};
  const PrintSurface surface{bPreview, bPreview ? controls.OCXFontRatio() : 0.0f};

  // A label's clip is changed straight into the next label's (a printer
  // pays for each change of the clip); after the last label, or a failed
  // one, the caller's clip is back.
  QPainterPath callerOutline;
  const bool hasCallerOutline = GetClipOutline(hdc, &callerOutline);
  const QPainterPath* unclipped = hasCallerOutline ? &callerOutline : nullptr;
  // Content is judged where its device pixels are the context's own.
  const bool plainMapping = LogicalToDeviceTransform(hdc).type() <= QTransform::TxTranslate;
  LabelClipChoice choice(hdc, label, surface);
  bool clipped = false;
  int level = 0;
  bool finished = true;
  try {
    const PageLayout layout = LayoutPage(f, Header.LabelWidth, Header.LabelHeight, m_run.Pages(), page, target);
    for (const LabelCell& c : layout.Cells) {
      fields.SetLabel(c.LabelIndex);
      // The label's record becomes current just before it is drawn; past the
      // last record there is none.
      if (merging) m_mergeSource->MoveTo(c.RecordIndex);
      // A label that rounds to nothing (a tiny preview) is not drawn.
      if (c.X2 <= c.X1 || c.Y2 <= c.Y1) continue;
      if (round || hasCallerOutline || !plainMapping || choice.Needed(c)) {
        const QPainterPath outline = LabelOutline(c, round);
        SelectClipOutline(hdc, &outline);
        clipped = true;
      } else if (clipped) {
        SelectClipOutline(hdc, unclipped);
        clipped = false;
      }
      level = SaveDC(hdc);
      Rect rect{c.X1, c.Y1, c.X2, c.Y2};
      DrawLabelBackground(hdc, rect, bPreview);
      rect = Rect{c.X1, c.Y1, c.X2, c.Y2};
      DrawLabelObjects(hdc, rect, label, fields, surface);
      RestoreDC(hdc, level);
      level = 0;
      if (bPreview || IsTrue(settings.PrintBorder)) {
        if (clipped) SelectClipOutline(hdc, unclipped);
        clipped = false;
        Outline(hdc, c, round);
      }
    }
  } catch (const std::exception&) {
    finished = false;
  } catch (...) {
    finished = false;
  }
  if (level > 0) RestoreDC(hdc, level);
  if (clipped) SelectClipOutline(hdc, unclipped);
  controls.SetPageCaption(PageCaption(page, m_run.m_PageCount));
  return finished;
}

}  // namespace pv
