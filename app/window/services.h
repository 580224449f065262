#pragma once
// What the main window's menus call outside the window (the document
// commands, the shutdown, the printer set-up, the Options and About boxes,
// the help and the online update), behind one interface so that tests can
// record the calls; and Qt's colour dialog behind the colour-dialog seam of
// platform/commondialogs.h. Both classes are the program's own; the
// composition root installs them.

#include "platform/commondialogs.h"
#include "platform/hostslot.h"

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace pv {

class MainWndCommands {
 public:
  virtual ~MainWndCommands() = default;
  virtual bool NewDocument();
  virtual bool OpenDocument();
  virtual bool SaveDocument(bool bSaveAs);
  virtual void ShowPrinterSetup();
  // Unloads the floating windows, writes the settings, empties the temp folder.
  virtual void SaveSettings();
  // Ends the program at once (no further question).
  virtual void EndProgram();
  // dlgOptions, modal.
  virtual void ShowOptions(QWidget* owner);
  // dlgAbout as the About box, modal.
  virtual void ShowAbout(QWidget* owner);
  // The help window: its contents, or its search.
  virtual void ShowHelp(QWidget* owner, bool search);
  // The online update: this installation has none; says so.
  virtual void LiveUpdate();
};
PV_DECLARE_HOST_SLOT(MainWndCommands)
MainWndCommands& Commands();
// Takes no ownership; nullptr puts the default back. Returns the previous one.
MainWndCommands* SetCommands(MainWndCommands* commands);

// The text of the online-update message.
QString LiveUpdateText();

// Qt's colour dialog, over the main window when no owner is given.
class QtColorDialog : public ColorDialogHost {
 public:
  std::optional<QColor> ChooseColor(const QColor& initial, QWidget* owner) override;
};

}  // namespace pv
