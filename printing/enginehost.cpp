#include "printing/enginehost.h"

#include "printing/engine.h"
#include "printing/panelhost.h"

namespace pv {

QString EnginePrintHost::GetFieldValue(QString& fieldName, QString& formatText) {
  return PrintRun().GetFieldValue(fieldName, formatText);
}

float EnginePrintHost::OCXFontRatio() { return PrintControls().OCXFontRatio(); }

}  // namespace pv
