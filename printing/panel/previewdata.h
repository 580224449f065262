#pragma once
// The print panel, the main window's view "tbr_preview": on the left the
// print options and the data-source choice, on the right the format bar, the
// toolbar and the page preview. It is the print engine's panel: the engine
// writes captions, run values and progress into it and draws the preview's
// page through it.

#include "views/views.h"
#include "printing/panel/preview.h"

#include <array>
#include <memory>

class QFrame;
class QToolButton;

namespace pv {

class FormatBar;
class OptionPanel;

class PreviewData : public PreviewDataView, public PreviewControls {
  Q_OBJECT
 public:
  explicit PreviewData(QWidget* parent = nullptr);
  ~PreviewData() override;

  // Keeps what the program installed from this panel (it is the print
  // engine's panel controls, app/wiring.cpp) until the panel goes; it goes
  // first then.
  // Once: the installs of a second call, the same again, go at once.
  void KeepInstalls(std::unique_ptr<ViewInstalls> installs) {
    if (!m_installs) m_installs = std::move(installs);
  }

  // Fills the data-source list and chooses its no-merge entry.
  void Init() override;
  void ResetPrinterInformation() override;
  // Re-reads the current printer; a printer that went away gives its place
  // to the default one.
  void ReloadPrinterInfo() override;

  // The format chooser, then the format reloaded.
  void SelectFormat();
  // The manual print options shown, or the merge note instead.
  void ShowControl(bool bMode);
  // One toolbar command (0..8); nothing while a print job runs.
  void Command_Click(int Index);
  void SortPrint();
  void FilterPrint();
  // The option boxes checked and stored as the print run values.
  void GetUserInformation();
  // The reaction to the data-source list's selected entry (0: no merge).
  void CmbRegistration_Click(int index);

  // The print engine's side of the panel.
  void SetWarningVisible(bool visible) override;
  void SetPageCaption(const QString& caption) override;
  void SetFormatCaption(const QString& caption) override;
  void SetControlInformation() override;
  void ShowProgress(bool visible) override;
  void SetProgress(double minimum, double maximum, double value) override;
  bool StopPageChecked() override;
  void SelectNoMergeEntry() override;
  void ShowManualOptions(bool visible) override;

  // The parts, for the main window's tests and this panel's.
  OptionPanel* Options() const { return m_options; }
  QWidget* Container() const { return m_container; }
  FormatBar* Bar() const { return m_bar; }
  QFrame* Rule() const { return m_rule; }
  QToolButton* Command(int i) const { return m_commands[static_cast<std::size_t>(i)]; }
  PrintPreview* Preview() const { return m_preview; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  PreviewData(QWidget* parent, PrintPreview* preview);
  void Layout();
  // While a job runs (its progress shown): the window is repainted and
  // kept from closing, the preview keeps its page, and paints go on at
  // each step of the job.
  void BeginJobDisplay();
  void EndJobDisplay();
  void ShowPendingPaints();

  PrintPreview* m_preview;
  OptionPanel* m_options = nullptr;
  QWidget* m_container = nullptr;
  QFrame* m_rule = nullptr;
  FormatBar* m_bar = nullptr;
  std::array<QToolButton*, 9> m_commands{};
  bool m_jobDisplay = false;
  std::unique_ptr<ViewInstalls> m_installs;
};

}  // namespace pv
