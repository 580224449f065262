#pragma once
// What the drawing of label content asks of the components around it that
// are built elsewhere: the canvas (its font scale), the print panel and its
// preview surface (merge values, the preview's font scale), the data-source
// side (captions of the predefined fields) and the settings. Each is an
// interface with a process-wide slot (platform/hostslot.h) that the
// composition root fills; the defaults are the drawing on its own, without a
// window (tests, the lab-render tool). Setters take no ownership and return
// the previous instance; nullptr puts the default back.
#include "platform/hostslot.h"
#include "datasources/predefinedfields.h"

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

class RenderPrintHost {
 public:
  virtual ~RenderPrintHost() = default;
  // The text of one merge field for the current record. Default: the field
  // name without leading and trailing blanks (no data source: fields show
  // their names).
  virtual QString GetFieldValue(QString& fieldName, QString& formatText);
  // Device pixels per typographic point of the preview surface. 0 or less:
  // the context's resolution / 72. Default 0.
  virtual float OCXFontRatio();
};

class RenderDataSourceHost {
 public:
  virtual ~RenderDataSourceHost() = default;
  // Trims the key in place; the caption of a predefined field key (messages
  // 32005-32007), otherwise the trimmed key. The default does exactly that.
  virtual QString GetPredefinedFieldCaption(QString& key);
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
PV_DECLARE_HOST_SLOT(RenderPrintHost)
PV_DECLARE_HOST_SLOT(RenderDataSourceHost)
PV_DECLARE_HOST_SLOT(RenderSettingsHost)

RenderCanvasHost& RenderCanvas();
RenderPrintHost& RenderPrint();
RenderDataSourceHost& RenderDataSources();
RenderSettingsHost& RenderSettings();

RenderCanvasHost* SetRenderCanvasHost(RenderCanvasHost* host);
RenderPrintHost* SetRenderPrintHost(RenderPrintHost* host);
RenderDataSourceHost* SetRenderDataSourceHost(RenderDataSourceHost* host);
RenderSettingsHost* SetRenderSettingsHost(RenderSettingsHost* host);

}  // namespace pv
