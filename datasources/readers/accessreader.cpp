// Access databases (.mdb), read with mdbtools.
#include "datasources/readers/accessvalues.h"
#include "datasources/readers/readerkit.h"

#include "platform/exactdecimal.h"

#include <mdbtools.h>

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <memory>
#include <optional>

namespace pv {

namespace {

constexpr int kJet3PageSize = 2048;
constexpr int kJet4PageSize = 4096;

// Where a Jet 4 column definition keeps its extra flags; the two high bits
// mark a calculated column (Access 2010), whose row holds its last result.
constexpr int kExtraFlagsAt = 16;
constexpr unsigned char kCalculatedFlags = 0xc0;
// What a memo's row holds of it: its length and where it stands.
constexpr int kLongValuePointer = 12;

// How a column is read: its type in the file (for a calculated column, the
// type of its result) and whether its values are results of a calculation.
struct ColumnReading {
  int type = 0;
  bool calculated = false;
  bool shortDate = false;
};

// mdbtools walks the map of a table's pages without looking at its size: a
// map shorter than its head (a kind byte and the first page it covers), or
// of a kind it does not know, would send it astray.
bool MapIsSound(const MdbTableDef* def) {
  return def->usage_map != nullptr && def->map_sz >= 5 && def->usage_map[0] <= 1;
}

class AccessReader : public SourceReader {
 public:
  explicit AccessReader(const QString& path) : m_path(path) {
    RequireReadableFile(path);
    m_pages = CheckHeader();
    m_handle.reset(mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS));
    m_mdb = m_handle.get();
    if (m_mdb == nullptr) Fail(QString());
    CheckCatalogueMap();
    if (mdb_read_catalog(m_mdb, MDB_TABLE) == nullptr) Fail(QStringLiteral("Il catalogo non si legge."));
    for (unsigned int i = 0; i < m_mdb->num_catalog; ++i) {
      auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
      const QString name = QString::fromUtf8(entry->object_name);
      if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry) ||
          name.startsWith(QStringLiteral("MSys"), Qt::CaseInsensitive))
        continue;
      m_tables.push_back(entry);
    }
  }
  AccessReader(const AccessReader&) = delete;
  AccessReader& operator=(const AccessReader&) = delete;

  QStringList Tables() override {
    QStringList names;
    for (MdbCatalogEntry* entry : m_tables) names.append(QString::fromUtf8(entry->object_name));
    return names;
  }

  std::vector<SourceColumn> Columns(const QString& table) override {
    Definition definition(*this, Find(table));
    return definition.columns;
  }

  SourceTable ReadTable(const QString& table) override {
    TableCollector collector;
    ReadTableRows(table, collector);
    return collector.Take();
  }

  void ReadTableRows(const QString& table, RowSink& sink) override {
    Definition definition(*this, Find(table));
    sink.Columns(definition.columns);
    MdbTableDef* def = definition.def;
    mdb_rewind_table(def);
    std::vector<QVariant> row;
    while (mdb_fetch_row(def)) {
      row.clear();
      row.reserve(definition.columns.size());
      for (unsigned int c = 0; c < def->num_cols; ++c)
        row.push_back(Value(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c)), definition.readings[c]));
      sink.Row(row);
    }
  }

  QString TableFile(const QString& table) override {
    Find(table);
    return m_path;
  }

 private:
  // A table definition read for one call, freed at its end.
  struct Definition {
    Definition(AccessReader& reader, MdbCatalogEntry* entry) {
      if (entry->table_pg == 0 || entry->table_pg >= reader.m_pages)
        reader.Fail(QStringLiteral("Tabella danneggiata."));
      def = mdb_read_table(entry);
      if (def == nullptr) reader.Fail(QStringLiteral("Tabella danneggiata."));
      if (!MapIsSound(def)) {
        mdb_free_tabledef(def);
        reader.Fail(QStringLiteral("La mappa delle pagine della tabella è danneggiata."));
      }
      if (mdb_read_columns(def) == nullptr || def->columns->len != def->num_cols) {
        mdb_free_tabledef(def);
        reader.Fail(QStringLiteral("Colonne danneggiate."));
      }
      const std::vector<std::pair<int, unsigned char>> flags = reader.ExtraFlags(entry, def);
      for (unsigned int c = 0; c < def->num_cols; ++c) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
        ColumnReading reading{column->col_type, false, mdb_col_is_shortdate(column) != 0};
        for (const auto& [number, extra] : flags) {
          if (number != column->col_num) continue;
          reading.calculated = (extra & kCalculatedFlags) != 0;
          break;
        }
        // The type of a calculated column's result stands in its properties
        // too; where it does, it is the one that counts.
        if (reading.calculated) {
          bool known = false;
          const int resultType = QByteArray(mdb_col_get_prop(column, "ResultType")).toInt(&known);
          if (known) reading.type = resultType;
        }
        readings.push_back(reading);
        columns.push_back({QString::fromUtf8(column->name), JetColumnType(reading.type, reading.shortDate)});
      }
    }
    ~Definition() { mdb_free_tabledef(def); }
    Definition(const Definition&) = delete;
    Definition& operator=(const Definition&) = delete;

    MdbTableDef* def = nullptr;
    std::vector<SourceColumn> columns;
    std::vector<ColumnReading> readings;
  };

  // Each column's number and extra flags, which libmdb does not keep: the
  // column definitions read again where libmdb reads them, after the table
  // definition's head and its index entries, on its page and the pages that
  // continue it (each after a head of 8 bytes). Files before Jet 4 have no
  // extra flags.
  std::vector<std::pair<int, unsigned char>> ExtraFlags(MdbCatalogEntry* entry, MdbTableDef* def) {
    std::vector<std::pair<int, unsigned char>> flags;
    const MdbFormatConstants* format = m_mdb->fmt;
    const int entrySize = format->tab_col_entry_size;
    if (m_mdb->f->jet_version == MDB_VER_JET3 || entrySize <= kExtraFlagsAt) return flags;
    const qint64 start = format->tab_cols_start_offset + qint64{def->num_real_idxs} * format->tab_ridx_entry_size;
    const qint64 end = start + qint64{def->num_cols} * entrySize;
    // No table's definition runs so long; a damaged count of indexes would.
    if (end > 64 * kJet4PageSize) return flags;
    QByteArray definition;
    quint64 page = entry->table_pg;
    for (quint64 pages = 0; definition.size() < end && page != 0 && page < m_pages && pages < m_pages; ++pages) {
      if (mdb_read_pg(m_mdb, page) <= 0) break;
      const char* bytes = reinterpret_cast<const char*>(m_mdb->pg_buf);
      definition.append(definition.isEmpty() ? bytes : bytes + 8,
                        definition.isEmpty() ? kJet4PageSize : kJet4PageSize - 8);
      page = static_cast<quint32>(mdb_get_int32(m_mdb->pg_buf, 4));
    }
    for (qint64 at = start; at + entrySize <= std::min<qint64>(end, definition.size()); at += entrySize) {
      flags.emplace_back(static_cast<unsigned char>(definition[at + format->col_num_offset]),
                         static_cast<unsigned char>(definition[at + kExtraFlagsAt]));
    }
    return flags;
  }

  [[noreturn]] void Fail(const QString& why) const {
    ThrowUnreadableFile(m_path, QStringLiteral("un database Access"), why);
  }

  // mdbtools reads its catalogue (the table whose definition is on page 2)
  // without the checks the user's tables get here: its map of pages is
  // checked first, read as mdbtools reads it.
  void CheckCatalogueMap() {
    MdbCatalogEntry catalogue{};
    catalogue.mdb = m_mdb;
    catalogue.object_type = MDB_TABLE;
    catalogue.table_pg = 2;
    MdbTableDef* def = mdb_read_table(&catalogue);
    if (def == nullptr) Fail(QStringLiteral("Il catalogo non si legge."));
    const bool sound = MapIsSound(def);
    mdb_free_tabledef(def);
    if (!sound) Fail(QStringLiteral("La mappa delle pagine del catalogo è danneggiata."));
  }

  // Only files that look like Access databases reach mdbtools: the header
  // page, a known version, and whole pages.
  quint64 CheckHeader() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) Fail(QString());
    const QByteArray head = file.read(kJet3PageSize);
    if (head.size() < 0x20 || head[0] != 0) Fail(QString());
    const QByteArray signature = head.mid(4, 16);
    if (signature != QByteArray("Standard Jet DB\0", 16) && signature != QByteArray("Standard ACE DB\0", 16))
      Fail(QString());
    const int version = static_cast<unsigned char>(head[0x14]);
    if (version > 0x06) Fail(QStringLiteral("Versione sconosciuta."));
    const qint64 pageSize = version == 0 ? kJet3PageSize : kJet4PageSize;
    if (file.size() < 3 * pageSize || file.size() % pageSize != 0) Fail(QStringLiteral("Il file è troncato."));
    return static_cast<quint64>(file.size() / pageSize);
  }

  MdbCatalogEntry* Find(const QString& table) {
    const qsizetype found = MatchName(Tables(), table);
    if (found < 0)
      ThrowSourceError(QStringLiteral("La tabella \"%1\" non esiste nel database \"%2\".").arg(table, m_path));
    return m_tables[static_cast<size_t>(found)];
  }

  QVariant Value(MdbColumn* column, const ColumnReading& reading) const {
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    // A logical keeps its value where other columns keep "not Null".
    if (column->col_type == MDB_BOOL) {
      // libmdb gives no place for a calculated logical's stored result.
      if (reading.calculated) return {};
      return length == 0;
    }
    if (length == 0) return {};
    if (start < 0 || length < 0 || start + length > kJet4PageSize) return {};
    const QByteArrayView bytes(reinterpret_cast<const char*>(m_mdb->pg_buf) + start, length);
    const bool jet3 = m_mdb->f->jet_version == MDB_VER_JET3;
    if (reading.calculated) {
      if (column->col_type != MDB_MEMO) return JetCalculatedValue(reading.type, bytes, reading.shortDate);
      // A long text's result stands where a memo's text does.
      const std::optional<QByteArray> stored = jet3 ? std::nullopt : LongValueBytes(bytes);
      return stored ? JetCalculatedValue(MDB_TEXT, *stored, false) : QVariant();
    }
    switch (column->col_type) {
      case MDB_NUMERIC: {
        // A sign byte and 16 of digits; Access keeps at most 28 digits.
        if (length < 17 || column->col_scale > 28 || column->col_prec > 28) return {};
        char* text = mdb_numeric_to_string(m_mdb, start, column->col_scale, column->col_prec);
        const auto value = ExactDecimal::FromText(QString::fromLatin1(text));
        g_free(text);
        return value ? QVariant::fromValue(*value) : QVariant();
      }
      case MDB_TEXT:
        if (!jet3) return JetText(bytes);
        [[fallthrough]];
      case MDB_MEMO: {
        if (column->col_type == MDB_MEMO && length < kLongValuePointer) return {};
        if (column->col_type == MDB_MEMO && !jet3) {
          if (const std::optional<QByteArray> memo = LongValueBytes(bytes)) return JetText(*memo);
        }
        // Memos over several pages, and the text of older files.
        char* text = mdb_col_to_string(m_mdb, m_mdb->pg_buf, start, column->col_type, length);
        QString value = QString::fromUtf8(text);
        g_free(text);
        return value;
      }
      default:
        // The other values of a fixed size; pictures, binary and other long
        // values read as Null.
        return JetFixedValue(column->col_type, bytes, reading.shortDate);
    }
  }

  // The bytes of a long value (a memo) from the 12 bytes of its row: its
  // length, whose high bit says the value follows in the row and the next
  // that it stands in one row of another page (named at 4, page << 8 | row).
  // None for a value over several pages, and where a place or length does
  // not fit.
  std::optional<QByteArray> LongValueBytes(QByteArrayView pointer) const {
    if (pointer.size() < kLongValuePointer) return std::nullopt;
    const quint32 head = qFromLittleEndian<quint32>(pointer.data());
    const qsizetype size = head & 0x3fffffff;
    if ((head & 0x80000000u) != 0) {
      if (size > pointer.size() - kLongValuePointer) return std::nullopt;
      return pointer.sliced(kLongValuePointer, size).toByteArray();
    }
    if ((head & 0x40000000u) == 0) return std::nullopt;
    const quint32 pageRow = qFromLittleEndian<quint32>(pointer.data() + 4);
    if ((pageRow >> 8) == 0 || (pageRow >> 8) >= m_pages) return std::nullopt;
    void* page = nullptr;
    int at = 0;
    size_t rowSize = 0;
    if (mdb_find_pg_row(m_mdb, static_cast<int>(pageRow), &page, &at, &rowSize) != 0 || page == nullptr || at < 0 ||
        rowSize < static_cast<size_t>(size) || at + size > kJet4PageSize)
      return std::nullopt;
    return QByteArray(static_cast<const char*>(page) + at, size);
  }

  QString m_path;
  quint64 m_pages = 0;
  std::unique_ptr<MdbHandle, decltype(&mdb_close)> m_handle{nullptr, &mdb_close};
  MdbHandle* m_mdb = nullptr;
  std::vector<MdbCatalogEntry*> m_tables;
};

}  // namespace

std::unique_ptr<SourceReader> OpenAccessFile(const QString& path) { return std::make_unique<AccessReader>(path); }

}  // namespace pv
