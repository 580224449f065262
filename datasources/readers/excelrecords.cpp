#include "datasources/readers/excelrecords.h"

namespace pv {

namespace {

// The data of a BIFF 8 record is at most 8,224 bytes; older versions keep
// under 2,080.
constexpr qsizetype kMaxRecordData = 8224;

quint16 Word16(QByteArrayView b, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

QString ExcelRecordsFault(QByteArrayView stream) {
  for (qsizetype at = 0; at + 4 <= stream.size();) {
    const quint16 type = Word16(stream, at);
    const quint16 size = Word16(stream, at + 2);
    if (type == 0 && size == 0) break;  // padding after the last record
    if (size > kMaxRecordData)
      return QStringLiteral("Un record della cartella di lavoro è più lungo di quanto il formato ammetta.");
    if (at + 4 + size > stream.size()) return QStringLiteral("La cartella di lavoro finisce a metà di un record.");
    at += 4 + size;
  }
  return {};
}

}  // namespace pv
