#include "datasources/readers/paradoxmemo.h"

#include "datasources/readers/readerkit.h"

#include <QtEndian>

namespace pv {

namespace {

// The pointer at a field's end: offset (with the index), length, and a
// modification number.
constexpr int kPointerSize = 10;
// Blocks of the memo file are 4 KB. A block of one memo starts with its
// kind (2), its count of blocks, the memo's length and its modification
// number; a block of small memos with its kind (3) and, after 12 bytes, 64
// entries of 5 bytes: where the memo starts (in 16-byte units from the
// block's start), its count of 16-byte units, its modification number and
// the length of its last unit.
constexpr qint64 kBlockSize = 4096;
constexpr int kSingleHead = 9;
constexpr int kEntriesAt = 12;
constexpr int kEntrySize = 5;
constexpr int kEntries = 64;
constexpr char kSingleBlock = 2;
constexpr char kSmallMemos = 3;

}  // namespace

ParadoxMemoFile::ParadoxMemoFile(const QString& tableFile) : m_path(SiblingFile(tableFile, QStringLiteral("mb"))) {}

std::optional<QByteArray> ParadoxMemoFile::Read(const char* field, int width) {
  const int leader = width - kPointerSize;
  if (leader < 0) return std::nullopt;
  const quint32 place = qFromLittleEndian<quint32>(field + leader);
  const qint64 size = qFromLittleEndian<quint32>(field + leader + 4);
  if (size == 0) return std::nullopt;
  if (size <= leader) return QByteArray(field, static_cast<qsizetype>(size));
  if (!m_tried) {
    m_tried = true;
    if (!m_path.isEmpty()) {
      m_file.setFileName(m_path);
      if (!m_file.open(QIODevice::ReadOnly)) m_file.setFileName(QString());
    }
  }
  if (!m_file.isOpen()) return std::nullopt;
  const qint64 block = place & 0xffffff00u;
  const int index = static_cast<int>(place & 0xff);
  if (block == 0 || block % kBlockSize != 0 || !m_file.seek(block)) return std::nullopt;
  const QByteArray head = m_file.read(kEntriesAt + kEntrySize * kEntries);
  if (head.size() < kSingleHead) return std::nullopt;
  if (head[0] == kSingleBlock) {
    if (index != 0xff || qFromLittleEndian<quint32>(head.constData() + 3) != size) return std::nullopt;
    return ReadAt(block + kSingleHead, size);
  }
  if (head[0] != kSmallMemos || index >= kEntries || head.size() < kEntriesAt + kEntrySize * (index + 1))
    return std::nullopt;
  const auto* entry = reinterpret_cast<const unsigned char*>(head.constData()) + kEntriesAt + kEntrySize * index;
  const qint64 start = qint64{entry[0]} * 16;
  if (entry[1] == 0 || (qint64{entry[1]} - 1) * 16 + entry[4] != size || start + size > kBlockSize) return std::nullopt;
  return ReadAt(block + start, size);
}

std::optional<QByteArray> ParadoxMemoFile::ReadAt(qint64 at, qint64 size) {
  if (at + size > m_file.size() || !m_file.seek(at)) return std::nullopt;
  QByteArray bytes = m_file.read(size);
  if (bytes.size() != size) return std::nullopt;
  return bytes;
}

}  // namespace pv
