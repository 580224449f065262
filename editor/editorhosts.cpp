#include "editor/editorhosts.h"

#include "document/objectstore.h"
#include "editor/editcardlogic.h"
#include "editor/style.h"

namespace pv {

void EditorDocumentHost::SetParameter() { logic_.SetParameter(); }
void EditorDocumentHost::Reset() { Purge(); }
void EditorDocumentHost::LoadData() {}
void EditorDocumentHost::SaveData() { logic_.SaveData(); }

#ifdef PLAVIK_EDITOR_WITH_SETTINGS
void EditorStyleHost::ResetDefaultStyle() { pv::ResetDefaultStyle(); }
#endif

}  // namespace pv
