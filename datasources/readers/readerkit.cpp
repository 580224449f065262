#include "datasources/readers/readerkit.h"

#include "platform/cp1252.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace pv {

void ThrowSourceError(const QString& text) { throw DbError(DbErrProvider, text); }

void ThrowUnreadableFile(const QString& path, const QString& what, const QString& why) {
  QString text = QStringLiteral("Il file \"%1\" non è %2 leggibile.").arg(path, what);
  if (!why.isEmpty()) text += QLatin1Char(' ') + why;
  ThrowSourceError(text);
}

qsizetype MatchName(const QStringList& names, const QString& wanted) {
  const qsizetype exact = names.indexOf(wanted);
  if (exact >= 0) return exact;
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (names[i].compare(wanted, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

void RequireReadableFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) ThrowSourceError(QStringLiteral("Il file \"%1\" non esiste.").arg(path));
  if (!info.isFile() || !info.isReadable())
    ThrowSourceError(QStringLiteral("Il file \"%1\" non si può leggere.").arg(path));
}

namespace {

QFileInfoList FolderTableInfos(const QString& folder, const QString& extension) {
  const QDir dir(folder);
  if (folder.isEmpty() || !dir.exists()) ThrowSourceError(QStringLiteral("La cartella \"%1\" non esiste.").arg(folder));
  QFileInfoList found;
  for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Readable)) {
    if (info.suffix().compare(extension, Qt::CaseInsensitive) == 0 && !info.completeBaseName().isEmpty())
      found.append(info);
  }
  return found;
}

}  // namespace

QStringList FolderTables(const QString& folder, const QString& extension) {
  QStringList names;
  for (const QFileInfo& info : FolderTableInfos(folder, extension)) names.append(info.completeBaseName());
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return names;
}

QString FolderTableFile(const QString& folder, const QString& table, const QString& extension) {
  const QFileInfoList files = FolderTableInfos(folder, extension);
  QStringList names;
  for (const QFileInfo& info : files) names.append(info.completeBaseName());
  const qsizetype found = MatchName(names, table);
  if (found < 0)
    ThrowSourceError(QStringLiteral("La tabella \"%1\" non esiste nella cartella \"%2\".").arg(table, folder));
  return files[found].filePath();
}

QString SiblingFile(const QString& table, const QString& extension) {
  const QFileInfo info(table);
  try {
    return FolderTableFile(info.path(), info.completeBaseName(), extension);
  } catch (const DbError&) {
    return {};
  }
}

CodePageText::CodePageText(int codePage) : m_codePage(codePage) {
  if (m_codePage == 0) m_codePage = 1252;
  if (m_codePage == 1252 || m_codePage == 65001 || m_codePage == 28591) return;
  QByteArray name = m_codePage >= 1250 && m_codePage <= 1258 ? "windows-" : "IBM";
  name += QByteArray::number(m_codePage);
  auto decoder = std::make_shared<QStringDecoder>(name.constData());
  if (decoder->isValid()) m_decoder = std::move(decoder);
}

QString CodePageText::Decode(QByteArrayView bytes) const {
  if (m_codePage == 65001) return QString::fromUtf8(bytes);
  if (m_codePage == 28591) return QString::fromLatin1(bytes);
  if (m_decoder == nullptr) return FromAnsi(bytes.data(), bytes.size());
  m_decoder->resetState();
  return m_decoder->decode(bytes);
}

QDateTime DateTimeFromSerial(double serial) {
  // Far beyond any calendar (about 270,000 years), or not a number: no date.
  if (!(std::fabs(serial) < 1e8)) return {};
  // Serial dates before the base count whole days back but the time forward.
  const double days = std::trunc(serial);
  const qint64 msecs = std::llround(std::fabs(serial - days) * 86400000.0);
  const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
  return QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(msecs);
}

QDateTime TimeOfDay(QTime time) { return QDateTime(QDate(1899, 12, 30), time, Qt::UTC); }

}  // namespace pv
