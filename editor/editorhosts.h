#pragma once
// The editor's side of the interface the document calls: the document's
// EditorHost (SetParameter, SaveData) over the editor's logic. The editor
// view holds one; the composition root installs it while the view lives
// (AttachEditCard, app/wiring.cpp).
#include "document/hosts.h"

namespace pv {

class EditCardLogic;

class EditorDocumentHost : public EditorHost {
 public:
  explicit EditorDocumentHost(EditCardLogic& logic) : m_logic(logic) {}
  void SetParameter() override;
  void SaveData() override;

 private:
  EditCardLogic& m_logic;
};

}  // namespace pv
