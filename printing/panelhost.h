#pragma once
// What the print engine does to the print panel's controls and its preview
// surface, behind one settable interface: the printable-area warning, the
// page and format captions, showing the run values in the option boxes, the
// progress of a job, and the preview's page set-up, repaint and geometry.
// The default does nothing and has no preview sheet; the print panel is
// installed while it lives (AttachPrintPanel, app/wiring.cpp), tests
// install a recorder.

#include "platform/hostslot.h"
#include "printing/layout.h"

#include <QString>

#include <cstdint>

namespace pv {

class PrintPanelControls {
 public:
  virtual ~PrintPanelControls() = default;
  // The label that warns that the sheet does not fit the printable area.
  virtual void SetWarningVisible(bool visible) { (void)visible; }
  // The caption under the preview (page n of m).
  virtual void SetPageCaption(const QString& caption) { (void)caption; }
  // The format bar's caption.
  virtual void SetFormatCaption(const QString& caption) { (void)caption; }
  // Shows the print run values in the option boxes.
  virtual void SetControlInformation() {}
  // The progress bar and its caption shown or hidden.
  virtual void ShowProgress(bool visible) { (void)visible; }
  // The progress bar's range and value, repainted at once.
  virtual void SetProgress(double minimum, double maximum, double value) {
    (void)minimum;
    (void)maximum;
    (void)value;
  }
  // The preview surface: the page it shows and the printer resolution its
  // coordinates come in; a repaint; and where its sheet stands now.
  virtual void PreparePrinting(double pageWidth, double pageHeight, std::int32_t resX, std::int32_t resY) {
    (void)pageWidth;
    (void)pageHeight;
    (void)resX;
    (void)resY;
  }
  virtual void RefreshPreview() {}
  virtual PreviewSheet PreviewGeometry() { return PreviewSheet{}; }
  // The preview's sheet pixels per typographic point (0 before its first
  // paint); what the label drawing scales fonts by in the preview.
  virtual float OCXFontRatio() { return 0.0f; }

  // Whether the manual-paper check box is ticked (the print run's stop
  // between pages). The default keeps the setting as it stands.
  virtual bool StopPageChecked();
  // Back to the data-source list's no-merge entry. The panel selects it,
  // which runs its choice reaction; the default runs the engine's no-merge
  // reaction directly.
  virtual void SelectNoMergeEntry();
  // The manual print options shown (true) or the merge note instead (false).
  virtual void ShowManualOptions(bool visible) { (void)visible; }
};

PV_DECLARE_HOST_SLOT(PrintPanelControls)
PrintPanelControls& PrintControls();
// Takes no ownership; returns the previous instance; nullptr = the default.
PrintPanelControls* SetPrintPanelControls(PrintPanelControls* controls);

}  // namespace pv
