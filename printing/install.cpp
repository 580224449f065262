#include "printing/install.h"

#include "printing/panelhost.h"
#include "render/hosts.h"

namespace pv {
namespace {

// Field values stay the default (field names) until a data source merges.
class EnginePrintHost : public RenderPrintHost {
 public:
  float OCXFontRatio() override { return PrintControls().OCXFontRatio(); }
};

}  // namespace

void InstallPrintEngine() {
  static EnginePrintHost host;
  SetRenderPrintHost(&host);
}

}  // namespace pv
