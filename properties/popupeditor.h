#pragma once
// What the floating property windows call on the label editor: the undo
// snapshot before a batch, one property value, the editor's window switch,
// and the main window's mouse pointer around long list fillings. The base
// class does nothing (windows without a main window: tests, probes); the
// composition root installs the one that forwards to the main window's
// editor (app/popupeditorhost.h), tests install a recorder.
#include "platform/hostslot.h"

#include <QVariant>

namespace pv {

class PopUpEditor {
 public:
  virtual ~PopUpEditor() = default;
  // One undo snapshot for the batch that follows.
  virtual void SavedDoc();
  // One property code (value in the type the window's table gives it;
  // bDefault 0 or 1); bRefresh repaints at the end of a batch.
  virtual void Apply(int iCode, const QVariant& sValue, int bDefault, bool bRefresh);
  // Ticks or clears the editor's switch of window `index`.
  virtual void SetShowPop(int index, bool bMode);
  // The main window's mouse pointer: 11 the hourglass, 0 the normal one.
  virtual void SetMousePointer(int pointer);
};

PV_DECLARE_HOST_SLOT(PopUpEditor)

PopUpEditor& PopUpEditorHost();
// Takes no ownership; nullptr puts the default back. Returns the previous one.
PopUpEditor* SetPopUpEditor(PopUpEditor* editor);

}  // namespace pv
