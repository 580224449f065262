// Access databases (.mdb), read with mdbtools.
#include "datasources/readers/readerkit.h"

#include "platform/exactdecimal.h"

#include <mdbtools.h>

#include <QFile>

#include <memory>

namespace pv {

namespace {

constexpr int kJet3PageSize = 2048;
constexpr int kJet4PageSize = 4096;

ColumnType TypeOf(MdbColumn* column) {
  switch (column->col_type) {
    case MDB_BOOL: return ColumnType::Boolean;
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT: return ColumnType::Integer;
    case MDB_FLOAT:
    case MDB_DOUBLE: return ColumnType::Double;
    case MDB_MONEY:
    case MDB_NUMERIC: return ColumnType::Decimal;
    case MDB_DATETIME: return mdb_col_is_shortdate(column) ? ColumnType::Date : ColumnType::DateTime;
    default: return ColumnType::Text;
  }
}

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
        row.push_back(Value(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c))));
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
      for (unsigned int c = 0; c < def->num_cols; ++c) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(def->columns, c));
        columns.push_back({QString::fromUtf8(column->name), TypeOf(column)});
      }
    }
    ~Definition() { mdb_free_tabledef(def); }
    Definition(const Definition&) = delete;
    Definition& operator=(const Definition&) = delete;

    MdbTableDef* def = nullptr;
    std::vector<SourceColumn> columns;
  };

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

  QVariant Value(MdbColumn* column) const {
    const unsigned char* page = static_cast<const unsigned char*>(m_mdb->pg_buf);
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    // A logical keeps its value where other columns keep "not Null".
    if (column->col_type == MDB_BOOL) return length == 0;
    if (length == 0) return {};
    auto fits = [&](int size) { return start >= 0 && length >= size && start + size <= kJet4PageSize; };
    switch (column->col_type) {
      case MDB_BYTE: return fits(1) ? QVariant(qint64{page[start]}) : QVariant();
      case MDB_INT:
        return fits(2) ? QVariant(qint64{static_cast<qint16>(mdb_get_int16(m_mdb->pg_buf, start))}) : QVariant();
      case MDB_LONGINT:
        return fits(4) ? QVariant(qint64{static_cast<qint32>(mdb_get_int32(m_mdb->pg_buf, start))}) : QVariant();
      case MDB_FLOAT: return fits(4) ? QVariant(double{mdb_get_single(m_mdb->pg_buf, start)}) : QVariant();
      case MDB_DOUBLE: return fits(8) ? QVariant(mdb_get_double(m_mdb->pg_buf, start)) : QVariant();
      case MDB_MONEY: {
        if (!fits(8)) return {};
        qint64 units = 0;
        for (int i = 7; i >= 0; --i) units = static_cast<qint64>((static_cast<quint64>(units) << 8) | page[start + i]);
        // A count of ten-thousandths, exactly.
        return QVariant::fromValue(ExactDecimal::FromScaled(units, 4));
      }
      case MDB_DATETIME: {
        if (!fits(8)) return {};
        const QDateTime when = DateTimeFromSerial(mdb_get_double(m_mdb->pg_buf, start));
        if (!when.isValid()) return {};
        return mdb_col_is_shortdate(column) ? QVariant(when.date()) : QVariant(when);
      }
      case MDB_NUMERIC: {
        // A sign byte and 16 of digits; Access keeps at most 28 digits.
        if (!fits(17) || column->col_scale > 28 || column->col_prec > 28) return {};
        char* text = mdb_numeric_to_string(m_mdb, start, column->col_scale, column->col_prec);
        const auto value = ExactDecimal::FromText(QString::fromLatin1(text));
        g_free(text);
        return value ? QVariant::fromValue(*value) : QVariant();
      }
      case MDB_TEXT:
      case MDB_MEMO:
      case MDB_REPID: {
        // Text stands in the row; a memo's row holds a 12-byte pointer, an
        // identifier 16 bytes.
        const int inRow = column->col_type == MDB_TEXT ? length : column->col_type == MDB_MEMO ? 12 : 16;
        if (!fits(inRow)) return {};
        char* text = mdb_col_to_string(m_mdb, m_mdb->pg_buf, start, column->col_type, length);
        QString value = QString::fromUtf8(text);
        g_free(text);
        return value;
      }
      default: return {};  // pictures, binary and other long values
    }
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
