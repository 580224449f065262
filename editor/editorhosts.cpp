#include "editor/editorhosts.h"

#include "editor/editcardlogic.h"

namespace pv {

void EditorDocumentHost::SetParameter() { logic_.SetParameter(); }
void EditorDocumentHost::SaveData() { logic_.SaveData(); }

}  // namespace pv
