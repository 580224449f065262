#include "datasources/readers/excelrecords.h"

#include <cstring>

namespace pv::excel {

namespace {

constexpr quint16 kContinue = 0x003C;

}  // namespace

quint16 Word16(QByteArrayView b, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

quint32 Word32(QByteArrayView b, qsizetype at) {
  return static_cast<quint32>(Word16(b, at)) | (static_cast<quint32>(Word16(b, at + 2)) << 16);
}

double Double64(QByteArrayView b, qsizetype at) {
  const quint64 bits = Word32(b, at) | (static_cast<quint64>(Word32(b, at + 4)) << 32);
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

bool RecordWalker::Next(Record& record) {
  const auto header = [this](qsizetype at, quint16* type, quint16* size) {
    if (at + 4 > m_stream.size()) return false;
    *type = Word16(m_stream, at);
    *size = Word16(m_stream, at + 2);
    return at + 4 + *size <= m_stream.size();
  };
  quint16 type = 0, size = 0;
  if (!header(m_at, &type, &size) || (type == 0 && size == 0)) return false;
  record.offset = m_at;
  record.type = type;
  record.breaks.clear();
  record.data = m_stream.sliced(m_at + 4, size);
  m_at += 4 + size;
  quint16 nextType = 0, nextSize = 0;
  if (type == kContinue || !header(m_at, &nextType, &nextSize) || nextType != kContinue) return true;
  m_joined = record.data.toByteArray();
  while (header(m_at, &nextType, &nextSize) && nextType == kContinue) {
    record.breaks.push_back(m_joined.size());
    m_joined += m_stream.sliced(m_at + 4, nextSize);
    m_at += 4 + nextSize;
  }
  record.data = m_joined;
  return true;
}

bool FieldReader::Need(qsizetype bytes) {
  if (m_bad || bytes < 0 || m_at + bytes > m_record.data.size()) {
    m_bad = true;
    return false;
  }
  return true;
}

quint8 FieldReader::U8() {
  if (!Need(1)) return 0;
  return static_cast<quint8>(m_record.data[m_at++]);
}

quint16 FieldReader::U16() {
  if (!Need(2)) return 0;
  m_at += 2;
  return Word16(m_record.data, m_at - 2);
}

quint32 FieldReader::U32() {
  if (!Need(4)) return 0;
  m_at += 4;
  return Word32(m_record.data, m_at - 4);
}

double FieldReader::F64() {
  if (!Need(8)) return 0;
  m_at += 8;
  return Double64(m_record.data, m_at - 8);
}

void FieldReader::Skip(qsizetype bytes) {
  if (Need(bytes)) m_at += bytes;
}

qsizetype FieldReader::NextBreak() const {
  for (const qsizetype at : m_record.breaks) {
    if (at >= m_at) return at;
  }
  return m_record.data.size();
}

QString FieldReader::Unicode(int countBytes) {
  const qsizetype count = countBytes == 1 ? U8() : U16();
  const quint8 flags = U8();
  const quint16 runs = (flags & 0x08) != 0 ? U16() : 0;
  const quint32 extra = (flags & 0x04) != 0 ? U32() : 0;
  bool wide = (flags & 0x01) != 0;
  QString text;
  text.reserve(count);
  while (!m_bad && text.size() < count) {
    // Characters cut by a continuation go on after a byte that says again
    // whether they are one byte or two.
    qsizetype end = NextBreak();
    if (end == m_at && end < m_record.data.size()) {
      wide = (U8() & 0x01) != 0;
      end = NextBreak();
    }
    const qsizetype width = wide ? 2 : 1;
    const qsizetype take = std::min<qsizetype>(count - text.size(), (end - m_at) / width);
    if (take <= 0) {
      m_bad = true;
      break;
    }
    const QByteArrayView bytes = m_record.data.sliced(m_at, take * width);
    if (wide) {
      for (qsizetype i = 0; i < take; ++i) text.append(QChar(Word16(bytes, 2 * i)));
    } else {
      text.append(QString::fromLatin1(bytes));
    }
    m_at += take * width;
  }
  Skip(qsizetype{runs} * 4);
  Skip(static_cast<qsizetype>(extra));
  return m_bad ? QString() : text;
}

QString FieldReader::Narrow(int countBytes, const CodePageText& codePage) {
  const qsizetype count = countBytes == 1 ? U8() : U16();
  if (!Need(count)) return {};
  m_at += count;
  return codePage.Decode(m_record.data.sliced(m_at - count, count));
}

}  // namespace pv::excel
