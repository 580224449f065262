#include "properties/windows/popupframe.h"

#include "views/popups.h"
#include "properties/popupeditor.h"

#include <QCloseEvent>

#include <array>
#include <optional>

namespace pv {

namespace {
// Where each window was when it unloaded, for this run only.
std::array<std::optional<QPoint>, PopUpCount>& Places() {
  static std::array<std::optional<QPoint>, PopUpCount> places;
  return places;
}
}  // namespace

void ForgetPopUpPlaces() { Places() = {}; }

QPoint PopUpFirstPlace(int index, const QRect& ownerFrame, const QSize& windowSize) {
  constexpr int kTop = 80;   // below the menus and the toolbar
  constexpr int kStep = 36;  // one title bar's height between windows
  constexpr int kMargin = 12;
  return {ownerFrame.right() - windowSize.width() - kMargin, ownerFrame.top() + kTop + index * kStep};
}

PopUpFrame::PopUpFrame(int index, QWidget* owner) : QWidget(owner, Qt::Tool), m_index(index) {}

void PopUpFrame::Loaded() { PopUpLoadedBy(m_index, this); }

void PopUpFrame::ShowAtPlace() {
  if (!m_placed) {
    m_placed = true;
    adjustSize();
    const std::optional<QPoint>& left = Places()[static_cast<std::size_t>(m_index)];
    if (left) {
      move(*left);
    } else if (QWidget* owner = parentWidget()) {
      move(PopUpFirstPlace(m_index, owner->frameGeometry(), frameGeometry().size()));
    }
  }
  show();
  raise();
}

bool PopUpFrame::Unload() {
  if (m_unloading) return false;
  m_unloading = true;
  if (m_placed) Places()[static_cast<std::size_t>(m_index)] = pos();
  PopUpUnloaded(m_index);
  // The editor's switch follows; its own reaction finds the window unloaded.
  PopUpEditorHost().SetShowPop(m_index, false);
  hide();
  deleteLater();
  return true;
}

void PopUpFrame::closeEvent(QCloseEvent* event) {
  event->accept();
  Unload();
}

void PopUpFrame::FontApply(int, const QVariant&) {}
void PopUpFrame::TextApply(int, const QVariant&) {}
void PopUpFrame::LineeApply(std::int32_t, const QVariant&, std::int32_t, std::int16_t) {}
void PopUpFrame::FillApply(std::int32_t, std::int32_t, std::int32_t, std::int16_t) {}

}  // namespace pv
