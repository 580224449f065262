#pragma once
// The OK and Cancel buttons of the data-source dialogs: captions from the
// string table, OK the default, wired to accept and reject.

class QDialog;
class QDialogButtonBox;
class QPushButton;

namespace pv {

QDialogButtonBox* OkCancelButtons(QDialog* dialog, int okCaption, int cancelCaption, QPushButton** ok = nullptr);

}  // namespace pv
