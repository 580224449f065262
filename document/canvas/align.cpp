// Alignment and equal sizing of the selected objects, and their snapping
// onto the grid.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "platform/runtime.h"

namespace pv {

namespace {

// The box part of a line record does not describe what is drawn: the edge,
// centre and size modes leave lines out.
bool AlignsByBox(const ObjectRecord& r) { return r.IsSelected != 0 && r.GeomType != GeomLine; }

// Half extents on the screen of a box turned by a quarter turn; false for
// any other angle.
bool HalfExtents(const ObjectRecord& r, float& hx, float& hy) {
  const std::int32_t a = NormalizeAngle(r.Angle);
  if (a == 0 || a == 180) {
    hx = r.Width / 2.0f;
    hy = r.Height / 2.0f;
    return true;
  }
  if (a == 90 || a == 270) {
    hx = r.Height / 2.0f;
    hy = r.Width / 2.0f;
    return true;
  }
  return false;
}

// round(v / pitch) x pitch; a pitch of 0 or less leaves the value.
float OntoGrid(float v, float pitch) {
  if (!(pitch > 0.0f)) return v;
  return float(CInt(v / pitch)) * pitch;
}

// An even number of pitches (so the sides of an unrotated box fall on grid
// nodes when its centre does).
float EvenPitches(float v, float pitch) {
  if (!(pitch > 0.0f)) return v;
  return 2.0f * float(CInt(v / pitch / 2.0f)) * pitch;
}

// A box keeps at least one pitch: sized to nothing it could hardly be
// grabbed again.
float BoxSizeOntoGrid(float v, float pitch) {
  const float s = EvenPitches(v, pitch);
  return pitch > 0.0f && s < pitch ? pitch : s;
}

}  // namespace

void DragEditor::SetAlign(std::int16_t mode, bool refresh) {
  const std::int32_t n = ObjCount < MaxObjects ? ObjCount : MaxObjects;
  switch (mode) {
    case 1:
    case 2:
    case 4:
    case 5: {
      float ref = (mode == 1 || mode == 4) ? 1000000.0f : 0.0f;
      for (std::int32_t i = 1; i <= n; ++i) {
        const ObjectRecord& r = Objects[std::size_t(i)];
        float hx = 0, hy = 0;
        if (!AlignsByBox(r) || !HalfExtents(r, hx, hy)) continue;
        switch (mode) {
          case 1: ref = MinValue(ref, r.CenterX - hx); break;
          case 2: ref = MaxValue(ref, r.CenterX + hx); break;
          case 4: ref = MinValue(ref, r.CenterY - hy); break;
          default: ref = MaxValue(ref, r.CenterY + hy); break;
        }
      }
      for (std::int32_t i = 1; i <= n; ++i) {
        ObjectRecord& r = Objects[std::size_t(i)];
        float hx = 0, hy = 0;
        if (!AlignsByBox(r) || !HalfExtents(r, hx, hy)) continue;
        switch (mode) {
          case 1: r.CenterX = ref + hx; break;
          case 2: r.CenterX = ref - hx; break;
          case 4: r.CenterY = ref + hy; break;
          default: r.CenterY = ref - hy; break;
        }
      }
      break;
    }
    case 3:
    case 6:
    case 7:
    case 8: {
      const auto field = [mode](ObjectRecord& r) -> float& {
        switch (mode) {
          case 3: return r.CenterX;
          case 6: return r.CenterY;
          case 7: return r.Width;
          default: return r.Height;
        }
      };
      float ref = -1.0f;
      for (std::int32_t i = 1; i <= n; ++i) {
        ObjectRecord& r = Objects[std::size_t(i)];
        if (!AlignsByBox(r)) continue;
        ref = field(r);
        break;
      }
      if (ref == -1.0f) break;
      for (std::int32_t i = 1; i <= n; ++i) {
        ObjectRecord& r = Objects[std::size_t(i)];
        if (AlignsByBox(r)) field(r) = ref;
      }
      break;
    }
    case 9: {
      const float gx = m_st.GridSpaceX;
      const float gy = m_st.GridSpaceY;
      for (std::int32_t i = 1; i <= n; ++i) {
        ObjectRecord& r = Objects[std::size_t(i)];
        if (r.IsSelected == 0) continue;
        r.X1 = OntoGrid(r.X1, gx);
        r.Y1 = OntoGrid(r.Y1, gy);
        r.X2 = OntoGrid(r.X2, gx);
        r.Y2 = OntoGrid(r.Y2, gy);
        r.CenterX = OntoGrid(r.CenterX, gx);
        r.CenterY = OntoGrid(r.CenterY, gy);
        if (r.GeomType == GeomBox) {
          r.Width = BoxSizeOntoGrid(r.Width, gx);
          r.Height = BoxSizeOntoGrid(r.Height, gy);
        } else {
          // The box part of a line is not drawn; it only follows the grid.
          r.Width = EvenPitches(r.Width, gx);
          r.Height = EvenPitches(r.Height, gy);
        }
      }
      break;
    }
    default: return;
  }
  if (refresh) PaintSurface();
}

}  // namespace pv
