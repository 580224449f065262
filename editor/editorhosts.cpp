#include "editor/editorhosts.h"

#include "editor/editcardlogic.h"

namespace pv {

void EditorDocumentHost::SetParameter() { m_logic.SetParameter(); }
void EditorDocumentHost::SaveData() { m_logic.SaveData(); }

}  // namespace pv
