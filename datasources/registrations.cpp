#include "datasources/registrations.h"

#include "datasources/connectionstring.h"

namespace pv {

QString EffectiveConnectionString(const Registration& registration) {
  return EffectiveConnectionString(registration.connectionString, registration.system);
}

Registration RegistrationStore::Current() const {
  Registration r;
  r.id = m_rs.Value(QStringLiteral("ID")).toLongLong();
  r.label = m_rs.Text(QStringLiteral("Label"));
  r.system = m_rs.Flag(QStringLiteral("System"));
  r.connectionString = m_rs.Text(QStringLiteral("ConnectionString"));
  r.recordSetName = m_rs.Text(QStringLiteral("RecordSetName"));
  r.sourceName = m_rs.Text(QStringLiteral("SourceName"));
  r.sourceType = m_rs.Value(QStringLiteral("SourceType")).toInt();
  r.sourceFormat = m_rs.Value(QStringLiteral("Sourceformat")).toInt();
  return r;
}

std::optional<Registration> RegistrationStore::Find(qint64 id) {
  if (!m_rs.MoveFirst()) return std::nullopt;
  if (!m_rs.Find(QStringLiteral("ID = %1").arg(id))) return std::nullopt;
  return Current();
}

std::vector<Registration> RegistrationStore::All() {
  std::vector<Registration> out;
  for (bool more = m_rs.MoveFirst(); more; more = m_rs.MoveNext()) out.push_back(Current());
  return out;
}

void RegistrationStore::WriteFields(const Registration& r) {
  m_rs.SetValue(QStringLiteral("Label"), r.label);
  m_rs.SetValue(QStringLiteral("ConnectionString"), r.connectionString);
  m_rs.SetValue(QStringLiteral("RecordSetName"), r.recordSetName);
  m_rs.SetValue(QStringLiteral("SourceName"), r.sourceName);
  m_rs.SetValue(QStringLiteral("SourceType"), r.sourceType);
  m_rs.SetValue(QStringLiteral("Sourceformat"), r.sourceFormat);
  m_rs.Update();
}

qint64 RegistrationStore::Add(const Registration& registration) {
  m_rs.AddNew();
  WriteFields(registration);
  const qint64 id = m_rs.Value(QStringLiteral("ID")).toLongLong();
  m_rs.Requery();
  return id;
}

void RegistrationStore::FindWritable(qint64 id) {
  const auto found = Find(id);
  if (!found) throw DbError(DbErrNoCurrentRecord, QStringLiteral("Registrazione %1 non trovata.").arg(id));
  if (found->system) throw DbError(DbErrNotUpdatable, QStringLiteral("Impossibile modificare un archivio di sistema."));
}

void RegistrationStore::Rewrite(qint64 id, const Registration& registration) {
  FindWritable(id);
  WriteFields(registration);
  m_rs.Requery();
}

void RegistrationStore::Remove(qint64 id) {
  FindWritable(id);
  m_rs.Delete();
  m_rs.Requery();
}

}  // namespace pv
