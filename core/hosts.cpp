#include "core/hosts.h"

#include "core/settings.h"
#include "document/labelfile.h"
#include "document/model.h"

namespace pv {

bool ShellWindowHost::Load() { return LoadSettings(); }

double ShellDocumentHost::LabelWidth() const { return Header.LabelWidth; }
double ShellDocumentHost::LabelHeight() const { return Header.LabelHeight; }
QString ShellDocumentHost::LabelFormatCode() const { return Header.LabelFormatCode; }
void ShellDocumentHost::SetLabelSize(double width, double height) {
  Header.LabelWidth = width;
  Header.LabelHeight = height;
}
void ShellDocumentHost::SetLabelFormatCode(const QString& code) { Header.LabelFormatCode = code; }
void ShellDocumentHost::ClearNames() {
  BackgroundName = FixedName(QString());
  BorderName = FixedName(QString());
  DocFileName.clear();
}
void ShellDocumentHost::NewDocument() { pv::NewDocument(); }

PV_DEFINE_HOST_SLOT(ShellSplashHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ShellSplashHost, ShellSplash, SetShellSplashHost)
PV_DEFINE_HOST_SLOT(ShellWindowHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ShellWindowHost, ShellWindow, SetShellWindowHost)
PV_DEFINE_HOST_SLOT(ShellViewsHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ShellViewsHost, ShellViews, SetShellViewsHost)
PV_DEFINE_HOST_SLOT(ShellStyleHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ShellStyleHost, ShellStyle, SetShellStyleHost)
PV_DEFINE_HOST_SLOT(ShellDocumentHost, Headless)
PV_DEFINE_HOST_ACCESSORS(ShellDocumentHost, ShellDocument, SetShellDocumentHost)
PV_DEFINE_HOST_SLOT(ShellPopUpHost, Wired)
PV_DEFINE_HOST_ACCESSORS(ShellPopUpHost, ShellPopUps, SetShellPopUpHost)

}  // namespace pv
