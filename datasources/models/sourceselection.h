#pragma once
// The data-source selection control OLEDBSourceSelection without its widgets:
// the type list, the file box with its browse button, the choice between a
// table of the database and a user query, and the optional user and
// password. It lists the tables of Access and Excel files, builds the
// connection string of a choice and shows a stored registration again.
//
// Setting a value from code runs the same reaction as the user's change.
// dBASE and Paradox files chosen by browsing are split into the folder (the
// file box) and the table name (the query box).

#include "datasources/readers/sourcereader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace pv {

class OLEDBSourceSelectionModel {
 public:
  using ReaderFactory = std::function<std::unique_ptr<SourceReader>(const SourceLocation&)>;

  struct TypeEntry {
    QString text;
    int code = 0;
  };
  struct Choice {
    bool enabled = false;
    bool checked = false;
  };

  // Readers come from OpenSourceReader unless a factory is given (tests).
  explicit OLEDBSourceSelectionModel(ReaderFactory factory = {});

  // Combo1(0): the type list and its selection.
  static const std::vector<TypeEntry>& Types();
  int typeIndex = -1;
  // Selects a type entry; runs Combo1_Click(0).
  void SelectType(int index);

  // Text1(0): the file box.
  QString fileText;
  bool fileEnabled = false;
  bool fileLocked = false;
  // The browse button (Command1) and the file the open dialog holds.
  void Browse() { LoadTabledata(true); }
  QString browseFilter;
  QString dialogFileName;

  // Option1(0) table, Option1(1) query.
  Choice tableOption;
  Choice queryOption;
  void ChooseOption(int index);

  // Combo1(1): the table list, shown while the table option is chosen.
  QStringList tables;
  int tableIndex = -1;
  bool tableListEnabled = false;
  bool tableListVisible = false;
  void ClickTableList();

  // Text1(1): the query box, shown while the query option is chosen.
  QString queryText;
  bool queryEnabled = false;
  bool queryVisible = true;

  // Check1, Text1(2), Text1(3).
  bool usePassword = false;
  QString user;
  QString password;

  QString GetConnectionString() const;
  QString GetDataBase() const { return fileText; }
  int GetDataBaseType() const;
  void LoadTabledata(bool bMode);
  QString SetDataBase(const QString& sDatabase);
  QString GetRecordset() const;
  int GetRecordsetType() const;
  void SetValue(const QString& sDatabase, int iDataBaseFormat, const QString& sRecordset, int iRecordsetType);

 private:
  void ResetInputData();
  void TypeReaction();
  void LoadAccessTable();
  void SplitFileName();

  ReaderFactory m_factory;
};

}  // namespace pv
