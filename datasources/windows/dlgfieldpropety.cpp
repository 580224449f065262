#include "datasources/windows/dlgfieldpropety.h"

#include "core/database.h"
#include "datasources/windows/images.h"
#include "datasources/windows/okcancel.h"
#include "platform/stringtable.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <map>

namespace pv {

namespace {

constexpr int kKeyRole = Qt::UserRole;

}  // namespace

dlgFieldPropety::dlgFieldPropety(QWidget* parent, dlgFieldPropetyModel::ColumnLister columns)
    : QDialog(parent),
      m_model(rsRegistrations, std::move(columns)),
      m_tree(new QTreeWidget(this)),
      m_name(new QLineEdit(this)),
      m_format(new QLineEdit(this)),
      m_kinds(new QListWidget(this)),
      m_formats(new QListWidget(this)),
      m_ok(nullptr) {
  setWindowTitle(LoadResString(23000));
  m_tree->setObjectName(QStringLiteral("TreeView1"));
  m_tree->setHeaderHidden(true);
  m_name->setObjectName(QStringLiteral("Text1_0"));
  m_format->setObjectName(QStringLiteral("Text1_1"));
  m_kinds->setObjectName(QStringLiteral("List1_0"));
  m_formats->setObjectName(QStringLiteral("List1_1"));
  for (const auto& k : dlgFieldPropetyModel::Kinds()) {
    auto* item = new QListWidgetItem(k.text, m_kinds);
    item->setData(Qt::UserRole, k.kind);
  }
  QDialogButtonBox* buttons = OkCancelButtons(this, 23003, 23002, &m_ok);
  m_ok->setEnabled(false);

  auto* nameLabel = new QLabel(LoadResString(23006), this);
  nameLabel->setBuddy(m_name);
  auto* formatLabel = new QLabel(LoadResString(23004), this);
  formatLabel->setBuddy(m_format);
  auto* listLabel = new QLabel(LoadResString(23005), this);
  listLabel->setBuddy(m_formats);
  auto* grid = new QGridLayout(this);
  grid->addWidget(m_tree, 0, 0, 7, 1);
  grid->addWidget(nameLabel, 0, 1, 1, 2);
  grid->addWidget(m_name, 1, 1, 1, 2);
  grid->addWidget(formatLabel, 2, 1, 1, 2);
  grid->addWidget(m_format, 3, 1, 1, 2);
  grid->addWidget(listLabel, 4, 1, 1, 2);
  grid->addWidget(m_kinds, 5, 1);
  grid->addWidget(m_formats, 5, 2);
  grid->addWidget(buttons, 7, 0, 1, 3);
  m_kinds->setMaximumWidth(120);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(2, 3);
  resize(640, 420);

  connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    m_model.ClickNode(item->data(0, kKeyRole).toString());
    Sync();
  });
  connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_model.TypeName(text);
    Sync();
  });
  connect(m_format, &QLineEdit::textEdited, this, [this](const QString& text) { m_model.formatText = text; });
  connect(m_kinds, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    m_model.ClickKind(m_kinds->row(item));
    SyncFormats();
    Sync();
  });
  connect(m_formats, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    m_model.ClickFormat(m_formats->row(item));
    Sync();
  });
}

void dlgFieldPropety::Load(const FieldPickerPreset* preset) {
  m_model.Load(preset);
  BuildTree();
  SyncFormats();
  Sync();
}

QTreeWidgetItem* dlgFieldPropety::TreeItem(const QString& key) const {
  for (QTreeWidgetItemIterator it(m_tree); *it != nullptr; ++it) {
    if ((*it)->data(0, kKeyRole).toString() == key) return *it;
  }
  return nullptr;
}

void dlgFieldPropety::BuildTree() {
  m_tree->clear();
  const QIcon group(FieldTreePicture(1));
  const QIcon field(FieldTreePicture(2));
  std::map<QString, QTreeWidgetItem*> byKey;
  for (const FieldNode& n : m_model.Nodes()) {
    QTreeWidgetItem* parent = n.parentKey.isEmpty() ? nullptr : byKey[n.parentKey];
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
    item->setText(0, n.text);
    item->setData(0, kKeyRole, n.key);
    item->setIcon(0, n.image == 1 ? group : field);
    if (n.predefinedGroup) item->setForeground(0, QColor(0, 0, 255));
    if (n.broken) item->setDisabled(true);
    byKey[n.key] = item;
  }
  for (const FieldNode& n : m_model.Nodes()) {
    if (n.expanded) byKey[n.key]->setExpanded(true);
  }
}

void dlgFieldPropety::Sync() {
  const QSignalBlocker b1(m_formats);
  m_name->setText(m_model.nameText);
  m_name->setEnabled(m_model.nameEnabled);
  m_format->setText(m_model.formatText);
  m_ok->setEnabled(m_model.okEnabled);
  m_kinds->setCurrentRow(m_model.kindSelection);
  m_formats->setCurrentRow(m_model.formatSelection);
}

void dlgFieldPropety::SyncFormats() {
  const QSignalBlocker block(m_formats);
  m_formats->clear();
  for (const FormatEntry& f : m_model.Formats()) {
    auto* item = new QListWidgetItem(f.sample, m_formats);
    item->setData(Qt::UserRole, f.id);
  }
}

void dlgFieldPropety::done(int result) {
  m_model.formatText = m_format->text();
  m_answer = result == QDialog::Accepted ? m_model.Ok() : m_model.Cancel();
  QDialog::done(result);
}

FieldPickerAnswer ShowMergeFieldPicker(const FieldPickerPreset* preset) {
  dlgFieldPropety dialog(QApplication::activeWindow());
  dialog.Load(preset);
  dialog.exec();
  return dialog.Answer();
}

}  // namespace pv
