#include "datasources/windows/dlgselectsource.h"

#include "datasources/windows/oledbsourceselection.h"
#include "datasources/windows/mnemonic.h"
#include "datasources/windows/okcancel.h"
#include "platform/stringtable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pv {

dlgSelectSource::dlgSelectSource(QWidget* parent, OLEDBSourceSelectionModel::ReaderFactory factory)
    : QDialog(parent),
      m_model(std::move(factory)),
      m_name(new QLineEdit(this)),
      m_selection(new OLEDBSourceSelection(m_model.Selection(), this)) {
  setWindowTitle(LoadResString(30105));
  m_name->setObjectName(QStringLiteral("Text1"));
  m_selection->setObjectName(QStringLiteral("OLEDBSourceSelection1"));
  QDialogButtonBox* buttons = OkCancelButtons(this, 30107, 30108);
  auto* layout = new QVBoxLayout(this);
  auto* nameCaption = new QLabel(WithMnemonic(LoadResString(30106), u'N'), this);
  nameCaption->setBuddy(m_name);
  layout->addWidget(nameCaption);
  layout->addWidget(m_name);
  layout->addWidget(m_selection);
  layout->addWidget(buttons);
}

void dlgSelectSource::SetValue() {
  m_model.SetValue();
  m_name->setText(m_model.nameText);
  m_selection->Sync();
}

void dlgSelectSource::done(int result) {
  if (result == QDialog::Accepted) {
    m_model.nameText = m_name->text();
    m_selection->ReadBoxes();
    if (!m_model.Ok()) return;
  } else {
    m_model.Cancel();
  }
  QDialog::done(result);
}

}  // namespace pv
