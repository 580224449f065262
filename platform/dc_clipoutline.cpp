// The device context's outer clip as a vector path.
#include "platform/dc_internal.h"

namespace pv {

void SelectClipOutline(DeviceContext* dc, const QPainterPath* devicePath) {
  if (!dc) return;
  dc->st.hasClipOutline = devicePath != nullptr;
  dc->st.clipOutline = devicePath ? *devicePath : QPainterPath();
  if (detail::Valid(dc)) detail::ApplyClip(dc);
}

bool GetClipOutline(const DeviceContext* dc, QPainterPath* out) {
  if (!dc || !dc->st.hasClipOutline) return false;
  if (out) *out = dc->st.clipOutline;
  return true;
}

}  // namespace pv
