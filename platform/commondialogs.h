#pragma once
// The common open, save, printer-setup and colour dialogs as the program
// calls them, over two seams: CommonDialogHost and ColorDialogHost show the
// dialog itself (the shell installs the real windows; tests answer for
// them). The windows that use them depend on this layer, not on the main
// window.

#include "platform/hostslot.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class QWidget;

namespace pv {

// The open and save dialogs. `filter` is "description|pattern|..." (a
// pattern may list several masks separated by ";"). On a choice, fileName
// receives the chosen path and the result is the filter index chosen (1 for
// the first); on Cancel or any failure the result is -1 and fileName is left
// as it was. The open dialog accepts only a file that exists; the save
// dialog asks before replacing a file and adds `defaultExt` to a name
// without extension.
// `kind` says which files the dialog is for: a dialog given no folder in
// `fileName` opens in the folder last used for that kind of file.
enum class FileKind { Other, Labels, Pictures, DataFiles };
int ShowOpenDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title,
                   FileKind kind = FileKind::Other);
int ShowSaveDialog(const QString& defaultExt, const QString& filter, QString& fileName, const QString& title,
                   FileKind kind = FileKind::Other);

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
  FileKind kind = FileKind::Other;
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

// Colours of the program: 0x00BBGGRR.
QColor ColorFromLong(std::int32_t color);
std::int32_t LongFromColor(const QColor& color);

// The colour dialog, starting from `color`; on OK `color` takes the choice
// and the result is true; on Cancel nothing changes and the result is false.
bool ShowColorDialog(std::int32_t& color, QWidget* owner = nullptr);

// The colour dialog itself: the choice, or nothing on Cancel. The default
// shows nothing: the dialog is cancelled.
class ColorDialogHost {
 public:
  virtual ~ColorDialogHost() = default;
  virtual std::optional<QColor> ChooseColor(const QColor& initial, QWidget* owner);
};
PV_DECLARE_HOST_SLOT(ColorDialogHost)
ColorDialogHost& ColorDialogs();
// Takes no ownership; nullptr puts the default back. Returns the previous one.
ColorDialogHost* SetColorDialogHost(ColorDialogHost* host);

}  // namespace pv
