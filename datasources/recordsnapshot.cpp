#include "datasources/recordsnapshot.h"

#include "datasources/process/protocol.h"
#include "datasources/process/rowdecoder.h"

#include <cstring>

namespace pv {

namespace {

using readerprotocol::BadStream;
using readerprotocol::BodyReader;
using readerprotocol::Frame;
using readerprotocol::FrameWriter;

// What a snapshot starts with; the last two characters are its layout's
// version.
constexpr char kMark[8] = {'P', 'V', 'S', 'N', 'A', 'P', '0', '1'};

DbError Damaged() {
  return DbError(DbErrProvider, QStringLiteral("L'istantanea dei record è danneggiata o incompleta."));
}

// The frames of a snapshot in order; each must lie whole inside it.
class Frames {
 public:
  Frames(const char* data, std::size_t size) : m_p(data), m_end(data + size) {}

  Frame Next(BodyReader& body) {
    const auto left = static_cast<std::size_t>(m_end - m_p);
    if (left < readerprotocol::kHeaderSize) throw BadStream{};
    std::uint32_t length = 0;
    std::memcpy(&length, m_p, sizeof length);
    if (length > readerprotocol::kMaxBody || length > left - readerprotocol::kHeaderSize) throw BadStream{};
    const auto kind = static_cast<Frame>(static_cast<std::uint8_t>(m_p[4]));
    body = BodyReader(m_p + readerprotocol::kHeaderSize, length);
    m_p += readerprotocol::kHeaderSize + length;
    return kind;
  }
  bool AtEnd() const { return m_p == m_end; }

 private:
  const char* m_p;
  const char* m_end;
};

SourceTable ReadSnapshot(const QByteArray& snapshot) {
  if (snapshot.size() < static_cast<qsizetype>(sizeof kMark) ||
      std::memcmp(snapshot.constData(), kMark, sizeof kMark) != 0)
    throw BadStream{};
  Frames frames(snapshot.constData() + sizeof kMark, static_cast<std::size_t>(snapshot.size()) - sizeof kMark);
  BodyReader body(nullptr, 0);
  if (frames.Next(body) != Frame::Table) throw BadStream{};
  SourceTable table;
  table.columns = body.Columns();
  if (!body.AtEnd()) throw BadStream{};
  readerprotocol::RowDecoder decoder(table.columns.size());
  for (;;) {
    const Frame kind = frames.Next(body);
    if (kind == Frame::End) break;
    if (kind != Frame::Rows) throw BadStream{};
    decoder.Add(body.Data(), body.Left());
  }
  // Whole only when every row written is there and nothing follows.
  const std::int64_t rows = body.I64();
  if (rows < 0 || !body.AtEnd() || !frames.AtEnd()) throw BadStream{};
  table.rows = decoder.Finish();
  if (static_cast<std::int64_t>(table.rows.size()) != rows) throw BadStream{};
  return table;
}

}  // namespace

QByteArray WriteRecordSnapshot(const SourceRecordset& records) {
  if (!records.IsOpen())
    throw DbError(DbErrClosed, QStringLiteral("Operazione non consentita quando l'oggetto è chiuso."));
  const int width = records.FieldCount();
  std::vector<SourceColumn> columns;
  columns.reserve(static_cast<std::size_t>(width));
  for (int f = 0; f < width; ++f) columns.push_back({records.FieldName(f), records.FieldType(f)});

  // Each frame is built in one buffer, used again for the next, and then
  // added to the snapshot.
  QByteArray snapshot(kMark, sizeof kMark);
  FrameWriter out;
  out.Begin(Frame::Table);
  out.Columns(columns);
  out.End();
  snapshot.append(out.Data(), static_cast<qsizetype>(out.Size()));
  // Rows frames of about the size the reader program sends, so that they
  // decode on several threads when opened.
  const int rowCount = records.RecordCount();
  for (int r = 0; r < rowCount;) {
    const int first = r;
    out.Clear();
    out.Begin(Frame::Rows);
    const std::size_t countAt = out.Count32();
    std::uint32_t count = 0;
    do {
      for (int f = 0; f < width; ++f) out.Value(records.ValueAt(r, f));
      ++r;
      ++count;
    } while (r < rowCount && count < readerprotocol::kMaxFrameRows && out.Size() < readerprotocol::kRowsFrameSize);
    // A frame's length must fit its field: a row larger than that is
    // refused, never cut.
    if (out.Size() - readerprotocol::kHeaderSize > readerprotocol::kMaxBody)
      throw DbError(DbErrProvider, QStringLiteral("Un record è troppo grande per l'istantanea dei record."));
    out.SetCount32(countAt, count);
    out.End();
    // The first frame tells about how large the rest will be.
    if (first == 0) {
      const double perRow = static_cast<double>(out.Size()) / count;
      snapshot.reserve(snapshot.size() + static_cast<qsizetype>(perRow * rowCount * 1.05) + 64);
    }
    snapshot.append(out.Data(), static_cast<qsizetype>(out.Size()));
  }
  out.Clear();
  out.Begin(Frame::End);
  out.I64(rowCount);
  out.End();
  snapshot.append(out.Data(), static_cast<qsizetype>(out.Size()));
  return snapshot;
}

void OpenRecordSnapshot(SourceRecordset& records, const QByteArray& snapshot) {
  SourceTable table;
  try {
    table = ReadSnapshot(snapshot);
  } catch (const BadStream&) {
    records.Close();
    throw Damaged();
  }
  records.OpenRows(std::move(table));
}

}  // namespace pv
