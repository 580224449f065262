#include "app/hosts.h"

#include "app/settings.h"
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
PV_DEFINE_HOST_SLOT(ShellWindowHost, Wired)
PV_DEFINE_HOST_SLOT(ShellViewsHost, Wired)
PV_DEFINE_HOST_SLOT(ShellStyleHost, Wired)
PV_DEFINE_HOST_SLOT(ShellDocumentHost, Headless)
PV_DEFINE_HOST_SLOT(ShellPopUpHost, Wired)

ShellSplashHost& ShellSplash() { return Slot<ShellSplashHost>().Get(); }
ShellWindowHost& ShellWindow() { return Slot<ShellWindowHost>().Get(); }
ShellViewsHost& ShellViews() { return Slot<ShellViewsHost>().Get(); }
ShellStyleHost& ShellStyle() { return Slot<ShellStyleHost>().Get(); }
ShellDocumentHost& ShellDocument() { return Slot<ShellDocumentHost>().Get(); }
ShellPopUpHost& ShellPopUps() { return Slot<ShellPopUpHost>().Get(); }

ShellSplashHost* SetShellSplashHost(ShellSplashHost* host) { return Slot<ShellSplashHost>().Set(host); }
ShellWindowHost* SetShellWindowHost(ShellWindowHost* host) { return Slot<ShellWindowHost>().Set(host); }
ShellViewsHost* SetShellViewsHost(ShellViewsHost* host) { return Slot<ShellViewsHost>().Set(host); }
ShellStyleHost* SetShellStyleHost(ShellStyleHost* host) { return Slot<ShellStyleHost>().Set(host); }
ShellDocumentHost* SetShellDocumentHost(ShellDocumentHost* host) { return Slot<ShellDocumentHost>().Set(host); }
ShellPopUpHost* SetShellPopUpHost(ShellPopUpHost* host) { return Slot<ShellPopUpHost>().Set(host); }

}  // namespace pv
