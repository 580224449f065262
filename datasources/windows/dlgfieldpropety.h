#pragma once
// The merge-field picker dlgFieldPropety (fieldpickermodel.h) and the one call
// that shows it: ShowMergeFieldPicker.

#include "datasources/models/fieldpickermodel.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace pv {

class dlgFieldPropety : public QDialog {
  Q_OBJECT
 public:
  explicit dlgFieldPropety(QWidget* parent = nullptr, dlgFieldPropetyModel::ColumnLister columns = {});
  dlgFieldPropetyModel& Model() { return m_model; }
  // Loads the dialog with the caller's preset (nullptr: a new field).
  void Load(const FieldPickerPreset* preset);
  // The public values after the dialog closed; an empty FieldName: cancelled.
  FieldPickerAnswer Answer() const { return m_answer; }

  QTreeWidget* TreeView1() const { return m_tree; }
  QTreeWidgetItem* TreeItem(const QString& key) const;
  QLineEdit* NameBox() const { return m_name; }
  QLineEdit* FormatBox() const { return m_format; }
  QListWidget* KindList() const { return m_kinds; }
  QListWidget* FormatList() const { return m_formats; }
  QPushButton* OKButton() const { return m_ok; }

  void done(int result) override;

 private:
  void BuildTree();
  void Sync();
  void SyncFormats();

  dlgFieldPropetyModel m_model;
  FieldPickerAnswer m_answer;
  QTreeWidget* m_tree;
  QLineEdit* m_name;
  QLineEdit* m_format;
  QListWidget* m_kinds;
  QListWidget* m_formats;
  QPushButton* m_ok;
};

// Loads the picker, shows it modally and returns its public values.
FieldPickerAnswer ShowMergeFieldPicker(const FieldPickerPreset* preset);

}  // namespace pv
