#include "datasources/tablecache.h"

#include <QDateTime>
#include <QFileInfo>

#include <deque>
#include <mutex>

namespace pv {

namespace {

constexpr size_t kMaxTables = 16;

struct Entry {
  QString connection;
  QString table;  // in upper case: names match in any case
  QString file;
  QDateTime modified;
  qint64 size = 0;
  std::shared_ptr<const SourceTable> rows;
};

std::mutex g_mutex;
std::deque<Entry> g_entries;  // oldest first

}  // namespace

std::shared_ptr<const SourceTable> ReadTableCached(SourceReader& reader, const QString& connection,
                                                   const QString& table) {
  const QString file = reader.TableFile(table);
  if (file.isEmpty()) return std::make_shared<const SourceTable>(reader.ReadTable(table));
  const QString key = table.toUpper();
  QFileInfo info(file);
  const QDateTime modified = info.lastModified();
  const qint64 size = info.size();
  {
    std::lock_guard lock(g_mutex);
    for (const Entry& e : g_entries) {
      if (e.connection == connection && e.table == key && e.file == file && e.modified == modified && e.size == size) {
        return e.rows;
      }
    }
  }
  // The copy kept of the table as it was goes before the table is read
  // again: the program holds one copy of it, not two, and the read takes
  // the memory the old copy leaves.
  const auto same = [&](const Entry& e) { return e.connection == connection && e.table == key; };
  {
    std::lock_guard lock(g_mutex);
    std::erase_if(g_entries, same);
  }
  auto rows = std::make_shared<const SourceTable>(reader.ReadTable(table));
  std::lock_guard lock(g_mutex);
  std::erase_if(g_entries, same);
  g_entries.push_back(Entry{connection, key, file, modified, size, rows});
  while (g_entries.size() > kMaxTables) g_entries.pop_front();
  return rows;
}

void ClearTableCache() {
  std::lock_guard lock(g_mutex);
  g_entries.clear();
}

int TableCacheSize() {
  std::lock_guard lock(g_mutex);
  return static_cast<int>(g_entries.size());
}

}  // namespace pv
