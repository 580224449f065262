#include "tests/support/jetwriter.h"

#include <QDate>
#include <QDateTime>
#include <QFile>

#include <algorithm>
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

// Column type codes of the format.
unsigned char CodeOf(JetType type) {
  switch (type) {
    case JetType::Boolean: return 0x01;
    case JetType::Short: return 0x03;
    case JetType::Long: return 0x04;
    case JetType::Currency: return 0x05;
    case JetType::Double: return 0x07;
    case JetType::DateTime: return 0x08;
    case JetType::Text: return 0x0A;
    case JetType::Memo: return 0x0C;
    case JetType::Guid: return 0x0F;
    case JetType::Decimal: return 0x10;
    case JetType::ExtendedDateTime: return 0x14;
  }
  return 0x0A;
}

// The size of a value of a type kept in the row's fixed part; 0 for a
// logical (kept in the null mask) and the types kept in its variable part.
int FixedSizeOf(unsigned char code) {
  switch (code) {
    case 0x03: return 2;
    case 0x04: return 4;
    case 0x05:
    case 0x07:
    case 0x08: return 8;
    case 0x0F: return 16;
    case 0x14: return 42;
    default: return 0;
  }
}

bool IsFixed(unsigned char code) { return code == 0x01 || FixedSizeOf(code) > 0; }

// The catalogue's own long-value column (always Null here).
constexpr unsigned char kOleCode = 0x0B;

// What a calculated value carries before its result (its last 4 bytes the
// result's length) and after it. Access fills the first 16 bytes with
// bookkeeping of its own, which a reader must step over.
constexpr int kCalculatedHead = 20;
constexpr int kCalculatedTail = 3;
constexpr int kCalculatedFixedSize = 39;  // what Access declares for results of a fixed size

struct ColumnSpec {
  QString name;
  unsigned char code;
  bool calculated = false;
  bool compressed = false;
};

struct Layout {
  struct Col {
    QString name;
    unsigned char code;
    int size;
    bool fixed;
    bool calculated = false;
    bool compressed = false;
    int fixedOffset = 0;
    int varIndex = 0;
  };
  std::vector<Col> cols;
  int varCount = 0;
};

Layout LayoutOf(const std::vector<ColumnSpec>& columns) {
  Layout layout;
  int fixedOffset = 0;
  for (const ColumnSpec& spec : columns) {
    // A calculated column keeps its result in the row's variable part.
    Layout::Col col{spec.name,       spec.code,      FixedSizeOf(spec.code), IsFixed(spec.code) && !spec.calculated,
                    spec.calculated, spec.compressed};
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

// A number's text as a whole count of 10^-scale: "-12.5" with scale 4 is
// -125000.
qint64 ScaledOf(const QString& text, int scale) {
  const bool negative = text.startsWith(QLatin1Char('-'));
  const QStringList parts = text.mid(negative ? 1 : 0).split(QLatin1Char('.'));
  const qint64 units = (parts[0] + parts.value(1).leftJustified(scale, QLatin1Char('0'))).toLongLong();
  return negative ? -units : units;
}

QByteArray GuidBytes(const QString& text) {
  const QByteArray hex = text.toLatin1().replace('{', "").replace('}', "").replace('-', "");
  QByteArray bytes = QByteArray::fromHex(hex);
  // The first three groups are numbers, stored little-endian.
  std::reverse(bytes.begin(), bytes.begin() + 4);
  std::reverse(bytes.begin() + 4, bytes.begin() + 6);
  std::reverse(bytes.begin() + 6, bytes.begin() + 8);
  return bytes;
}

// An extended date/time: days since 1 January of year 1, seconds of the
// day and ten-millionths of a second, as text.
QByteArray ExtendedDateTimeBytes(const QDateTime& when) {
  const qint64 days = QDate(1, 1, 1).daysTo(when.date());
  const qint64 msecs = when.time().msecsSinceStartOfDay();
  QByteArray text = QStringLiteral("%1:%2.%3:7")
                        .arg(days, 19, 10, QLatin1Char('0'))
                        .arg(msecs / 1000, 12, 10, QLatin1Char('0'))
                        .arg((msecs % 1000) * 10000, 7, 10, QLatin1Char('0'))
                        .toLatin1();
  text.resize(42, '\0');
  return text;
}

// A calculated decimal: its length less two, its scale, its sign and the
// digits as a 16-byte whole number, each 8 bytes of it little-endian, the
// more significant 8 first.
QByteArray CalculatedDecimalBytes(const QString& text) {
  const int scale = static_cast<int>(text.section(QLatin1Char('.'), 1).size());
  const qint64 units = ScaledOf(text, scale);
  const quint64 magnitude = static_cast<quint64>(units < 0 ? -units : units);
  QByteArray bytes;
  Append16(bytes, 18);
  bytes.append(static_cast<char>(scale));
  bytes.append(static_cast<char>(units < 0 ? 0x80 : 0));
  bytes.append(QByteArray(8, '\0'));  // the high 8 bytes
  for (int i = 0; i < 8; ++i) bytes.append(static_cast<char>((magnitude >> (8 * i)) & 0xff));
  return bytes;
}

// Text in Jet 4's compressed form: a FF FE mark, then one byte for each
// character from U+0001 to U+00FF, and a zero byte before and after each run
// of the others, which stand as UTF-16. A text whose UTF-16 would hold a zero
// byte there (which reads as the end of the run) stays uncompressed.
QByteArray CompressedText(const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() > 0xff && ((c.unicode() & 0xff) == 0 || (c.unicode() >> 8) == 0)) return Ucs2(text);
  }
  QByteArray bytes("\xff\xfe", 2);
  bool compressed = true;
  for (const QChar c : text) {
    const bool small = c.unicode() >= 1 && c.unicode() <= 0xff;
    if (small != compressed) {
      bytes.append('\0');
      compressed = small;
    }
    if (small) {
      bytes.append(static_cast<char>(c.unicode()));
    } else {
      Append16(bytes, c.unicode());
    }
  }
  return bytes;
}

QByteArray FixedBytes(unsigned char code, const QVariant& value) {
  QByteArray bytes(FixedSizeOf(code), '\0');
  if (!value.isValid()) return bytes;
  switch (code) {
    case 0x01: return QByteArray(1, value.toBool() ? '\xff' : '\0');  // a calculated logical
    case 0x03: Put16(bytes, 0, static_cast<int>(value.toLongLong())); break;
    case 0x04: Put32(bytes, 0, static_cast<std::uint32_t>(value.toLongLong())); break;
    case 0x05: {
      const qint64 units = ScaledOf(value.toString(), 4);
      std::memcpy(bytes.data(), &units, 8);
      break;
    }
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
    case 0x0F: return GuidBytes(value.toString());
    case 0x14: return ExtendedDateTimeBytes(value.toDateTime());
    default: break;
  }
  return bytes;
}

// The long values (memos) of the rows that stand in pages of their own, one
// a page, from page `base` on.
struct LongValues {
  int base = 0;
  std::vector<QByteArray> values;
};

// A memo's 12 bytes in its row: its length, with the high bit set when the
// memo follows in the row, the next when it stands in a row of another page
// (given at 4 as page << 8 | row).
constexpr int kInlineMemo = 64;  // longer memos go to a page of their own

QByteArray LongValue(const QByteArray& content, LongValues* longs) {
  QByteArray pointer;
  if (content.size() <= kInlineMemo) {
    Append32(pointer, static_cast<std::uint32_t>(content.size()) | 0x80000000u);
    Append32(pointer, 0);
    Append32(pointer, 0);
    return pointer + content;
  }
  const int page = longs->base + static_cast<int>(longs->values.size());
  longs->values.push_back(content);
  Append32(pointer, static_cast<std::uint32_t>(content.size()) | 0x40000000u);
  Append32(pointer, static_cast<std::uint32_t>(page) << 8);
  Append32(pointer, 0);
  return pointer;
}

QByteArray VariableBytes(const Layout::Col& col, const QVariant& value, LongValues* longs) {
  QByteArray result;
  if (col.code == 0x0A || col.code == 0x0C) {
    result = col.compressed ? CompressedText(value.toString()) : Ucs2(value.toString());
  } else if (col.code == 0x10) {
    result = CalculatedDecimalBytes(value.toString());
  } else {
    result = FixedBytes(col.code, value);
  }
  if (col.calculated) {
    QByteArray stored;
    for (int i = 0; i < 16; ++i) stored.append(static_cast<char>(i * 17 + 3));
    Append32(stored, static_cast<std::uint32_t>(result.size()));
    stored.append(result);
    stored.append(QByteArray(kCalculatedTail, '\0'));
    result = stored;
  }
  return col.code == 0x0C ? LongValue(result, longs) : result;
}

// One row: column count, fixed values, variable values, end of data, the
// variable offsets last to first, their count, and the null mask (where a
// logical keeps its value).
QByteArray RowBytes(const Layout& layout, const std::vector<QVariant>& values, LongValues* longs) {
  const int n = static_cast<int>(layout.cols.size());
  QByteArray row;
  Append16(row, n);
  for (int i = 0; i < n; ++i) {
    if (layout.cols[i].fixed) row.append(FixedBytes(layout.cols[i].code, values[i]));
  }
  QByteArray mask((n + 7) / 8, '\0');
  for (int i = 0; i < n; ++i) {
    const bool inMask = layout.cols[i].code == 0x01 && !layout.cols[i].calculated;
    const bool present = inMask ? values[i].toBool() : values[i].isValid();
    if (present) mask[i / 8] = static_cast<char>(mask[i / 8] | (1 << (i % 8)));
  }
  if (layout.varCount > 0) {
    std::vector<int> offsets;
    for (int i = 0; i < n; ++i) {
      if (layout.cols[i].fixed) continue;
      offsets.push_back(static_cast<int>(row.size()));
      if (values[i].isValid()) row.append(VariableBytes(layout.cols[i], values[i], longs));
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
    entry[16] = static_cast<char>(col.calculated ? 0xC0 : col.compressed ? 0x01 : 0x00);
    Put16(entry, 21, col.fixed ? col.fixedOffset : 0);
    int size = col.code == 0x0A ? 510 : col.size;
    if (col.calculated) size = col.code == 0x0A ? size + kCalculatedHead + kCalculatedTail : kCalculatedFixedSize;
    Put16(entry, 23, size);
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

// The file's pages but the long values' own, which follow them; their
// count in pageCount.
QByteArray Pages(const std::vector<JetTable>& tables, const QStringList& savedQueries, LongValues& longs,
                 int& pageCount) {
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
    std::vector<ColumnSpec> columns;
    for (const JetColumn& c : table.columns) {
      if (c.type == JetType::Decimal && !c.calculated) throw std::runtime_error("decimals only as results");
      columns.push_back({c.name, CodeOf(c.type), c.calculated, c.compressed});
    }
    Planned p{LayoutOf(columns), false, {}, 0, {}, {}};
    for (const auto& values : table.rows) p.rows.push_back(RowBytes(p.layout, values, &longs));
    planned.push_back(std::move(p));
  }

  // Page numbers: the catalogue's pages need the tables' definition pages,
  // which come after the catalogue's data pages. The catalogue's rows have
  // fixed sizes apart from the names, so lay it out once to count its pages.
  auto catalogRows = [&](const std::vector<int>& definitionPages) {
    std::vector<QByteArray> rows;
    auto add = [&](int id, const QString& name, int type, std::uint32_t flags) {
      rows.push_back(RowBytes(catalogLayout,
                              {QVariant(id), QVariant(0), QVariant(name), QVariant(type),
                               QVariant(static_cast<qint64>(static_cast<std::int32_t>(flags))), QVariant()},
                              &longs));
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
  pageCount = totalPages;
  return file;
}

}  // namespace

QByteArray JetDatabase(const std::vector<JetTable>& tables, const QStringList& savedQueries) {
  // Laid out once to count the pages before the long values' own, and again
  // with the long values' page numbers; the rows keep their sizes.
  LongValues longs;
  int pageCount = 0;
  Pages(tables, savedQueries, longs, pageCount);
  longs = LongValues{pageCount, {}};
  QByteArray file = Pages(tables, savedQueries, longs, pageCount);
  for (const QByteArray& value : longs.values) {
    QByteArray page = EmptyDataPage(0);
    std::memcpy(page.data() + 4, "LVAL", 4);
    if (!AddRow(page, value)) throw std::runtime_error("long value too long for a page");
    file.append(page);
  }
  return file;
}

bool WriteJetDatabase(const QString& path, const std::vector<JetTable>& tables, const QStringList& savedQueries) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const QByteArray bytes = JetDatabase(tables, savedQueries);
  return file.write(bytes) == bytes.size();
}

}  // namespace pv::testing
