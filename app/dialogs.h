#pragma once
// Small helpers shared across the program: a value or its default, and the
// common open, save and printer-setup dialogs (platform/commondialogs.h) with
// the windows that show them.

#include "platform/commondialogs.h"

#include <QString>
#include <QVariant>

namespace pv {

// `defaultValue` when `value` is Null or only blanks, else its text without
// the blanks at both ends.
QString NullToDefault(const QVariant& value, const QString& defaultValue);

// The common dialogs as the program shows them (QFileDialog, a printer
// chooser over the print system); the composition root installs them.
class QtCommonDialogs : public CommonDialogHost {
 public:
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
  void ShowPrinterSetup() override;
};

}  // namespace pv
