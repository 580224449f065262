#pragma once
// What the program and its reader program (plavik-reader) say to each other
// over the child's standard input and output: frames of a 32-bit body length,
// a one-byte kind and the body. Numbers are in the machine's own byte order
// (both ends are the same build); text is UTF-16 code units after a 32-bit
// count, which is 0xffffffff for a null QString.
//
// The program opens with Open and then asks one request at a time; each
// answer is one frame (Ready, Names, ColumnList, File, Error), or for a table
// Table, any number of Rows and End. An Error frame carries a DbError; it may
// also come in place of a Rows or End frame (a reader that failed half way
// through a table), and then the rows before it are no table.
//
// A value is a one-byte tag and its payload (see ValueTag). An unknown tag is
// a damaged stream, so a new kind of value takes a new tag on both ends.
#include "datasources/readers/sourcereader.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pv::readerprotocol {

enum class Frame : std::uint8_t {
  // Requests. Open: kind (u8), path, user, password, ODBC connection
  // string, memory limit in bytes
  // (i64, 0 for none), fault (text; only the test build of the reader reads
  // it). The others carry a table name or the query text (Tables: nothing).
  Open = 'O',
  Tables = 'T',
  Columns = 'C',
  ReadTable = 'R',
  RunQuery = 'Q',
  TableFile = 'F',
  // Answers. Names: count (u32) and texts. ColumnList: count (u32) and,
  // each, name and type (u8, ColumnType). Table: a column list. Rows:
  // count (u32) and that many rows of one value per column. End: the count
  // of rows of all its Rows frames (i64). File: a text. Error: number (i64)
  // and description.
  Ready = 'k',
  Names = 'n',
  ColumnList = 'c',
  Table = 't',
  Rows = 'r',
  End = 'e',
  File = 'f',
  Error = 'x',
};

enum class ValueTag : std::uint8_t {
  Null = 0,
  Int64 = 1,     // 8 bytes
  Double = 2,    // 8 bytes, the bits as they are (NaN, infinities, -0)
  Text = 3,      // count (u32) and UTF-16 code units
  Date = 4,      // Julian day (i64); the smallest i64 is an invalid date
  DateTime = 5,  // milliseconds since 1970 UTC (i64); the smallest i64 is invalid
  False = 6,
  True = 7,
  Decimal = 8,  // an ExactDecimal: its canonical text (count and code units)
};

inline constexpr std::size_t kHeaderSize = 5;
// The largest body either end accepts (a table goes in many Rows frames, but
// one row goes whole).
inline constexpr std::uint32_t kMaxBody = 1024u * 1024 * 1024;
// Rows frames are cut at about this size and sent while the reader reads
// on, so the program decodes while the reader is still reading.
inline constexpr std::size_t kRowsFrameSize = 64 * 1024;
// The most rows in one Rows frame (a table of no columns has rows of nothing).
inline constexpr std::uint32_t kMaxFrameRows = 65536;
// The reader's exit status when an allocation failed (its memory limit).
inline constexpr int kExitOutOfMemory = 3;
// The reader's exit status when its request is not one it understands.
inline constexpr int kExitBadRequest = 2;

// Frames built into one buffer, written out by the caller.
class FrameWriter {
 public:
  void Begin(Frame kind);
  void End();  // sets the length of the frame begun last

  void U8(std::uint8_t v) {
    Room(1);
    m_bytes[m_size++] = static_cast<char>(v);
  }
  void U32(std::uint32_t v) { Raw(&v, sizeof v); }
  void I64(std::int64_t v) { Raw(&v, sizeof v); }
  void F64(double v) { Raw(&v, sizeof v); }
  void Text(QStringView text);
  void Value(const QVariant& value);

  // A column list, into the frame begun.
  void Columns(const std::vector<SourceColumn>& columns);
  void Error(const DbError& error);

  // A count written once known: Count32 leaves room for it, SetCount32 fills it.
  std::size_t Count32() {
    U32(0);
    return m_size - sizeof(std::uint32_t);
  }
  void SetCount32(std::size_t at, std::uint32_t v) { std::memcpy(m_bytes.data() + at, &v, sizeof v); }

  const char* Data() const { return m_bytes.data(); }
  std::size_t Size() const { return m_size; }
  void Clear() { m_size = 0; }

 private:
  void Room(std::size_t n) {
    if (m_size + n > m_bytes.size()) m_bytes.resize(std::max(2 * m_bytes.size(), m_size + n + 4096));
  }
  void Raw(const void* p, std::size_t n) {
    if (n == 0) return;  // an empty text may have no data at all
    Room(n);
    std::memcpy(m_bytes.data() + m_size, p, n);
    m_size += n;
  }

  std::vector<char> m_bytes;  // its size is the room; m_size bytes are written
  std::size_t m_size = 0;
  std::size_t m_begun = 0;
};

// A frame's body read in order. Reading past its end, an unknown tag or a
// count that cannot fit throws BadStream.
struct BadStream {};

class BodyReader {
 public:
  BodyReader(const char* data, std::size_t size) : m_p(data), m_end(data + size) {}

  std::uint8_t U8() {
    Need(1);
    return static_cast<std::uint8_t>(*m_p++);
  }
  std::uint32_t U32() { return Fixed<std::uint32_t>(); }
  std::int64_t I64() { return Fixed<std::int64_t>(); }
  double F64() { return Fixed<double>(); }
  QString Text();
  QVariant Value();

  std::vector<SourceColumn> Columns();
  bool AtEnd() const { return m_p == m_end; }
  const char* Data() const { return m_p; }  // what is left
  std::size_t Left() const { return static_cast<std::size_t>(m_end - m_p); }

 private:
  void Need(std::size_t n) const {
    if (Left() < n) throw BadStream{};
  }
  template <typename T>
  T Fixed() {
    Need(sizeof(T));
    T v;
    std::memcpy(&v, m_p, sizeof v);
    m_p += sizeof v;
    return v;
  }

  const char* m_p;
  const char* m_end;
};

}  // namespace pv::readerprotocol
