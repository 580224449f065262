#include "tests/support/jetwriter.h"

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace pv::testing {

namespace {

constexpr int kPageSize = 4096;
constexpr int kRowCountOffset = 12;  // data pages: row count, then the row offsets
constexpr int kMapPage = 1;          // holds every table's page-usage maps
constexpr int kCatalogPage = 2;      // the catalogue's table definition

void Put16(QByteArray& b, int at, int v) {
  b[at] = static_cast<char>(v & 0xff);
  b[at + 1] = static_cast<char>((v >> 8) & 0xff);
}

void Put32(QByteArray& b, int at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

void Append16(QByteArray& b, int v) {
  b.append(static_cast<char>(v & 0xff));
  b.append(static_cast<char>((v >> 8) & 0xff));
}

void Append32(QByteArray& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.append(static_cast<char>((v >> (8 * i)) & 0xff));
}

QByteArray Ucs2(const QString& text) {
  QByteArray bytes;
  for (QChar c : text) Append16(bytes, c.unicode());
  return bytes;
}

// Column type codes and fixed sizes of the format.
struct TypeInfo {
  unsigned char code;
  int size;  // 0: variable length (text) or held in the null mask (logical)
  bool fixed;
};

TypeInfo InfoOf(JetType type) {
  switch (type) {
    case JetType::Boolean: return {0x01, 0, true};
    case JetType::Short: return {0x03, 2, true};
    case JetType::Long: return {0x04, 4, true};
    case JetType::Double: return {0x07, 8, true};
    case JetType::DateTime: return {0x08, 8, true};
    case JetType::Text: return {0x0A, 0, false};
  }
  return {0x0A, 0, false};
}

// The catalogue's own long-value column (always Null here).
constexpr unsigned char kOleCode = 0x0B;

struct Layout {
  struct Col {
    QString name;
    unsigned char code;
    int size;
    bool fixed;
    int fixedOffset = 0;
    int varIndex = 0;
  };
  std::vector<Col> cols;
  int varCount = 0;
};

Layout LayoutOf(const std::vector<std::pair<QString, unsigned char>>& columns) {
  Layout layout;
  int fixedOffset = 0;
  for (const auto& [name, code] : columns) {
    Layout::Col col{name, code, 0, false};
    switch (code) {
      case 0x01: col.fixed = true; break;
      case 0x03:
        col.fixed = true;
        col.size = 2;
        break;
      case 0x04:
        col.fixed = true;
        col.size = 4;
        break;
      case 0x07:
      case 0x08:
        col.fixed = true;
        col.size = 8;
        break;
      default: break;
    }
    if (col.fixed) {
      col.fixedOffset = fixedOffset;
      fixedOffset += col.size;
    } else {
      col.varIndex = layout.varCount++;
    }
    layout.cols.push_back(col);
  }
  return layout;
}

double SerialOf(const QVariant& value) {
  const QDateTime when = value.typeId() == QMetaType::QDate
                             ? QDateTime(value.toDate(), QTime(0, 0), Qt::UTC)
                             : QDateTime(value.toDateTime().date(), value.toDateTime().time(), Qt::UTC);
  const QDateTime base(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
  return static_cast<double>(base.msecsTo(when)) / 86400000.0;
}

QByteArray FixedBytes(const Layout::Col& col, const QVariant& value) {
  QByteArray bytes(col.size, '\0');
  if (!value.isValid()) return bytes;
  switch (col.code) {
    case 0x03: Put16(bytes, 0, static_cast<int>(value.toLongLong())); break;
    case 0x04: Put32(bytes, 0, static_cast<std::uint32_t>(value.toLongLong())); break;
    case 0x07: {
      const double d = value.toDouble();
      std::memcpy(bytes.data(), &d, 8);
      break;
    }
    case 0x08: {
      const double d = SerialOf(value);
      std::memcpy(bytes.data(), &d, 8);
      break;
    }
    default: break;
  }
  return bytes;
}

// One row: column count, fixed values, variable values, end of data, the
// variable offsets last to first, their count, and the null mask (where a
// logical keeps its value).
QByteArray RowBytes(const Layout& layout, const std::vector<QVariant>& values) {
  const int n = static_cast<int>(layout.cols.size());
  QByteArray row;
  Append16(row, n);
  for (int i = 0; i < n; ++i) {
    if (layout.cols[i].fixed) row.append(FixedBytes(layout.cols[i], values[i]));
  }
  QByteArray mask((n + 7) / 8, '\0');
  for (int i = 0; i < n; ++i) {
    const bool present = layout.cols[i].code == 0x01 ? values[i].toBool() : values[i].isValid();
    if (present) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
  }
  if (layout.varCount > 0) {
    std::vector<int> offsets;
    for (int i = 0; i < n; ++i) {
      if (layout.cols[i].fixed) continue;
      offsets.push_back(static_cast<int>(row.size()));
      if (values[i].isValid()) row.append(Ucs2(values[i].toString()));
    }
    Append16(row, static_cast<int>(row.size()));  // end of data
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) Append16(row, *it);
    Append16(row, layout.varCount);
  }
  row.append(mask);
  return row;
}

QByteArray EmptyDataPage(std::uint32_t owner) {
  QByteArray page(kPageSize, '\0');
  page[0] = 0x01;
  page[1] = 0x01;
  Put32(page, 4, owner);
  Put16(page, 2, kPageSize - kRowCountOffset - 2);
  return page;
}

// Adds a row to a data page; false when it does not fit.
bool AddRow(QByteArray& page, const QByteArray& row) {
  const int rows =
      static_cast<unsigned char>(page[kRowCountOffset]) | (static_cast<unsigned char>(page[kRowCountOffset + 1]) << 8);
  int end = kPageSize;
  if (rows > 0) {
    end = (static_cast<unsigned char>(page[kRowCountOffset + 2 * rows]) |
           (static_cast<unsigned char>(page[kRowCountOffset + 2 * rows + 1]) << 8));
  }
  const int start = end - static_cast<int>(row.size());
  const int tableEnd = kRowCountOffset + 2 + 2 * (rows + 1);
  if (start < tableEnd || rows >= 1000) return false;
  std::memcpy(page.data() + start, row.constData(), static_cast<size_t>(row.size()));
  Put16(page, kRowCountOffset + 2 + 2 * rows, start);
  Put16(page, kRowCountOffset, rows + 1);
  Put16(page, 2, start - tableEnd);
  return true;
}

std::vector<QByteArray> DataPages(const std::vector<QByteArray>& rows, std::uint32_t owner) {
  std::vector<QByteArray> pages;
  for (const QByteArray& row : rows) {
    if (row.size() > kPageSize - 32) throw std::runtime_error("row too long for a page");
    if (pages.empty() || !AddRow(pages.back(), row)) {
      pages.push_back(EmptyDataPage(owner));
      AddRow(pages.back(), row);
    }
  }
  if (pages.empty()) pages.push_back(EmptyDataPage(owner));
  return pages;
}

QByteArray DefinitionPage(const Layout& layout, bool system, int rowCount, std::uint32_t usageRow,
                          std::uint32_t freeRow) {
  QByteArray def;
  const int n = static_cast<int>(layout.cols.size());
  def.append(static_cast<char>(0x02));
  def.append(static_cast<char>(0x01));
  Append16(def, 0);  // free space, set below
  Append32(def, 0);  // no continuation page
  Append32(def, 0);  // length of the definition, set below
  Append32(def, 0);
  Append32(def, static_cast<std::uint32_t>(rowCount));
  Append32(def, 0);  // next autonumber
  def.append(QByteArray(16, '\0'));
  def.append(static_cast<char>(system ? 0x53 : 0x4e));
  Append16(def, n);  // most columns a row has had
  Append16(def, layout.varCount);
  Append16(def, n);
  Append32(def, 0);  // logical indexes
  Append32(def, 0);  // index entries
  Append32(def, usageRow);
  Append32(def, freeRow);
  for (int i = 0; i < n; ++i) {
    const Layout::Col& col = layout.cols[i];
    QByteArray entry(25, '\0');
    entry[0] = static_cast<char>(col.code);
    Put16(entry, 5, i);
    Put16(entry, 7, col.fixed ? 0 : col.varIndex);
    Put16(entry, 9, i);
    if (col.code == 0x0A) Put16(entry, 11, 0x409);                    // general sort order
    entry[15] = static_cast<char>((col.fixed ? 0x01 : 0x00) | 0x02);  // nullable
    Put16(entry, 21, col.fixed ? col.fixedOffset : 0);
    Put16(entry, 23, col.code == 0x0A ? 510 : col.size);
    def.append(entry);
  }
  for (const Layout::Col& col : layout.cols) {
    const QByteArray name = Ucs2(col.name);
    Append16(def, static_cast<int>(name.size()));
    def.append(name);
  }
  if (def.size() > kPageSize) throw std::runtime_error("table definition too long");
  Put32(def, 8, static_cast<std::uint32_t>(def.size() - 8));
  Put16(def, 2, kPageSize - static_cast<int>(def.size()) - 8);
  def.append(QByteArray(kPageSize - def.size(), '\0'));
  return def;
}

// RC4, which scrambles part of the header page with a fixed key.
void Rc4(const unsigned char* key, int keyLength, unsigned char* data, int length) {
  std::array<unsigned char, 256> s{};
  for (int i = 0; i < 256; ++i) s[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
  int j = 0;
  for (int i = 0; i < 256; ++i) {
    j = (j + key[i % keyLength] + s[static_cast<size_t>(i)]) & 0xff;
    std::swap(s[static_cast<size_t>(i)], s[static_cast<size_t>(j)]);
  }
  int x = 0;
  int y = 0;
  for (int k = 0; k < length; ++k) {
    x = (x + 1) & 0xff;
    y = (y + s[static_cast<size_t>(x)]) & 0xff;
    std::swap(s[static_cast<size_t>(x)], s[static_cast<size_t>(y)]);
    data[k] ^= s[static_cast<size_t>((s[static_cast<size_t>(x)] + s[static_cast<size_t>(y)]) & 0xff)];
  }
}

QByteArray HeaderPage() {
  QByteArray page(kPageSize, '\0');
  page[1] = 0x01;
  std::memcpy(page.data() + 4, "Standard Jet DB", 16);
  page[0x14] = 0x01;         // Jet 4
  Put16(page, 0x3c, 1252);   // code page
  Put32(page, 0x3e, 0);      // no database key: pages are not scrambled
  Put16(page, 0x6e, 0x409);  // sort order
  const unsigned char key[4] = {0xC7, 0xDA, 0x39, 0x6B};
  Rc4(key, 4, reinterpret_cast<unsigned char*>(page.data()) + 0x18, 128);
  return page;
}

QByteArray UsageMap(const std::vector<int>& pages, int totalPages, bool mark) {
  QByteArray map;
  map.append('\0');  // map kind: bitmap within the row
  Append32(map, 0);  // first page the map covers
  QByteArray bits((totalPages + 7) / 8 + 1, '\0');
  if (mark) {
    for (int p : pages) bits[p / 8] = static_cast<char>(bits[p / 8] | (1 << (p % 8)));
  }
  map.append(bits);
  return map;
}

}  // namespace

QByteArray JetDatabase(const std::vector<JetTable>& tables, const QStringList& savedQueries) {
  struct Planned {
    Layout layout;
    bool system = false;
    std::vector<QByteArray> rows;
    int definitionPage = 0;
    std::vector<QByteArray> dataPages;
    std::vector<int> dataPageNumbers;
  };
  const Layout catalogLayout = LayoutOf({{QStringLiteral("Id"), 0x04},
                                         {QStringLiteral("ParentId"), 0x04},
                                         {QStringLiteral("Name"), 0x0A},
                                         {QStringLiteral("Type"), 0x03},
                                         {QStringLiteral("Flags"), 0x04},
                                         {QStringLiteral("LvProp"), kOleCode}});

  std::vector<Planned> planned;
  planned.reserve(tables.size() + 1);
  planned.push_back(Planned{catalogLayout, true, {}, 0, {}, {}});
  for (const JetTable& table : tables) {
    std::vector<std::pair<QString, unsigned char>> columns;
    for (const JetColumn& c : table.columns) columns.emplace_back(c.name, InfoOf(c.type).code);
    Planned p{LayoutOf(columns), false, {}, 0, {}, {}};
    for (const auto& values : table.rows) p.rows.push_back(RowBytes(p.layout, values));
    planned.push_back(std::move(p));
  }

  // Page numbers: the catalogue's pages need the tables' definition pages,
  // which come after the catalogue's data pages. The catalogue's rows have
  // fixed sizes apart from the names, so lay it out once to count its pages.
  auto catalogRows = [&](const std::vector<int>& definitionPages) {
    std::vector<QByteArray> rows;
    auto add = [&](int id, const QString& name, int type, std::uint32_t flags) {
      rows.push_back(
          RowBytes(catalogLayout, {QVariant(id), QVariant(0), QVariant(name), QVariant(type),
                                   QVariant(static_cast<qint64>(static_cast<std::int32_t>(flags))), QVariant()}));
    };
    add(kCatalogPage, QStringLiteral("MSysObjects"), 1, 0x80000002u);
    for (size_t t = 0; t < tables.size(); ++t) add(definitionPages[t], tables[t].name, 1, 0);
    for (const QString& query : savedQueries) add(0, query, 5, 0);
    return rows;
  };
  const int catalogPages =
      static_cast<int>(DataPages(catalogRows(std::vector<int>(tables.size(), 0)), kCatalogPage).size());
  int next = kCatalogPage + 1 + catalogPages;
  std::vector<int> definitionPages;
  for (size_t t = 0; t < tables.size(); ++t) {
    Planned& p = planned[t + 1];
    p.definitionPage = next++;
    definitionPages.push_back(p.definitionPage);
    p.dataPages = DataPages(p.rows, static_cast<std::uint32_t>(p.definitionPage));
    for (size_t i = 0; i < p.dataPages.size(); ++i) p.dataPageNumbers.push_back(next++);
  }
  planned[0].definitionPage = kCatalogPage;
  planned[0].rows = catalogRows(definitionPages);
  planned[0].dataPages = DataPages(planned[0].rows, kCatalogPage);
  for (int i = 0; i < catalogPages; ++i) planned[0].dataPageNumbers.push_back(kCatalogPage + 1 + i);
  const int totalPages = next;

  // Every table's usage and free-space maps are rows of the map page.
  QByteArray mapPage = EmptyDataPage(0);
  std::vector<std::pair<std::uint32_t, std::uint32_t>> mapRows;
  int mapRow = 0;
  for (const Planned& p : planned) {
    if (!AddRow(mapPage, UsageMap(p.dataPageNumbers, totalPages, true)) ||
        !AddRow(mapPage, UsageMap(p.dataPageNumbers, totalPages, false)))
      throw std::runtime_error("too many tables");
    mapRows.emplace_back((kMapPage << 8) | mapRow, (kMapPage << 8) | (mapRow + 1));
    mapRow += 2;
  }

  std::vector<QByteArray> pages(static_cast<size_t>(totalPages));
  pages[0] = HeaderPage();
  pages[kMapPage] = mapPage;
  for (size_t t = 0; t < planned.size(); ++t) {
    const Planned& p = planned[t];
    pages[static_cast<size_t>(p.definitionPage)] =
        DefinitionPage(p.layout, p.system, static_cast<int>(p.rows.size()), mapRows[t].first, mapRows[t].second);
    for (size_t i = 0; i < p.dataPages.size(); ++i) pages[static_cast<size_t>(p.dataPageNumbers[i])] = p.dataPages[i];
  }
  QByteArray file;
  for (const QByteArray& page : pages) file.append(page);
  return file;
}

bool WriteJetDatabase(const QString& path, const std::vector<JetTable>& tables, const QStringList& savedQueries) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray bytes = JetDatabase(tables, savedQueries);
  return file.write(bytes) == bytes.size();
}

}  // namespace pv::testing
