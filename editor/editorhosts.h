#pragma once
// The editor's side of the interfaces the document and start-up call: the
// document's EditorHost (SetParameter, Reset, LoadData, SaveData) over the
// editor's logic, and the start-up's DefaultStyle reset. The editor view
// installs them (SetEditorHost, SetShellStyleHost) while it lives.
#include "document/hosts.h"

#ifdef PLAVIK_EDITOR_WITH_SETTINGS
#include "app/hosts.h"
#endif

namespace pv {

class EditCardLogic;

class EditorDocumentHost : public EditorHost {
 public:
  explicit EditorDocumentHost(EditCardLogic& logic) : logic_(logic) {}
  void SetParameter() override;
  // Empties the canvas.
  void Reset() override;
  // Nothing to do after a document was read: the canvas draws the records.
  void LoadData() override;
  void SaveData() override;

 private:
  EditCardLogic& logic_;
};

#ifdef PLAVIK_EDITOR_WITH_SETTINGS
class EditorStyleHost : public ShellStyleHost {
 public:
  void ResetDefaultStyle() override;
};
#endif

}  // namespace pv
