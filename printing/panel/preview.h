#pragma once
// The page preview surface: one printer page scaled to fit, as a white sheet
// with a drop shadow. Every paint of the sheet clears it and raises Draw
// with a device context over the image the sheet paints into (readable, so
// gradient text can blend with it); the host draws the page there in sheet
// pixels, mapping printer device units through GetX / GetY.

#include "platform/dc.h"
#include "printing/layout.h"
#include "printing/panelhost.h"

#include <QVariant>
#include <QWidget>

#include <cstdint>

// The sheet's device context travels through Draw as an opaque handle.
Q_DECLARE_OPAQUE_POINTER(pv::DeviceContext*)

namespace pv {

class PrintPreview : public QWidget {
  Q_OBJECT
 public:
  explicit PrintPreview(QWidget* parent = nullptr);

  // Sheet pixels per typographic point of the page; 0 until the first paint.
  float OCXFontRatio = 0.0f;

  // The page (mm) and the printer resolution its coordinates come in; lays
  // the sheet out again.
  void PreparePrinting(double pageWidth, double pageHeight, std::int32_t printerResX, std::int32_t printerResY);
  // Repaints the sheet (which raises Draw).
  void Refresh();
  // Printer device units to sheet pixels.
  std::int32_t GetX(std::int32_t x) const;
  std::int32_t GetY(std::int32_t y) const;
  void GetPoint(std::int32_t& xp, std::int32_t& yp) const;
  // Kept for the callers that set it; changes nothing.
  std::int16_t SetScaleMode(std::int16_t iMode);
  QVariant ScaleMode() const { return m_scaleMode; }
  void SetScaleModeProperty(const QVariant& mode) { m_scaleMode = mode; }

  // The sheet as the page drawing maps into it.
  PreviewSheet Geometry() const;
  double Zoom() const { return m_zoom; }
  QWidget* Sheet() const { return m_sheet; }

 signals:
  void Draw(pv::DeviceContext* hdc);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class PreviewSheetWidget;
  void Layout();
  void PaintSheet(QWidget* sheet);

  QWidget* m_sheet = nullptr;
  double m_zoom = 0;
  double m_pageWidth = 210;
  double m_pageHeight = 297;
  std::int32_t m_resX = 300;
  std::int32_t m_resY = 300;
  QVariant m_scaleMode = 1;
};

// The preview's part of the panel's controls over a PrintPreview: page
// set-up, repaint, geometry and font ratio; its Draw draws the engine's
// current page. The panel derives from it for the rest.
class PreviewControls : public PrintPanelControls {
 public:
  explicit PreviewControls(PrintPreview* preview);
  void PreparePrinting(double pageWidth, double pageHeight, std::int32_t resX, std::int32_t resY) override;
  void RefreshPreview() override;
  PreviewSheet PreviewGeometry() override;
  float OCXFontRatio() override;

 private:
  PrintPreview* m_preview;
};

}  // namespace pv
