#include "properties/windows/popupwindows.h"

#include "core/hosts.h"
#include "views/popups.h"
#include "properties/windows/arttextwindowwidget.h"
#include "properties/windows/fillwindowwidget.h"
#include "properties/windows/fontwindowwidget.h"
#include "properties/windows/linewindowwidget.h"
#include "properties/windows/textwindowwidget.h"

namespace pv {

void PopUpWindowSet::Register(int index, Maker maker) {
  if (IsPopUpIndex(index)) m_makers[static_cast<std::size_t>(index)] = std::move(maker);
}

PopUpFrame* PopUpWindowSet::Window(int index) const {
  if (!IsPopUpIndex(index)) return nullptr;
  PopUpFrame* w = m_windows[static_cast<std::size_t>(index)].data();
  return w != nullptr && !w->Unloading() ? w : nullptr;
}

void PopUpWindowSet::Load(int index, QWidget* owner) {
  if (!IsPopUpIndex(index) || Window(index) != nullptr) return;
  const Maker& maker = m_makers[static_cast<std::size_t>(index)];
  if (!maker) return;
  PopUpFrame* w = maker(owner);
  m_windows[static_cast<std::size_t>(index)] = w;
  if (w != nullptr) w->Loaded();
}

void PopUpWindowSet::Show(int index, QWidget*) {
  if (PopUpFrame* w = Window(index)) w->ShowAtPlace();
}

void PopUpWindowSet::Unload(int index) {
  if (PopUpFrame* w = Window(index)) w->Unload();
}

bool PopUpWindowSet::Loaded(int index) const {
  return Window(index) != nullptr && PopUpLoaded[static_cast<std::size_t>(index)] != VbFalse;
}

void PopUpWindowSet::FontApply(int iCode, const QVariant& sValue) {
  if (PopUpFrame* w = Window(PopFont)) w->FontApply(iCode, sValue);
}

void PopUpWindowSet::TextApply(int iCode, const QVariant& sValue) {
  if (PopUpFrame* w = Window(PopText)) w->TextApply(iCode, sValue);
}

void PopUpWindowSet::LineeApply(std::int32_t lNewColor, const QVariant& lNewStyle, std::int32_t lNewAspect,
                                std::int16_t iMode) {
  if (PopUpFrame* w = Window(PopLinee)) w->LineeApply(lNewColor, lNewStyle, lNewAspect, iMode);
}

void PopUpWindowSet::FillApply(std::int32_t FillStyle, std::int32_t BackColor1, std::int32_t Backcolor2,
                               std::int16_t Transparence) {
  if (PopUpFrame* w = Window(PopFill)) w->FillApply(FillStyle, BackColor1, Backcolor2, Transparence);
}

PopUpWindowSet& ProgramPopUpWindows() {
  static PopUpWindowSet set = [] {
    PopUpWindowSet s;
    s.Register(PopFont, [](QWidget* owner) { return new FontWindow(owner); });
    s.Register(PopText, [](QWidget* owner) { return new TextWindow(owner); });
    s.Register(PopLinee, [](QWidget* owner) { return new LineWindow(owner); });
    s.Register(PopFill, [](QWidget* owner) { return new FillWindow(owner); });
    s.Register(PopArtText, [](QWidget* owner) { return new ArtTextWindow(owner); });
    return s;
  }();
  return set;
}

}  // namespace pv
