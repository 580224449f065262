#include "datasources/readers/excelcontainer.h"

#include "datasources/readers/excelrecords.h"

#include <QString>

#include <vector>

namespace pv::excel {

namespace {

class CompoundFile {
 public:
  static constexpr quint32 kEndOfChain = 0xFFFFFFFEu;
  static constexpr quint32 kFree = 0xFFFFFFFFu;

  static bool IsOne(QByteArrayView file) {
    return file.size() >= 512 && file.first(8) == QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  }

  explicit CompoundFile(QByteArrayView file) : m_file(file) {}

  // The first stream named "Workbook" or "Book".
  std::optional<QByteArray> Workbook() {
    const int shift = Word16(m_file, 0x1E);
    if (shift != 9 && shift != 12) return std::nullopt;
    m_sectorSize = qsizetype{1} << shift;
    m_sectors = m_file.size() / m_sectorSize - 1;
    if (!ReadFat()) return std::nullopt;
    const std::optional<QByteArray> directory = Chain(Word32(m_file, 0x30), -1);
    if (!directory) return std::nullopt;
    std::optional<std::pair<quint32, quint32>> root, book;
    for (qsizetype at = 0; at + 128 <= directory->size(); at += 128) {
      const QByteArrayView entry = QByteArrayView(*directory).sliced(at, 128);
      const int nameBytes = Word16(entry, 0x40);
      if (nameBytes < 2 || nameBytes > 64) continue;
      const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(entry.data()), nameBytes / 2 - 1);
      const std::pair<quint32, quint32> where{Word32(entry, 0x74), Word32(entry, 0x78)};
      if (!root && entry[0x42] == 5) root = where;
      if (!book && (name == QLatin1String("Workbook") || name == QLatin1String("Book"))) book = where;
    }
    if (!book) return std::nullopt;
    // A stream below the cutoff size lives in the mini stream, in sectors of
    // its own.
    if (book->second >= Word32(m_file, 0x38) || Word32(m_file, 0x40) == 0) return Chain(book->first, book->second);
    if (!root) return std::nullopt;
    const std::optional<QByteArray> mini = Chain(root->first, root->second);
    const std::optional<QByteArray> miniFat = Chain(Word32(m_file, 0x3C), -1);
    const int miniShift = Word16(m_file, 0x20);
    if (!mini || !miniFat || miniShift < 6 || miniShift > 12) return std::nullopt;
    const qsizetype miniSize = qsizetype{1} << miniShift;
    QByteArray stream;
    qsizetype steps = 0;
    for (quint32 sector = book->first; stream.size() < book->second && sector != kEndOfChain;) {
      const qsizetype at = static_cast<qsizetype>(sector) * miniSize;
      if (at + miniSize > mini->size() || static_cast<qsizetype>(sector) * 4 + 4 > miniFat->size() ||
          ++steps > mini->size() / miniSize)
        return std::nullopt;
      stream += QByteArrayView(*mini).sliced(at, miniSize);
      sector = Word32(*miniFat, static_cast<qsizetype>(sector) * 4);
    }
    if (stream.size() < book->second) return std::nullopt;
    stream.truncate(book->second);
    return stream;
  }

 private:
  QByteArrayView Sector(quint32 sector) const {
    return m_file.sliced((static_cast<qsizetype>(sector) + 1) * m_sectorSize, m_sectorSize);
  }

  // The sector allocation table, from the header's list of its sectors and
  // the list's continuation sectors.
  bool ReadFat() {
    std::vector<quint32> fatSectors;
    for (int i = 0; i < 109; ++i) fatSectors.push_back(Word32(m_file, 0x4C + 4 * i));
    quint32 next = Word32(m_file, 0x44);
    for (quint32 n = Word32(m_file, 0x48); n > 0 && next != kEndOfChain && next != kFree; --n) {
      if (next >= m_sectors || fatSectors.size() > static_cast<size_t>(m_sectors) + 109) return false;
      const QByteArrayView sector = Sector(next);
      for (qsizetype at = 0; at + 4 < m_sectorSize; at += 4) fatSectors.push_back(Word32(sector, at));
      next = Word32(sector, m_sectorSize - 4);
    }
    for (const quint32 sector : fatSectors) {
      if (sector == kFree) continue;
      if (sector >= m_sectors) return false;
      const QByteArrayView bytes = Sector(sector);
      for (qsizetype at = 0; at < m_sectorSize; at += 4) m_fat.push_back(Word32(bytes, at));
      if (static_cast<qsizetype>(m_fat.size()) > m_sectors + m_sectorSize) break;  // more than the file holds
    }
    return !m_fat.empty();
  }

  // The bytes of a chain of sectors; `size` of them, or the whole chain when
  // negative.
  std::optional<QByteArray> Chain(quint32 start, qint64 size) const {
    QByteArray bytes;
    qsizetype steps = 0;
    for (quint32 sector = start; sector != kEndOfChain && (size < 0 || bytes.size() < size);) {
      if (sector >= m_sectors || sector >= m_fat.size() || ++steps > m_sectors) return std::nullopt;
      bytes += Sector(sector);
      sector = m_fat[sector];
    }
    if (size >= 0) {
      if (bytes.size() < size) return std::nullopt;
      bytes.truncate(static_cast<qsizetype>(size));
    }
    return bytes;
  }

  QByteArrayView m_file;
  qsizetype m_sectorSize = 512;
  qsizetype m_sectors = 0;
  std::vector<quint32> m_fat;
};

}  // namespace

bool IsCompoundFile(QByteArrayView file) { return CompoundFile::IsOne(file); }

std::optional<QByteArray> WorkbookStream(QByteArrayView file) {
  if (!CompoundFile::IsOne(file)) return std::nullopt;
  return CompoundFile(file).Workbook();
}

}  // namespace pv::excel
