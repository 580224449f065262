#pragma once
// The sort control OLEDBFilter without its widgets: four levels, each a field
// list and a direction list, and their conversion to and from a sort string
// ("[Nome] ASC, [Città] DESC").
//
// Every field list holds "(Nessuno)" as entry 0 and then the fields in the
// order AddField gave them. A level is in use when its field selection is 1
// or more. The click rule keeps enabled exactly the levels in use and the one
// after the last of them; every level after one not in use is disabled and
// cleared.

#include <QString>
#include <QStringList>

#include <array>

namespace pv {

class OLEDBFilterModel {
 public:
  static constexpr int kLevels = 4;

  struct Level {
    int field = -1;  // selection of the field list; -1 none
    bool fieldEnabled = false;
    int order = -1;  // 0 "Ascendente", 1 "Discendente", -1 none
    bool orderEnabled = false;
  };

  OLEDBFilterModel();

  // Appends a field to the field lists of all levels.
  void AddField(const QString& sFieldName);
  // The entries of every field list ("(Nessuno)" first).
  const QStringList& Fields() const { return m_fields; }
  static QStringList Orders();
  // The level's captions.
  static QString Caption(int level);

  const Level& level(int k) const { return m_levels[static_cast<size_t>(k)]; }
  // The user (or code) selects entry `selection` of level k's field list.
  void ClickField(int k, int selection);
  void SelectOrder(int k, int selection);

  QString GetSortString() const;
  // Sets the levels from a sort string. Clauses are separated by commas
  // outside brackets; a clause ends with its direction, the last word "ASC"
  // or "DESC" (a part without one is joined to the next). The field is the
  // text between the first "[" and its "]", matched exactly against the
  // list. Clauses after the fourth are ignored.
  void SetSortString(const QString& sFilter);

 private:
  QStringList m_fields;
  std::array<Level, kLevels> m_levels;
};

}  // namespace pv
