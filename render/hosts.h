#pragma once
// What the drawing of label content asks of the components around it that
// are built elsewhere: the canvas (its font scale) and the settings. The
// values of the merge fields and the preview's font scale are given by the
// caller with each drawing (render/labelobjects.h). Each is an
// interface with a process-wide slot (platform/hostslot.h) that the
// composition root fills; the defaults are the drawing on its own, without a
// window (tests, the lab-render tool). Setters take no ownership and return
// the previous instance; nullptr puts the default back.
#include "platform/hostslot.h"

#include <QString>
#include <cstdint>

namespace pv {

class RenderCanvasHost {
 public:
  virtual ~RenderCanvasHost() = default;
  // View pixels per typographic point of the canvas. 0 or less: the drawing
  // takes the device context's own resolution / 72. Default 0.
  virtual float FontRatio();
};

class RenderSettingsHost {
 public:
  virtual ~RenderSettingsHost() = default;
  // PRINT_LOW: draw the .bmp twin of a background. Default false.
  virtual bool PrintLow();
  // PRINTCIRCLE: round labels (the editor shows a guide ellipse). Default false.
  virtual bool PrintCircle();
  // The printer's vertical resolution; 0 or less: the context's own. Default 0.
  virtual std::int32_t PrinterDpiY();
};

PV_DECLARE_HOST_SLOT(RenderCanvasHost)
PV_DECLARE_HOST_SLOT(RenderSettingsHost)

RenderCanvasHost& RenderCanvas();
RenderSettingsHost& RenderSettings();

RenderCanvasHost* SetRenderCanvasHost(RenderCanvasHost* host);
RenderSettingsHost* SetRenderSettingsHost(RenderSettingsHost* host);

}  // namespace pv
