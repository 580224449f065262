#pragma once
// The common open, save and printer-setup dialogs as the program calls them,
// over one seam: CommonDialogHost shows the dialog itself (the shell installs
// the real windows; tests answer for them).

#include "platform/hostslot.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace pv {

// The open and save dialogs. `filter` is "description|pattern|..." (a
// pattern may list several masks separated by ";"). On a choice, fileName
// receives the chosen path and the result is the filter index chosen (1 for
// the first); on Cancel or any failure the result is -1 and fileName is left
// as it was. The open dialog accepts only a file that exists; the save
// dialog asks before replacing a file and adds `defaultExt` to a name
// without extension.
int ShowOpenDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title);
int ShowSaveDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title);

// The printer-setup dialog: the printer chosen there (and its paper) becomes
// the printer of the print jobs. Every failure, Cancel included, is silent.
void ShowPrinterSetup();

// The filter in the form of the file dialogs ("Etichetta (*.lab)" ...).
QStringList FileDialogFilters(const QString& filter);

// What the file dialogs are shown with.
struct FileDialogRequest {
  bool save = false;
  QString defaultExt;
  QStringList filters;
  int filterIndex = 1;  // 1-based
  QString fileName;
  QString title;
};
struct FileDialogResult {
  QString fileName;
  int filterIndex = 1;  // 1-based
};

// The dialogs themselves. The default shows nothing: every dialog is
// cancelled.
class CommonDialogHost {
 public:
  virtual ~CommonDialogHost() = default;
  // Nothing on Cancel.
  virtual std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request);
  virtual void ShowPrinterSetup();
};
PV_DECLARE_HOST_SLOT(CommonDialogHost)

CommonDialogHost& CommonDialogs();
// Takes no ownership; returns the previous instance; nullptr = the default.
CommonDialogHost* SetCommonDialogHost(CommonDialogHost* host);

}  // namespace pv
