#pragma once
// The frame every floating property window shares: a modeless tool window
// owned by the main window, first shown at the owner's right edge (stacked
// by window index) and, when reopened in the same run, where the user left
// it. Loading announces the window (PopUpLoadedBy); unloading - by its title
// bar, by the editor clearing its switch, or at shutdown - clears the flag
// (PopUpUnloaded), then clears the editor's switch, once, and the window is
// destroyed.
#include <QVariant>
#include <QWidget>

#include <cstdint>

namespace pv {

class PopUpFrame : public QWidget {
  Q_OBJECT
 public:
  PopUpFrame(int index, QWidget* owner);
  int Index() const { return m_index; }

  // The window has loaded: its flag is set.
  void Loaded();
  // Shows it: the first time at its place, then as it is.
  void ShowAtPlace();
  // Unloads it (once): flag cleared, the editor's switch cleared, the
  // window destroyed later. True when this call did it.
  bool Unload();
  bool Unloading() const { return m_unloading; }

  // The editor's fillers; each window takes its own.
  virtual void FontApply(int iCode, const QVariant& sValue);
  virtual void TextApply(int iCode, const QVariant& sValue);
  virtual void LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                          std::int16_t iMode);
  virtual void FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                         std::int16_t Transparence);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  int m_index;
  bool m_placed = false;
  bool m_unloading = false;
};

// Where window `index` is put when it is first shown beside `owner`.
QPoint PopUpFirstPlace(int index, const QRect& ownerFrame, const QSize& windowSize);
// Forgets the places the windows were left at (tests).
void ForgetPopUpPlaces();

}  // namespace pv
