#pragma once
// The settings the label editor follows (SETTING/AUTO_INSERT, GRID_X,
// GRID_Y, SHOW_GRID, SHOW_RULE, SNAP), live from the program's settings.
#include "editor/services.h"

namespace pv {

class ProgramEditorServices : public EditorServices {
 public:
  std::int16_t AutoInsert() override;
  float GridX() override;
  float GridY() override;
  bool ShowGrid() override;
  bool ShowRule() override;
  bool Snap() override;
};

}  // namespace pv
