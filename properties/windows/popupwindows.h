#pragma once
// The editor's floating property windows: a registry of window makers by
// window index, loaded, shown, filled and unloaded as the editor asks.
#include "editor/view/editcardhosts.h"
#include "properties/windows/popupframe.h"

#include <QPointer>

#include <array>
#include <functional>

namespace pv {

class PopUpWindowSet : public PropertyWindows {
 public:
  using Maker = std::function<PopUpFrame*(QWidget* owner)>;
  // The maker of window `index` (0, 1, 3, 4 or 5).
  void Register(int index, Maker maker);

  void Load(int index, QWidget* owner) override;
  void Show(int index, QWidget* owner) override;
  void Unload(int index) override;
  bool Loaded(int index) const override;
  void FontApply(int iCode, const QVariant& sValue) override;
  void TextApply(int iCode, const QVariant& sValue) override;
  void LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                  std::int16_t iMode) override;
  void FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                 std::int16_t Transparence) override;

  // The loaded window of an index, or nullptr.
  PopUpFrame* Window(int index) const;

 private:
  std::array<Maker, 6> m_makers;
  std::array<QPointer<PopUpFrame>, 6> m_windows;
};

// The program's windows: the set with every finished window registered.
PopUpWindowSet& ProgramPopUpWindows();

}  // namespace pv
