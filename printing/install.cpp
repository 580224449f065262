#include "printing/install.h"

#include "printing/engine.h"
#include "printing/panelhost.h"
#include "render/hosts.h"

namespace pv {
namespace {

// The label drawing asks the print run for field values and the preview's
// font scale.
class EnginePrintHost : public RenderPrintHost {
 public:
  QString GetFieldValue(QString& fieldName, QString& formatText) override {
    return PrintRun().GetFieldValue(fieldName, formatText);
  }
  float OCXFontRatio() override { return PrintControls().OCXFontRatio(); }
};

}  // namespace

void InstallPrintEngine() {
  static EnginePrintHost host;
  SetRenderPrintHost(&host);
}

}  // namespace pv
