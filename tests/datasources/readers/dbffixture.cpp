#include "dbffixture.h"

#include <QtEndian>

#include <algorithm>

#include <cstring>

namespace pv::testing {

namespace {

template <typename T>
QByteArray LittleEndian(T value) {
  QByteArray bytes(sizeof(T), '\0');
  qToLittleEndian(value, bytes.data());
  return bytes;
}

template <typename T>
QByteArray BigEndian(T value) {
  QByteArray bytes(sizeof(T), '\0');
  qToBigEndian(value, bytes.data());
  return bytes;
}

void PadTo(QByteArray& bytes, qsizetype multiple) {
  bytes.append(QByteArray((multiple - bytes.size() % multiple) % multiple, '\0'));
}

}  // namespace

QByteArray Le32(qint32 value) { return LittleEndian(value); }
QByteArray Le64(qint64 value) { return LittleEndian(value); }
QByteArray LeDouble(double value) {
  quint64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return LittleEndian(bits);
}
QByteArray BlockDigits(quint32 block) { return QByteArray::number(block).rightJustified(10, ' '); }

void DbfFixture::Add(const std::vector<QByteArray>& values, bool deleted) {
  QByteArray record(1, deleted ? '*' : ' ');
  for (size_t i = 0; i < fields.size(); ++i) {
    const QByteArray value = i < values.size() ? values[i] : QByteArray();
    record += value.left(fields[i].width).leftJustified(fields[i].width, ' ');
  }
  records.push_back(record);
}

QByteArray DbfFixture::Bytes() const {
  const bool visualFoxPro = version >= 0x30 && version <= 0x32;
  int recordLength = 1;
  for (const DbfFieldSpec& field : fields) recordLength += field.width;
  const int headerLength = 32 + 32 * static_cast<int>(fields.size()) + 1 + (visualFoxPro ? 263 : 0);
  QByteArray bytes(32, '\0');
  bytes[0] = static_cast<char>(version);
  bytes[1] = 124;
  bytes[2] = 5;
  bytes[3] = 17;
  qToLittleEndian(static_cast<quint32>(records.size()), bytes.data() + 4);
  qToLittleEndian(static_cast<quint16>(headerLength), bytes.data() + 8);
  qToLittleEndian(static_cast<quint16>(recordLength), bytes.data() + 10);
  bytes[29] = static_cast<char>(driver);
  int offset = 1;
  for (const DbfFieldSpec& field : fields) {
    QByteArray descriptor(32, '\0');
    std::memcpy(descriptor.data(), field.name, std::min<size_t>(std::strlen(field.name), 10));
    descriptor[11] = field.type;
    qToLittleEndian(static_cast<quint32>(offset), descriptor.data() + 12);
    descriptor[16] = static_cast<char>(field.width);
    descriptor[17] = static_cast<char>(field.decimals);
    descriptor[18] = static_cast<char>(field.flags);
    bytes += descriptor;
    offset += field.width;
  }
  bytes += '\x0D';
  if (visualFoxPro) bytes += QByteArray(263, '\0');
  for (const QByteArray& record : records) bytes += record;
  bytes += '\x1A';
  return bytes;
}

MemoFixture DBase3Memos(const std::vector<QByteArray>& memos) {
  MemoFixture memo{QByteArray(512, '\0'), {}};
  for (const QByteArray& text : memos) {
    memo.blocks.push_back(static_cast<quint32>(memo.bytes.size() / 512));
    memo.bytes += text + "\x1A\x1A";
    PadTo(memo.bytes, 512);
  }
  qToLittleEndian(static_cast<quint32>(memo.bytes.size() / 512), memo.bytes.data());
  memo.bytes[16] = 0x03;
  return memo;
}

MemoFixture DBase4Memos(const std::vector<QByteArray>& memos, int blockSize) {
  MemoFixture memo{QByteArray(blockSize, '\0'), {}};
  qToLittleEndian(static_cast<quint16>(blockSize), memo.bytes.data() + 20);
  for (const QByteArray& text : memos) {
    memo.blocks.push_back(static_cast<quint32>(memo.bytes.size() / blockSize));
    memo.bytes += QByteArray("\xFF\xFF\x08\x00", 4) + LittleEndian(static_cast<quint32>(text.size() + 8)) + text;
    PadTo(memo.bytes, blockSize);
  }
  qToLittleEndian(static_cast<quint32>(memo.bytes.size() / blockSize), memo.bytes.data());
  return memo;
}

MemoFixture FoxProMemos(const std::vector<QByteArray>& memos, int blockSize, quint32 type) {
  MemoFixture memo{QByteArray(512, '\0'), {}};
  PadTo(memo.bytes, blockSize);
  qToBigEndian(static_cast<quint16>(blockSize), memo.bytes.data() + 6);
  for (const QByteArray& text : memos) {
    memo.blocks.push_back(static_cast<quint32>(memo.bytes.size() / blockSize));
    memo.bytes += BigEndian(type) + BigEndian(static_cast<quint32>(text.size())) + text;
    PadTo(memo.bytes, blockSize);
  }
  qToBigEndian(static_cast<quint32>(memo.bytes.size() / blockSize), memo.bytes.data());
  return memo;
}

}  // namespace pv::testing
