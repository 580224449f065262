#include "editor/editorhosts.h"

#include "editor/editcardlogic.h"
#include "editor/style.h"

namespace pv {

void EditorDocumentHost::SetParameter() { logic_.SetParameter(); }
void EditorDocumentHost::SaveData() { logic_.SaveData(); }

void EditorStyleHost::ResetDefaultStyle() { pv::ResetDefaultStyle(); }

}  // namespace pv
