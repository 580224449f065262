#include "properties/windows/propertypickers.h"

#include "core/database.h"
#include "core/settings.h"
#include "datasources/windows/dlgfieldpropety.h"
#include "properties/windows/codebardialogwidget.h"
#include "properties/windows/pickerwindows.h"

#include <QApplication>

namespace pv {

FieldPickerAnswer PropertyPickers::ShowFieldPicker(const FieldPickerPreset* preset) {
  return ShowMergeFieldPicker(preset);
}

QString PropertyPickers::ShowClipArt() {
  ClipArtPickerWindow window(ClipArtRoot(ProgramSettings().DefaultPath), ReadClipCategories(rsClipCategory),
                             QApplication::activeWindow());
  window.exec();
  return window.model().ClipFileName;
}

std::int16_t PropertyPickers::ShowShapePicker() {
  ShapePickerWindow window(QApplication::activeWindow());
  window.exec();
  return window.model().RetCode;
}

QString PropertyPickers::ShowBackGround(bool bMode) {
  BackgroundPickerWindow window(QApplication::activeWindow());
  window.SetMode(bMode);
  window.exec();
  return window.model().FileName;
}

ArrayAnswer PropertyPickers::ShowArray() {
  ArrayWindow window(QApplication::activeWindow());
  window.exec();
  return window.model().Answer;
}

std::int16_t PropertyPickers::ShowCodeBar() {
  CodeBarDialog dialog(QApplication::activeWindow());
  dialog.SetData();
  dialog.exec();
  return dialog.model().RetCode;
}

}  // namespace pv
