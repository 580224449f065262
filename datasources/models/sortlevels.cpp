#include "datasources/models/sortlevels.h"

#include "platform/stringtable.h"

namespace pv {

namespace {

// The direction a clause ends with: 0 ascending, 1 descending, -1 none.
int ClauseDirection(const QString& clause) {
  const QString trimmed = clause.trimmed();
  const QString last = trimmed.section(QLatin1Char(' '), -1);
  if (last == QLatin1String("ASC")) return 0;
  if (last == QLatin1String("DESC")) return 1;
  return -1;
}

// The text between the first "[" and the "]" that closes it.
QString ClauseField(const QString& clause) {
  const qsizetype open = clause.indexOf(QLatin1Char('['));
  if (open < 0) return QString();
  const qsizetype close = clause.indexOf(QLatin1Char(']'), open + 1);
  if (close < 0) return QString();
  return clause.mid(open + 1, close - open - 1);
}

// The clauses of a sort string: split at commas outside brackets, a part
// without a direction joined to the next.
QStringList SplitClauses(const QString& sort) {
  QStringList clauses;
  QString current;
  bool inBracket = false;
  const QString s = sort + QLatin1Char(',');
  for (const QChar c : s) {
    if (c == QLatin1Char('[')) inBracket = true;
    if (c == QLatin1Char(']')) inBracket = false;
    if (c == QLatin1Char(',') && !inBracket) {
      if (ClauseDirection(current) >= 0) {
        clauses << current;
        current.clear();
        continue;
      }
    }
    current += c;
  }
  return clauses;
}

}  // namespace

OLEDBFilterModel::OLEDBFilterModel() {
  AddField(LoadResString(30104));
  for (Level& l : m_levels) l = Level{};
  m_levels[0].fieldEnabled = true;
  m_levels[0].field = 0;
}

void OLEDBFilterModel::AddField(const QString& sFieldName) { m_fields << sFieldName; }

QStringList OLEDBFilterModel::Orders() { return {LoadResString(30102), LoadResString(30103)}; }

QString OLEDBFilterModel::Caption(int level) {
  static constexpr int kCaptions[kLevels] = {26003, 26002, 26001, 26000};
  return LoadResString(kCaptions[level]);
}

void OLEDBFilterModel::ClickField(int k, int selection) {
  Level& level = m_levels[static_cast<size_t>(k)];
  level.field = selection;
  if (selection >= 1) {
    if (k < kLevels - 1) m_levels[static_cast<size_t>(k) + 1].fieldEnabled = true;
    if (level.order < 0) {
      level.orderEnabled = true;
      level.order = 0;
    }
    return;
  }
  for (int j = k + 1; j < kLevels; ++j) m_levels[static_cast<size_t>(j)] = Level{};
  level.orderEnabled = false;
  level.order = -1;
}

void OLEDBFilterModel::SelectOrder(int k, int selection) { m_levels[static_cast<size_t>(k)].order = selection; }

QString OLEDBFilterModel::GetSortString() const {
  QStringList clauses;
  for (const Level& l : m_levels) {
    if (l.field < 1 || l.field >= m_fields.size()) continue;
    clauses << QLatin1Char('[') + m_fields[l.field] + QLatin1Char(']') +
                   (l.order == 0 ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
  }
  return clauses.join(QStringLiteral(", "));
}

void OLEDBFilterModel::SetSortString(const QString& sFilter) {
  const QStringList clauses = SplitClauses(sFilter);
  const int count = static_cast<int>(std::min<qsizetype>(clauses.size(), kLevels));
  for (int i = 0; i < count; ++i) {
    Level& level = m_levels[static_cast<size_t>(i)];
    level.fieldEnabled = true;
    level.orderEnabled = true;
    level.order = ClauseDirection(clauses[i]);
    const qsizetype found = m_fields.indexOf(ClauseField(clauses[i]), 1);
    if (found >= 1) level.field = static_cast<int>(found);
  }
  for (int j = count; j < kLevels; ++j) m_levels[static_cast<size_t>(j)] = Level{};
  if (count < kLevels) {
    m_levels[static_cast<size_t>(count)].fieldEnabled = true;
    m_levels[static_cast<size_t>(count)].field = 0;
  }
}

}  // namespace pv
