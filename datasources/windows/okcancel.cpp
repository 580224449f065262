#include "datasources/windows/okcancel.h"

#include "platform/stringtable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace pv {

QDialogButtonBox* OkCancelButtons(QDialog* dialog, int okCaption, int cancelCaption, QPushButton** ok) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* okButton = buttons->addButton(LoadResString(okCaption), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(LoadResString(cancelCaption), QDialogButtonBox::RejectRole);
  okButton->setObjectName(QStringLiteral("OKButton"));
  cancel->setObjectName(QStringLiteral("CancelButton"));
  okButton->setDefault(true);
  cancel->setAutoDefault(false);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  if (ok != nullptr) *ok = okButton;
  return buttons;
}

}  // namespace pv
