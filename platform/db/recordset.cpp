#include "platform/db/recordset.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace pv {

namespace {

DbError ProviderError(const QSqlError& e) {
  QString text = e.databaseText();
  if (text.isEmpty()) text = e.driverText();
  if (text.isEmpty()) text = QStringLiteral("Errore non specificato");
  return DbError(DbErrProvider, text);
}

QString Unbracket(QString name) {
  name = name.trimmed();
  if ((name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']'))) ||
      (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))) {
    name = name.mid(1, name.size() - 2);
  }
  return name;
}

QVariant Stored(const QVariant& v) {
  if (v.metaType().id() == QMetaType::Bool) return QVariant(v.toBool() ? -1 : 0);
  return v;
}

}  // namespace

void Recordset::RequireOpen() const {
  if (!m_open) throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
}

void Recordset::RequireCurrent() const {
  RequireOpen();
  if (m_currentDeleted || m_pos < 0 || m_pos >= static_cast<long>(m_view.size())) {
    throw DbError(DbErrNoCurrentRecord,
                  QStringLiteral("BOF o EOF è True oppure il record corrente è stato eliminato."));
  }
}

QString Recordset::Quote(const QString& identifier) const {
  const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  if (db.driver() == nullptr) return identifier;
  return db.driver()->escapeIdentifier(identifier, QSqlDriver::FieldName);
}

void Recordset::Open(const QString& source, const QString& connectionName) {
  Close();
  m_source = source;
  m_connection = connectionName;
  try {
    Load();
  } catch (...) {
    Close();
    throw;
  }
  m_open = true;
  RebuildView();
  m_pos = 0;
}

void Recordset::Close() {
  m_open = false;
  m_source.clear();
  m_table.clear();
  m_fields.clear();
  m_keyFields.clear();
  m_refetch = false;
  m_rows.clear();
  m_view.clear();
  m_pos = -1;
  m_currentDeleted = false;
  m_filterText.clear();
  m_filter = Criteria();
  m_sortText.clear();
  m_sort.clear();
  m_mode = EditMode::None;
  m_buffer.clear();
  m_changed.clear();
}

void Recordset::Load() {
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  if (!db.isValid() || !db.isOpen()) {
    throw DbError(
        3709,
        QStringLiteral(
            "Impossibile utilizzare la connessione per eseguire l'operazione. La connessione è chiusa o non valida."));
  }
  static const QRegularExpression tableRe(QStringLiteral(R"(^\s*(\[[^\]]+\]|"[^"]+"|[A-Za-z_][\w$]*)\s*$)"));
  static const QRegularExpression selectRe(
      QStringLiteral(
          R"(^\s*SELECT\s+.+?\s+FROM\s+(\[[^\]]+\]|"[^"]+"|[A-Za-z_][\w$]*)\s*(?:(?:WHERE|ORDER|GROUP|HAVING|LIMIT)\b.*)?;?\s*$)"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  QString table;
  QString sql;
  if (const auto m = tableRe.match(m_source); m.hasMatch()) {
    table = Unbracket(m.captured(1));
    const QString quoted = db.driver()->escapeIdentifier(table, QSqlDriver::TableName);
    sql = QStringLiteral("SELECT * FROM ") + quoted;
  } else {
    sql = m_source;
    if (const auto s = selectRe.match(m_source); s.hasMatch()) table = Unbracket(s.captured(1));
  }

  QSqlQuery q(db);
  q.setForwardOnly(true);
  if (!q.exec(sql)) throw ProviderError(q.lastError());
  const QSqlRecord rec = q.record();
  QStringList fields;
  for (int i = 0; i < rec.count(); ++i) fields << rec.fieldName(i);
  std::vector<Row> rows;
  while (q.next()) {
    Row r;
    r.values.reserve(static_cast<size_t>(fields.size()));
    for (int i = 0; i < fields.size(); ++i) r.values.push_back(q.value(i));
    rows.push_back(std::move(r));
  }
  if (q.lastError().isValid()) throw ProviderError(q.lastError());

  // Can rows be written back, and how are they found again?
  std::vector<int> keys;
  bool refetch = false;
  if (!table.isEmpty()) {
    const QSqlRecord columns = db.record(table);
    refetch = columns.count() > 0 &&
              std::all_of(fields.cbegin(), fields.cend(), [&](const QString& f) { return columns.indexOf(f) >= 0; });
    const QSqlIndex pk = db.primaryIndex(table);
    for (int i = 0; i < pk.count(); ++i) {
      const int idx = FieldIndex(fields, pk.fieldName(i));
      if (idx < 0) {
        keys.clear();
        break;
      }
      keys.push_back(idx);
    }
    if (keys.empty() && !refetch) table.clear();  // rows could not be told apart
  }

  m_fields = fields;
  m_rows = std::move(rows);
  m_table = table;
  m_keyFields = std::move(keys);
  m_refetch = refetch;
}

void Recordset::RebuildView() {
  m_view.clear();
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
    if (!m_rows[static_cast<size_t>(i)].deleted) m_view.push_back(i);
  }
  if (!m_sort.empty()) {
    std::stable_sort(m_view.begin(), m_view.end(), [this](int a, int b) {
      for (const SortKey& k : m_sort) {
        const auto f = static_cast<size_t>(k.field);
        const int c = CompareValues(m_rows[static_cast<size_t>(a)].values[f], m_rows[static_cast<size_t>(b)].values[f]);
        if (c != 0) return k.descending ? c > 0 : c < 0;
      }
      return false;
    });
  }
  if (!m_filter.IsEmpty()) {
    std::erase_if(m_view, [this](int i) { return !m_filter.Matches(m_rows[static_cast<size_t>(i)].values); });
  }
  m_currentDeleted = false;
}

void Recordset::CommitPending() {
  if (m_mode != EditMode::None) Update();
}

bool Recordset::MoveFirst() {
  if (!m_open) return false;
  CommitPending();
  m_currentDeleted = false;
  m_pos = 0;
  return !m_view.empty();
}

bool Recordset::MoveLast() {
  if (!m_open) return false;
  CommitPending();
  m_currentDeleted = false;
  m_pos = m_view.empty() ? 0 : static_cast<long>(m_view.size()) - 1;
  return !m_view.empty();
}

bool Recordset::MoveNext() {
  if (!m_open || m_view.empty()) return false;
  CommitPending();
  const long n = static_cast<long>(m_view.size());
  if (m_currentDeleted) {
    m_currentDeleted = false;
  } else if (m_pos < n) {
    ++m_pos;
  }
  return m_pos >= 0 && m_pos < n;
}

bool Recordset::MovePrevious() {
  if (!m_open || m_view.empty()) return false;
  CommitPending();
  m_currentDeleted = false;
  if (m_pos >= 0) --m_pos;
  return m_pos >= 0 && m_pos < static_cast<long>(m_view.size());
}

bool Recordset::Bof() const { return !m_open || m_view.empty() || m_pos < 0; }

bool Recordset::Eof() const {
  return !m_open || m_view.empty() || (!m_currentDeleted && m_pos >= static_cast<long>(m_view.size()));
}

long Recordset::RecordCount() const { return m_open ? static_cast<long>(m_view.size()) : 0; }

long Recordset::AbsolutePosition() const {
  if (!m_open || m_currentDeleted || m_pos < 0 || m_pos >= static_cast<long>(m_view.size())) return 0;
  return m_pos + 1;
}

int Recordset::FieldCount() const {
  RequireOpen();
  return static_cast<int>(m_fields.size());
}

QStringList Recordset::FieldNames() const {
  RequireOpen();
  return m_fields;
}

QString Recordset::FieldName(int index) const {
  RequireOpen();
  if (index < 0 || index >= m_fields.size())
    throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme."));
  return m_fields[index];
}

bool Recordset::HasField(const QString& name) const { return m_open && FieldIndex(m_fields, name) >= 0; }

int Recordset::Index(const QString& name) const {
  RequireOpen();
  const int i = FieldIndex(m_fields, name);
  if (i < 0) throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme: ") + name);
  return i;
}

QVariant Recordset::Value(const QString& name) const { return Value(Index(name)); }

QVariant Recordset::Value(int index) const {
  RequireOpen();
  if (index < 0 || index >= m_fields.size())
    throw DbError(DbErrItemNotFound, QStringLiteral("Elemento non trovato nell'insieme."));
  if (m_mode != EditMode::None) return m_buffer[static_cast<size_t>(index)];
  RequireCurrent();
  return m_rows[static_cast<size_t>(m_view[static_cast<size_t>(m_pos)])].values[static_cast<size_t>(index)];
}

QString Recordset::Text(const QString& name) const {
  const QVariant v = Value(name);
  return v.isNull() ? QString() : v.toString();
}

bool Recordset::Flag(const QString& name) const {
  const QVariant v = Value(name);
  if (v.isNull() || !v.isValid()) return false;
  bool ok = false;
  const double d = v.toString().trimmed().toDouble(&ok);
  if (ok) return d != 0;
  return v.toBool();
}

void Recordset::SetValue(const QString& name, const QVariant& value) {
  const int i = Index(name);
  if (m_mode == EditMode::None) {
    RequireCurrent();
    if (m_table.isEmpty())
      throw DbError(DbErrNotUpdatable, QStringLiteral("Il Recordset corrente non supporta l'aggiornamento."));
    m_buffer = m_rows[static_cast<size_t>(m_view[static_cast<size_t>(m_pos)])].values;
    m_changed.assign(m_buffer.size(), false);
    m_mode = EditMode::Edit;
  }
  m_buffer[static_cast<size_t>(i)] = Stored(value);
  m_changed[static_cast<size_t>(i)] = true;
}

void Recordset::AddNew() {
  RequireOpen();
  if (m_table.isEmpty())
    throw DbError(DbErrNotUpdatable, QStringLiteral("Il Recordset corrente non supporta l'aggiornamento."));
  CommitPending();
  m_buffer.assign(static_cast<size_t>(m_fields.size()), QVariant());
  m_changed.assign(m_buffer.size(), false);
  m_mode = EditMode::Add;
}

void Recordset::CancelUpdate() {
  m_mode = EditMode::None;
  m_buffer.clear();
  m_changed.clear();
}

std::vector<QVariant> Recordset::FetchRow(const std::vector<QVariant>& keyValues, bool* found) const {
  *found = false;
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  QStringList cols;
  for (const QString& f : m_fields) cols << Quote(f);
  QStringList where;
  for (int k : m_keyFields) where << Quote(m_fields[k]) + QStringLiteral(" = ?");
  QSqlQuery q(db);
  q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(cols.join(QStringLiteral(", ")), Quote(m_table), where.join(QStringLiteral(" AND "))));
  for (const QVariant& v : keyValues) q.addBindValue(v);
  std::vector<QVariant> row;
  if (q.exec() && q.next()) {
    for (int i = 0; i < m_fields.size(); ++i) row.push_back(q.value(i));
    *found = true;
  }
  return row;
}

QString Recordset::RowWhere(const std::vector<QVariant>& old, std::vector<QVariant>* binds) const {
  std::vector<int> match = m_keyFields;
  if (match.empty()) {
    for (int i = 0; i < m_fields.size(); ++i) match.push_back(i);
  }
  QStringList where;
  for (int i : match) {
    const QVariant& v = old[static_cast<size_t>(i)];
    if (v.isNull()) {
      where << Quote(m_fields[i]) + QStringLiteral(" IS NULL");
    } else {
      where << Quote(m_fields[i]) + QStringLiteral(" = ?");
      binds->push_back(v);
    }
  }
  return where.join(QStringLiteral(" AND "));
}

void Recordset::Update() {
  RequireOpen();
  if (m_mode == EditMode::None) return;
  QSqlDatabase db = QSqlDatabase::database(m_connection, false);
  QSqlQuery q(db);
  const bool adding = m_mode == EditMode::Add;
  std::vector<QVariant> result = m_buffer;
  // Runs the prepared statement with its values; a failure cancels the edit
  // and is thrown.
  const auto Execute = [&](const std::vector<QVariant>& binds) {
    for (const QVariant& v : binds) q.addBindValue(v);
    if (!q.exec()) {
      const QSqlError e = q.lastError();
      CancelUpdate();
      throw ProviderError(e);
    }
  };

  if (adding) {
    QStringList cols, marks;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < m_buffer.size(); ++i) {
      if (!m_changed[i]) continue;
      cols << Quote(m_fields[static_cast<int>(i)]);
      marks << QStringLiteral("?");
      binds.push_back(m_buffer[i]);
    }
    const QString sql =
        cols.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quote(m_table))
                       : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                             .arg(Quote(m_table), cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    q.prepare(sql);
    Execute(binds);
    if (m_keyFields.size() == 1) {
      const auto k = static_cast<size_t>(m_keyFields[0]);
      if (result[k].isNull()) result[k] = q.lastInsertId();
    }
  } else {
    const auto rowIndex = static_cast<size_t>(m_view[static_cast<size_t>(m_pos)]);
    const std::vector<QVariant>& old = m_rows[rowIndex].values;
    QStringList sets;
    std::vector<QVariant> binds;
    for (size_t i = 0; i < m_buffer.size(); ++i) {
      if (!m_changed[i]) continue;
      sets << Quote(m_fields[static_cast<int>(i)]) + QStringLiteral(" = ?");
      binds.push_back(m_buffer[i]);
    }
    if (sets.isEmpty()) {
      CancelUpdate();
      return;
    }
    const QString where = RowWhere(old, &binds);
    q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(Quote(m_table), sets.join(QStringLiteral(", ")), where));
    Execute(binds);
    if (q.numRowsAffected() == 0) {
      CancelUpdate();
      throw DbError(DbErrRowNotFound, QStringLiteral("Impossibile trovare la riga da aggiornare: alcuni valori possono "
                                                     "essere stati modificati dopo l'ultima lettura."));
    }
  }

  if (m_refetch && !m_keyFields.empty()) {
    std::vector<QVariant> keyValues;
    for (int k : m_keyFields) keyValues.push_back(result[static_cast<size_t>(k)]);
    bool found = false;
    std::vector<QVariant> fresh = FetchRow(keyValues, &found);
    if (found) result = std::move(fresh);
  }

  if (adding) {
    m_rows.push_back(Row{std::move(result), false});
    m_view.push_back(static_cast<int>(m_rows.size()) - 1);
    m_pos = static_cast<long>(m_view.size()) - 1;
    m_currentDeleted = false;
  } else {
    m_rows[static_cast<size_t>(m_view[static_cast<size_t>(m_pos)])].values = std::move(result);
  }
  CancelUpdate();
}

void Recordset::Delete() {
  RequireCurrent();
  if (m_table.isEmpty())
    throw DbError(DbErrNotUpdatable, QStringLiteral("Il Recordset corrente non supporta l'aggiornamento."));
  CancelUpdate();
  const auto rowIndex = static_cast<size_t>(m_view[static_cast<size_t>(m_pos)]);
  const std::vector<QVariant>& old = m_rows[rowIndex].values;
  std::vector<QVariant> binds;
  const QString where = RowWhere(old, &binds);
  QSqlQuery q(QSqlDatabase::database(m_connection, false));
  q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2").arg(Quote(m_table), where));
  for (const QVariant& v : binds) q.addBindValue(v);
  if (!q.exec()) throw ProviderError(q.lastError());
  m_rows[rowIndex].deleted = true;
  m_view.erase(m_view.begin() + m_pos);
  m_currentDeleted = true;
}

void Recordset::SetFilter(const QString& criteria) {
  RequireOpen();
  Criteria parsed = Criteria::Parse(criteria, m_fields);
  CommitPending();
  m_filter = std::move(parsed);
  m_filterText = m_filter.IsEmpty() ? QString() : criteria;
  RebuildView();
  m_pos = 0;
}

bool Recordset::Find(const QString& criteria, long skip, bool forward) {
  RequireOpen();
  const Criteria c = Criteria::Parse(criteria, m_fields);
  CommitPending();
  const long n = static_cast<long>(m_view.size());
  long i;
  if (forward) {
    i = m_currentDeleted ? m_pos : std::max(0L, m_pos);
    i += skip;
  } else {
    i = m_currentDeleted ? m_pos - 1 : std::min(n - 1, m_pos);
    i -= skip;
  }
  m_currentDeleted = false;
  for (; forward ? i < n : i >= 0; forward ? ++i : --i) {
    if (i < 0 || i >= n) continue;
    if (c.Matches(m_rows[static_cast<size_t>(m_view[static_cast<size_t>(i)])].values)) {
      m_pos = i;
      return true;
    }
  }
  m_pos = forward ? n : -1;
  return false;
}

void Recordset::SetSort(const QString& sort) {
  RequireOpen();
  std::vector<SortKey> keys = ParseSort(sort, m_fields);
  CommitPending();
  m_sort = std::move(keys);
  m_sortText = m_sort.empty() ? QString() : sort;
  RebuildView();
  m_pos = 0;
}

void Recordset::Requery() {
  RequireOpen();
  CancelUpdate();
  Load();
  m_filter = Criteria::Parse(m_filterText, m_fields);
  m_sort = ParseSort(m_sortText, m_fields);
  RebuildView();
  m_pos = 0;
}

Recordset::Bookmark Recordset::GetBookmark() const {
  RequireCurrent();
  return m_view[static_cast<size_t>(m_pos)];
}

bool Recordset::SetBookmark(Bookmark bookmark) {
  RequireOpen();
  CommitPending();
  const auto it = std::find(m_view.begin(), m_view.end(), static_cast<int>(bookmark));
  if (it == m_view.end()) return false;
  m_pos = static_cast<long>(it - m_view.begin());
  m_currentDeleted = false;
  return true;
}

}  // namespace pv
