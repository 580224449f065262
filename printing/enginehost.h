#pragma once
// The print engine's side of the label drawing: merge field values from the
// print run and the preview's font scale from the print panel's controls.
// The composition root installs one (app/wiring.cpp); tests and tools that
// print through the engine install their own.
#include "render/hosts.h"

namespace pv {

class EnginePrintHost : public RenderPrintHost {
 public:
  QString GetFieldValue(QString& fieldName, QString& formatText) override;
  float OCXFontRatio() override;
};

}  // namespace pv
