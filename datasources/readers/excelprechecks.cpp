#include "datasources/readers/excelprechecks.h"

namespace pv {

namespace {

quint16 Word16(QByteArrayView b, qsizetype at) {
  return static_cast<quint16>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

// A BIFF 8 text of a number format (0x041E) or of a text cell (0x0204),
// whose count of characters (16 bits) starts at `count`, must lie within
// its record: freexl copies as many as the count says.
bool TextFits(QByteArrayView data, qsizetype count) {
  if (data.size() < count + 3) return false;
  const qsizetype width = (static_cast<unsigned char>(data[count + 2]) & 1) != 0 ? 2 : 1;
  return count + 3 + Word16(data, count) * width <= data.size();
}

}  // namespace

QString ExcelRecordsFault(QByteArrayView stream) {
  int open = 0;  // parts begun (a BOF of any version) and not yet ended (EOF)
  bool biff8 = false;
  for (qsizetype at = 0; at + 4 <= stream.size();) {
    const quint16 type = Word16(stream, at);
    const quint16 size = Word16(stream, at + 2);
    if (type == 0 && size == 0) break;  // padding after the last record
    if (at + 4 + size > stream.size()) break;
    const QByteArrayView data = stream.sliced(at + 4, size);
    if (at == 0) biff8 = type == 0x0809 && size >= 2 && Word16(data, 0) == 0x0600;
    if (type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809) ++open;
    if (type == 0x000A && open > 0) --open;
    if (biff8 && ((type == 0x041E && !TextFits(data, 2)) || (type == 0x0204 && !TextFits(data, 6))))
      return QStringLiteral("Un testo della cartella di lavoro è più lungo del suo record.");
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
