#pragma once
// Small helpers shared across the program: a value or its default
// (core/nulltodefault.h), and the common open, save and printer-setup dialogs
// (platform/commondialogs.h) with the windows that show them.

#include "core/nulltodefault.h"
#include "platform/commondialogs.h"

#include <QString>
#include <QVariant>

namespace pv {

// The common dialogs as the program shows them (QFileDialog, a printer
// chooser over the print system); the composition root installs them.
class QtCommonDialogs : public CommonDialogHost {
 public:
  std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) override;
  void ShowPrinterSetup() override;
};

}  // namespace pv
