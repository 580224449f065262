#include "properties/fillwindow.h"

#include "platform/commondialogs.h"
#include "properties/linewindow.h"
#include "properties/popupeditor.h"
#include "render/libraries.h"

#include <cmath>

namespace pv {

namespace {
constexpr std::array<FillKindInfo, FillKindCount> kKinds = {{
    {15066, 0, 0, 0, 0, false, 2},
    {15067, 0, 1, 1, 15063, false, 1},
    {15068, 6, 140, 1, 15063, true, 0},
    {15069, 6, 146, 2, 15064, true, 0},
    {15070, 24, 146, 0, 0, true, 0},
    {15071, 113, 27, 0, 0, true, 0},
    {15072, 6, 2, 1, 15063, false, 0},
    {15073, 19, 8, 2, 15065, false, 0},
}};

constexpr std::array<std::array<int, 6>, 12> kPresets = {{
    {255, 255, 30, 200, 150, 150},
    {0, 250, 250, 50, 150, 100},
    {200, 250, 200, 50, 200, 200},
    {200, 250, 250, 20, 30, 250},
    {250, 250, 0, 250, 150, 0},
    {250, 200, 0, 250, 250, 150},
    {0, 0, 250, 120, 0, 50},
    {250, 250, 150, 255, 0, 0},
    {30, 30, 250, 180, 180, 180},
    {40, 30, 250, 250, 150, 50},
    {250, 200, 150, 255, 150, 50},
    {30, 255, 255, 50, 150, 255},
}};

std::int32_t Long(Colour c) { return static_cast<std::int32_t>(c); }
}  // namespace

const FillKindInfo& FillKindOf(int kind) { return kKinds[static_cast<std::size_t>(std::clamp(kind, 0, 7))]; }

int FillKindOfCode(std::int64_t code) {
  if (code == 0) return 0;
  if (code == 1) return 1;
  if (code >= 2 && code <= 7) return 6;
  if (code >= 8 && code <= 26) return 7;
  if (code >= 27 && code <= 139) return 5;
  if (code >= 140 && code <= 145) return 2;
  if (code >= 146 && code <= 151) return 3;
  return -1;
}

int FillCodeOfCell(int kind, int index) {
  switch (kind) {
    case 2: return 139 + index;
    case 3: return 145 + index;
    case 4: return index <= 12 ? 146 : 147;
    case 5: return 26 + index;
    case 6: return 1 + index;
    case 7: return 7 + index;
    default: return FillKindOf(kind).code;
  }
}

int GradientTypeOfItem(int item) {
  static constexpr std::array<int, 6> types = {100, 101, 102, 104, 105, 106};
  return types[static_cast<std::size_t>(std::clamp(item, 1, 6) - 1)];
}

ColourPair GradientPreset(int pair) {
  const auto& p = kPresets[static_cast<std::size_t>(std::clamp(pair, 1, 12) - 1)];
  return {Long(Rgb(p[0], p[1], p[2])), Long(Rgb(p[3], p[4], p[5]))};
}

bool FillLayoutOf(int mode, FillLayout& layout) {
  constexpr auto px = [](int twips) { return static_cast<int>(std::lround(twips / 15.0)); };
  switch (mode) {
    case 0: layout = {true, px(4150), px(4900)}; return true;
    case 1: layout = {false, px(1100), px(1850)}; return true;
    case 2: layout = {false, px(700), px(1450)}; return true;
    default: return false;
  }
}

FillWindowModel::FillWindowModel() : m_grid(ImageGridVariant::ImageList, this) {
  m_grid.pSelectMode = true;
  m_grid.BitmapX = 40;
  m_grid.BitmapY = 40;
  m_grid.SpaceX = 6;
  m_grid.SpaceY = 6;
  m_grid.nBitmap = 113;
  m_grid.EvidMode = 1;
}

void FillWindowModel::Apply(std::int32_t FillStyleCode, std::int32_t BackColor1In, std::int32_t Backcolor2In,
                            std::int16_t TransparenceIn) {
  BackColor1 = BackColor1In;
  Backcolor2 = Backcolor2In;
  Transparence = TransparenceIn;
  Slider = TransparenceIn;
  FillStyle = ClampToInteger(FillStyleCode);
  // The whole stored value decides: a code beyond 16 bits is no fill of the
  // table, whatever its low bits.
  const int kind = FillKindOfCode(FillStyleCode);
  if (kind >= 0) {
    FillKind = kind;
    FillMark = kind <= 1 ? Mark::Yes : Mark::No;
  }
  if (FillKind >= 0) KindChange(FillKind, false);
  // For several objects these are the current style's, not theirs: nothing
  // goes back until the user changes it.
  Color1Mark = Mark::No;
  Color2Mark = Mark::No;
  OpacityMark = Mark::No;
  m_grid.Paint();
}

void FillWindowModel::ChooseKind(int kind) {
  if (kind < 0 || kind >= FillKindCount) return;
  KindChange(kind, true);
}

void FillWindowModel::KindChange(int kind, bool byUser) {
  const FillKindInfo& info = FillKindOf(kind);
  m_grid.nBitmap = static_cast<std::int16_t>(info.cells);
  SliderEnabled = info.slider;
  if (!info.slider) {
    Slider = 100;
    Transparence = 100;
    if (byUser) OpacityMark = Mark::Yes;
  }
  FillStyle = static_cast<std::int16_t>(info.code);
  LayoutMode = info.layout;
  if (kind <= 1) FillMark = Mark::Yes;
  FillKind = kind;
  m_grid.Selected(-1);
  m_grid.Paint();
}

void FillWindowModel::PaintImage(std::int16_t Index, std::int16_t X1, std::int16_t Y1, std::int16_t X2, std::int16_t Y2,
                                 ImageSurface& Pic) {
  RenderLibraries& lib = Libraries();
  const Rect rect{X1, Y1, X2, Y2};
  const auto c1 = static_cast<Colour>(BackColor1);
  const auto c2 = static_cast<Colour>(Backcolor2);
  switch (FillKind) {
    case 2:
    case 3: lib.ColmoGradient(Pic.dc(), c1, c2, &rect, GradientTypeOfItem(Index), 0, FillKind == 2 ? 1 : 0, 100); break;
    case 4: {
      const ColourPair pair = GradientPreset(Index <= 12 ? Index : Index - 12);
      lib.ColmoGradient(Pic.dc(), static_cast<Colour>(pair.first), static_cast<Colour>(pair.second), &rect,
                        Index <= 12 ? 100 : 101, 0, 0, 100);
      break;
    }
    case 5: lib.ColmoTexture(Pic.dc(), &rect, Index, 100); break;
    case 6: lib.LineoRectangle(Pic.dc(), &rect, 0.0, Index + 1, c1, c2, 100); return;
    case 7: lib.LineoRectangle(Pic.dc(), &rect, 0.0, Index + 7, c1, c2, 100); return;
    default: return;
  }
  DrawCellFrame(Pic, X1, Y1, X2, Y2);
}

void FillWindowModel::ClickImage(std::int16_t Index) {
  if (FillKind < 0) return;
  FillMark = Mark::Yes;
  FillStyle = static_cast<std::int16_t>(FillCodeOfCell(FillKind, Index));
  if (FillKind == 4) {
    const ColourPair pair = GradientPreset(Index <= 12 ? Index : Index - 12);
    BackColor1 = pair.first;
    Backcolor2 = pair.second;
    Color1Mark = Mark::Yes;
    Color2Mark = Mark::Yes;
  }
}

bool FillWindowModel::ClickColor(int n, QWidget* owner) {
  // The dialog leaves the colour as it was on a cancel.
  if (!ShowColorDialog(n == 0 ? BackColor1 : Backcolor2, owner)) return false;
  (n == 0 ? Color1Mark : Color2Mark) = Mark::Yes;
  m_grid.Paint();
  return true;
}

void FillWindowModel::MoveSlider(int value) {
  Slider = value;
  Transparence = ClampToInteger(value);
  OpacityMark = Mark::Yes;
}

void FillWindowModel::Command1_Click() {
  PopUpEditor& editor = PopUpEditorHost();
  const int d = Default ? 1 : 0;
  editor.SavedDoc();
  if (Marked(FillMark)) editor.Apply(500, QVariant(static_cast<int>(FillStyle)), d, false);
  if (Marked(Color1Mark)) editor.Apply(501, QVariant(BackColor1), d, false);
  if (Marked(Color2Mark)) editor.Apply(502, QVariant(Backcolor2), d, false);
  if (Marked(OpacityMark)) editor.Apply(503, QVariant(static_cast<int>(Transparence)), d, false);
  editor.Apply(0, QVariant(0), 0, true);
}

}  // namespace pv
