#include "datasources/readers/excelprechecks.h"

namespace pv {

namespace {

quint16 Word16(QByteArrayView b, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

}  // namespace

QString ExcelRecordsFault(QByteArrayView stream) {
  int open = 0;  // parts begun (a BOF of any version) and not yet ended (EOF)
  for (qsizetype at = 0; at + 4 <= stream.size();) {
    const quint16 type = Word16(stream, at);
    const quint16 size = Word16(stream, at + 2);
    if (type == 0 && size == 0) break;  // padding after the last record
    if (at + 4 + size > stream.size()) break;
    if (type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809) ++open;
    if (type == 0x000A && open > 0) --open;
    at += 4 + size;
  }
  if (open > 0) return QStringLiteral("Un foglio della cartella di lavoro non ha fine.");
  return {};
}

bool ExcelDirectoryNamesFit(QByteArrayView directory) {
  for (qsizetype at = 0; at + 128 <= directory.size(); at += 128) {
    if (Word16(directory, at + 0x40) > 64) return false;
  }
  return true;
}

}  // namespace pv
