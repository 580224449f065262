#include "app/hosts.h"

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

template <typename T>
struct Slot {
  T fallback;
  T* current = nullptr;
  T& Get() { return current != nullptr ? *current : fallback; }
  T* Set(T* host) {
    T* old = current;
    current = host;
    return old;
  }
};

Slot<ShellSplashHost>& Splash() { static Slot<ShellSplashHost> s; return s; }
Slot<ShellWindowHost>& Window() { static Slot<ShellWindowHost> s; return s; }
Slot<ShellViewsHost>& Views() { static Slot<ShellViewsHost> s; return s; }
Slot<ShellStyleHost>& Style() { static Slot<ShellStyleHost> s; return s; }
Slot<ShellDocumentHost>& Document() { static Slot<ShellDocumentHost> s; return s; }
Slot<ShellPopUpHost>& PopUps() { static Slot<ShellPopUpHost> s; return s; }

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
