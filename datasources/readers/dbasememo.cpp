#include "datasources/readers/dbasememo.h"

#include <QtEndian>

#include <algorithm>

namespace pv {

namespace {

constexpr qint64 kHeaderSize = 512;
// A dBASE III memo has no length: it runs to its 0x1A. One that has none
// within this many bytes is damaged (read to its end it could make every
// record read the rest of a large file).
constexpr qint64 kLongestUnendedMemo = 1024 * 1024;
constexpr char kEndOfText = '\x1A';
// The head of a dBASE IV memo: FF FF, the text's start (8), its length.
constexpr char kDBase4Head[] = {'\xFF', '\xFF', '\x08', '\x00'};
constexpr quint32 kFoxProText = 1;

}  // namespace

DbaseMemoFile::DbaseMemoFile(const QString& path, MemoLayout layout) : m_file(path), m_layout(layout) {
  if (path.isEmpty() || !m_file.open(QIODevice::ReadOnly)) return;
  m_size = m_file.size();
  const QByteArray head = m_file.read(kHeaderSize);
  if (head.size() < 22) return;
  const auto* bytes = reinterpret_cast<const uchar*>(head.constData());
  switch (m_layout) {
    case MemoLayout::DBase3: m_blockSize = kHeaderSize; break;
    case MemoLayout::DBase4: {
      const quint16 size = qFromLittleEndian<quint16>(bytes + 20);
      m_blockSize = size != 0 ? size : kHeaderSize;
      break;
    }
    case MemoLayout::FoxPro: m_blockSize = qFromBigEndian<quint16>(bytes + 6); break;
  }
}

std::optional<QByteArray> DbaseMemoFile::Text(quint32 block) {
  if (m_blockSize == 0 || block == 0) return std::nullopt;
  const qint64 at = static_cast<qint64>(block) * m_blockSize;
  if (at < kHeaderSize || at >= m_size) return std::nullopt;  // the header is no memo
  if (m_layout == MemoLayout::FoxPro) {
    const std::optional<QByteArray> head = ReadAt(at, 8);
    if (!head) return std::nullopt;
    const auto* bytes = reinterpret_cast<const uchar*>(head->constData());
    if (qFromBigEndian<quint32>(bytes) != kFoxProText) return std::nullopt;
    return ReadAt(at + 8, qFromBigEndian<quint32>(bytes + 4));
  }
  const std::optional<QByteArray> head = ReadAt(at, std::min<qint64>(8, m_size - at));
  if (!head) return std::nullopt;
  if (head->startsWith(QByteArrayView(kDBase4Head, 4))) {
    if (head->size() < 8) return std::nullopt;
    // The length counts the eight bytes of the head.
    const quint32 length = qFromLittleEndian<quint32>(head->constData() + 4);
    if (length < 8) return std::nullopt;
    std::optional<QByteArray> text = ReadAt(at + 8, length - 8);
    if (text && text->contains(kEndOfText)) text->truncate(text->indexOf(kEndOfText));
    return text;
  }
  return TextUpToEnd(at);
}

std::optional<QByteArray> DbaseMemoFile::ReadAt(qint64 at, qint64 size) {
  if (size < 0 || at < 0 || at > m_size || size > m_size - at) return std::nullopt;
  if (!m_file.seek(at)) return std::nullopt;
  QByteArray bytes = m_file.read(size);
  if (bytes.size() != size) return std::nullopt;
  return bytes;
}

std::optional<QByteArray> DbaseMemoFile::TextUpToEnd(qint64 at) {
  if (!m_file.seek(at)) return std::nullopt;
  QByteArray text;
  while (text.size() < kLongestUnendedMemo) {
    const QByteArray block = m_file.read(m_blockSize);
    if (block.isEmpty()) return text;  // the file's end ends the last memo
    const qsizetype end = block.indexOf(kEndOfText);
    if (end >= 0) return text + block.left(end);
    text += block;
  }
  return std::nullopt;
}

}  // namespace pv
