#include "app/hosts.h"
#include "platform/hostslot.h"

#include "app/settings.h"
#include "document/labelfile.h"
#include "document/model.h"

#include <utility>

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

namespace {


HostSlot<ShellSplashHost>& Splash() { static HostSlot<ShellSplashHost> s; return s; }
HostSlot<ShellWindowHost>& Window() { static HostSlot<ShellWindowHost> s; return s; }
HostSlot<ShellViewsHost>& Views() { static HostSlot<ShellViewsHost> s; return s; }
HostSlot<ShellStyleHost>& Style() { static HostSlot<ShellStyleHost> s; return s; }
HostSlot<ShellDocumentHost>& Document() { static HostSlot<ShellDocumentHost> s; return s; }
HostSlot<ShellPopUpHost>& PopUps() { static HostSlot<ShellPopUpHost> s; return s; }

}  // namespace

ShellSplashHost& ShellSplash() { return Splash().Get(); }
ShellWindowHost& ShellWindow() { return Window().Get(); }
ShellViewsHost& ShellViews() { return Views().Get(); }
ShellStyleHost& ShellStyle() { return Style().Get(); }
ShellDocumentHost& ShellDocument() { return Document().Get(); }
ShellPopUpHost& ShellPopUps() { return PopUps().Get(); }

ShellSplashHost* SetShellSplashHost(ShellSplashHost* host) { return Splash().Set(host); }
ShellWindowHost* SetShellWindowHost(ShellWindowHost* host) { return Window().Set(host); }
ShellViewsHost* SetShellViewsHost(ShellViewsHost* host) { return Views().Set(host); }
ShellStyleHost* SetShellStyleHost(ShellStyleHost* host) { return Style().Set(host); }
ShellDocumentHost* SetShellDocumentHost(ShellDocumentHost* host) { return Document().Set(host); }
ShellPopUpHost* SetShellPopUpHost(ShellPopUpHost* host) { return PopUps().Set(host); }

}  // namespace pv
