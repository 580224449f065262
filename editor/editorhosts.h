#pragma once
// The editor's side of the interfaces the document and start-up call: the
// document's EditorHost (SetParameter, SaveData) over the editor's logic, and
// the start-up's DefaultStyle reset. The composition root installs them.
#include "app/hosts.h"
#include "document/hosts.h"

namespace pv {

class EditCardLogic;

class EditorDocumentHost : public EditorHost {
 public:
  explicit EditorDocumentHost(EditCardLogic& logic) : logic_(logic) {}
  void SetParameter() override;
  void SaveData() override;

 private:
  EditCardLogic& logic_;
};

class EditorStyleHost : public ShellStyleHost {
 public:
  void ResetDefaultStyle() override;
};

}  // namespace pv
