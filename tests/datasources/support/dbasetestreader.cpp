#include "support/dbasetestreader.h"

#include "platform/cp1252.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <shapefil.h>

namespace pv::test {

namespace {

struct Dbf {
  explicit Dbf(const QString& file) : h(DBFOpen(QFile::encodeName(file).constData(), "rb")) {
    if (h == nullptr) throw DbError(DbErrProvider, QStringLiteral("File dBASE non leggibile: ") + file);
  }
  ~Dbf() { DBFClose(h); }
  Dbf(const Dbf&) = delete;
  Dbf& operator=(const Dbf&) = delete;
  DBFHandle h;
};

std::vector<SourceColumn> ColumnsOf(DBFHandle h) {
  std::vector<SourceColumn> out;
  for (int i = 0; i < DBFGetFieldCount(h); ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    int width = 0, decimals = 0;
    DBFGetFieldInfo(h, i, name, &width, &decimals);
    ColumnType type = ColumnType::Text;
    switch (DBFGetNativeFieldType(h, i)) {
      case 'N': case 'F': type = decimals > 0 ? ColumnType::Double : ColumnType::Integer; break;
      case 'D': type = ColumnType::Date; break;
      case 'L': type = ColumnType::Boolean; break;
      default: break;
    }
    out.push_back({FromAnsi(QByteArray(name)), type});
  }
  return out;
}

}  // namespace

DBaseTestReader::DBaseTestReader(const QString& folder) : m_folder(folder) {
  if (!QFileInfo(folder).isDir()) throw DbError(DbErrProvider, QStringLiteral("Cartella non trovata: ") + folder);
}

QStringList DBaseTestReader::Tables() {
  QStringList out;
  for (const QFileInfo& f : QDir(m_folder).entryInfoList(QDir::Files)) {
    if (f.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0) out << f.completeBaseName();
  }
  return out;
}

QString DBaseTestReader::TableFile(const QString& table) {
  for (const QFileInfo& f : QDir(m_folder).entryInfoList(QDir::Files)) {
    if (f.suffix().compare(QLatin1String("dbf"), Qt::CaseInsensitive) == 0 &&
        f.completeBaseName().compare(table, Qt::CaseInsensitive) == 0) {
      return f.filePath();
    }
  }
  throw DbError(DbErrProvider, QStringLiteral("Tabella non trovata: ") + table);
}

std::vector<SourceColumn> DBaseTestReader::Columns(const QString& table) {
  Dbf dbf(TableFile(table));
  return ColumnsOf(dbf.h);
}

SourceTable DBaseTestReader::ReadTable(const QString& table) {
  Dbf dbf(TableFile(table));
  SourceTable out;
  out.columns = ColumnsOf(dbf.h);
  const int fields = static_cast<int>(out.columns.size());
  for (int r = 0; r < DBFGetRecordCount(dbf.h); ++r) {
    if (DBFIsRecordDeleted(dbf.h, r)) continue;
    std::vector<QVariant> row;
    for (int f = 0; f < fields; ++f) {
      if (DBFIsAttributeNULL(dbf.h, r, f)) {
        row.emplace_back();
        continue;
      }
      const QByteArray raw = QByteArray(DBFReadStringAttribute(dbf.h, r, f)).trimmed();
      switch (out.columns[static_cast<size_t>(f)].type) {
        case ColumnType::Integer: row.emplace_back(raw.toLongLong()); break;
        case ColumnType::Double: row.emplace_back(raw.toDouble()); break;
        case ColumnType::Date: {
          const QDate d = QDate::fromString(QString::fromLatin1(raw), QStringLiteral("yyyyMMdd"));
          row.push_back(d.isValid() ? QVariant(d) : QVariant());
          break;
        }
        case ColumnType::Boolean: row.emplace_back(!raw.isEmpty() && QByteArray("TtYy").contains(raw[0])); break;
        default: row.emplace_back(FromAnsi(raw)); break;
      }
    }
    out.rows.push_back(std::move(row));
  }
  return out;
}

std::unique_ptr<SourceReader> OpenToolSourceReader(const SourceLocation& location) {
  try {
    return OpenSourceReader(location);
  } catch (const DbError&) {
    if (location.kind != SourceKind::DBase) throw;
    return std::make_unique<DBaseTestReader>(location.path);
  }
}

}  // namespace pv::test
