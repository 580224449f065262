#pragma once
// The merge-field picker dlgFieldPropety without its widgets: the tree of
// the predefined fields and of every registration's columns, the name box
// with its predefined mark, the format-code box, the kinds of formatting
// codes and their live samples.
//
// Registration nodes are keyed by ID, so two registrations with the same
// label both appear; one whose source does not open keeps its node, marked
// broken and without fields, and the build goes on.

#include "datasources/sourcerecordset.h"
#include "editor/pickers.h"
#include "platform/db/recordset.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace pv {

struct Registration;

struct FieldNode {
  QString key;
  QString text;
  int image = 1;  // 1 group, 2 field
  QString parentKey;
  bool field = false;     // can be chosen (the tag "FIELD")
  bool expanded = false;  // a group shown open
  bool broken = false;    // a registration whose source did not open
  bool predefinedGroup = false;
};

struct FormatEntry {
  QString sample;
  qint64 id = 0;
};

class dlgFieldPropetyModel {
 public:
  using ColumnLister = std::function<QStringList(const Registration&)>;

  // `registrations`: the shared recordset over rst_registrations; columns
  // come from RegistrationColumns unless a lister is given (tests).
  explicit dlgFieldPropetyModel(Recordset& registrations, ColumnLister columns = {});

  // Loads the dialog: the captions' values, the kind list and the tree; then
  // the caller's preset (nothing preset: both boxes empty).
  void Load(const FieldPickerPreset* preset);
  void LoadDatabaseField();

  const std::vector<FieldNode>& Nodes() const { return m_nodes; }
  const FieldNode* Node(const QString& key) const;
  void ClickNode(const QString& key);

  // Text1(0) with its mark (Tag), and Text1(1).
  QString nameText;
  bool nameEnabled = true;
  QString nameTag;
  void SetNameText(const QString& text);
  // The user typed into the name box.
  void TypeName(const QString& text);
  QString formatText;
  bool okEnabled = false;

  // List1(0), the kinds, and List1(1), the codes of the kind chosen.
  struct Kind {
    QString text;
    int kind = 0;
  };
  static std::vector<Kind> Kinds();
  int kindSelection = -1;
  void ClickKind(int index);
  void LoadStandardFormat(int code);
  const std::vector<FormatEntry>& Formats() const { return m_formats; }
  int formatSelection = -1;
  void ClickFormat(int index);
  void ShowStandardFormat(qint64 idField);

  FieldPickerAnswer Ok();
  FieldPickerAnswer Cancel();

  // The public values, kept from one use of the dialog to the next.
  static QString& FieldName();
  static QString& FieldFormat();
  // The caption of the group the user last picked from (for the run).
  static QString& LastFieldSource();

 private:
  Recordset& m_registrations;
  ColumnLister m_columns;
  std::vector<FieldNode> m_nodes;
  std::vector<FormatEntry> m_formats;
};

}  // namespace pv
