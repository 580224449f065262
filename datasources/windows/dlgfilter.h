#pragma once
// The filter dialog dlgFilter: the expression box, the field and operator
// lists with the operator's help, the stored expressions, and the syntax
// check on the caller's recordset (filtermodel.h). sFilter and RetCode are
// read after it closed; the close box is Cancel.

#include "datasources/models/filtermodel.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace pv {

class dlgFilter : public QDialog {
  Q_OBJECT
 public:
  explicit dlgFilter(QWidget* parent = nullptr);
  dlgFilterModel& Model() { return m_model; }

  // The expression box (Text1).
  void SetExpression(const QString& text);
  void AddField(const QString& sFieldName);
  void SetRecordset(SourceRecordset* recordset) { m_model.SetRecordset(recordset); }
  bool CheckSintax(bool bMode);

  QLineEdit* Text1() const { return m_text; }
  QListWidget* FieldList() const { return m_fieldList; }
  QListWidget* OperatorList() const { return m_operatorList; }
  QListWidget* StoredList() const { return m_storedList; }
  QLabel* Help() const { return m_help; }

  void done(int result) override;

 protected:
  // Enter or Space on an entry of a list does what its double-click does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FixHelpSize();
  void ReadBox();
  void SyncBox();
  void SyncStored();
  void Insert(const QString& entry);
  void Activate(QListWidget* list, QListWidgetItem* item);

  dlgFilterModel m_model;
  QLineEdit* m_text;
  QListWidget* m_fieldList;
  QListWidget* m_operatorList;
  QListWidget* m_storedList;
  QLabel* m_help;
};

}  // namespace pv
