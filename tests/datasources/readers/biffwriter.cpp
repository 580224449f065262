#include "biffwriter.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <cstring>

namespace pv::testing {

QByteArray BiffStream::Word(int value) {
  QByteArray bytes(2, '\0');
  bytes[0] = static_cast<char>(value & 0xff);
  bytes[1] = static_cast<char>((value >> 8) & 0xff);
  return bytes;
}

QByteArray BiffStream::Long(quint32 value) {
  return Word(static_cast<int>(value & 0xffff)) + Word(static_cast<int>(value >> 16));
}

namespace {

QByteArray DoubleBytes(double value) {
  quint64 bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return BiffStream::Long(static_cast<quint32>(bits)) + BiffStream::Long(static_cast<quint32>(bits >> 32));
}

// A formula's result that is no number: its kind, and a logical's or an
// error's value.
QByteArray SpecialResult(quint8 kind, quint8 value) {
  QByteArray bytes(8, '\0');
  bytes[0] = static_cast<char>(kind);
  bytes[2] = static_cast<char>(value);
  bytes[6] = bytes[7] = '\xFF';
  return bytes;
}

}  // namespace

BiffStream& BiffStream::Record(quint16 type, const QByteArray& data) {
  m_bytes += Word(type) + Word(static_cast<int>(data.size())) + data;
  return *this;
}

BiffStream& BiffStream::CodePage(int page) {
  m_codePage = page;
  return Record(0x0042, Word(page));
}

BiffStream& BiffStream::Bof(quint16 type) {
  switch (m_biff) {
    case 2: return Record(0x0009, Word(2) + Word(type));
    case 3: return Record(0x0209, Word(0) + Word(type) + Word(0));
    case 4: return Record(0x0409, Word(0) + Word(type) + Word(0));
    case 5: return Record(0x0809, Word(0x0500) + Word(type) + Word(0) + Word(1995));
    default: return Record(0x0809, Word(0x0600) + Word(type) + Word(0) + Word(1997) + Long(0) + Long(6));
  }
}

QByteArray BiffStream::Text(const QString& text, int countBytes) const {
  const QByteArray count =
      countBytes == 1 ? QByteArray(1, static_cast<char>(text.size())) : Word(static_cast<int>(text.size()));
  if (m_biff == 8) {
    bool narrow = true;
    for (const QChar c : text) narrow = narrow && c.unicode() < 0x100;
    if (narrow) return count + QByteArray(1, '\0') + text.toLatin1();
    QByteArray wide;
    for (const QChar c : text) wide += Word(c.unicode());
    return count + QByteArray(1, '\1') + wide;
  }
  QStringEncoder encoder(QStringLiteral("windows-%1").arg(m_codePage).toLatin1().constData());
  const QByteArray bytes = encoder.encode(text);
  return (countBytes == 1 ? QByteArray(1, static_cast<char>(bytes.size())) : Word(static_cast<int>(bytes.size()))) +
         bytes;
}

BiffStream& BiffStream::Format(int index, const QString& code) {
  if (m_biff <= 3) return Record(0x001E, Text(code, 1));
  if (m_biff == 4) return Record(0x041E, Word(0) + Text(code, 1));
  return Record(0x041E, Word(index) + Text(code, m_biff == 8 ? 2 : 1));
}

BiffStream& BiffStream::Xf(int format) {
  if (m_biff <= 4) {
    QByteArray data(12, '\0');
    data[1] = static_cast<char>(format);
    return Record(m_biff == 3 ? 0x0243 : 0x0443, data);
  }
  QByteArray data(m_biff == 8 ? 20 : 16, '\0');
  data.replace(2, 2, Word(format));
  return Record(0x00E0, data);
}

BiffStream& BiffStream::BoundSheet(const QString& name) {
  m_sheetOffsets.push_back(m_bytes.size() + 4);
  return Record(0x0085, Long(0) + QByteArray(2, '\0') + Text(name, 1));
}

void BiffStream::SetSheetOffset(int sheet, quint32 offset) {
  m_bytes.replace(m_sheetOffsets.at(static_cast<size_t>(sheet)), 4, Long(offset));
}

BiffStream& BiffStream::Cell(quint16 type2, quint16 type, int row, int column, int format, const QByteArray& value) {
  if (m_biff == 2) {
    QByteArray attributes(3, '\0');
    attributes[1] = static_cast<char>(format & 0x3F);
    return Record(type2, Word(row) + Word(column) + attributes + value);
  }
  return Record(type, Word(row) + Word(column) + Word(format) + value);
}

BiffStream& BiffStream::Number(int row, int column, double value, int format) {
  return Cell(0x0003, 0x0203, row, column, format, DoubleBytes(value));
}

BiffStream& BiffStream::Whole(int row, int column, int value, int format) {
  if (m_biff == 2) return Cell(0x0002, 0, row, column, format, Word(value));
  return Cell(0, 0x027E, row, column, format, Long((static_cast<quint32>(value) << 2) | 2));
}

BiffStream& BiffStream::Label(int row, int column, const QString& text) {
  return Cell(0x0004, 0x0204, row, column, 0, Text(text, m_biff == 2 ? 1 : 2));
}

BiffStream& BiffStream::LabelSst(int row, int column, int index) {
  return Cell(0, 0x00FD, row, column, 0, Long(static_cast<quint32>(index)));
}

BiffStream& BiffStream::Logical(int row, int column, bool value) {
  return Cell(0x0005, 0x0205, row, column, 0, QByteArray(1, value ? '\1' : '\0') + QByteArray(1, '\0'));
}

BiffStream& BiffStream::Error(int row, int column, quint8 code) {
  return Cell(0x0005, 0x0205, row, column, 0, QByteArray(1, static_cast<char>(code)) + QByteArray(1, '\1'));
}

BiffStream& BiffStream::Blank(int row, int column) { return Cell(0x0001, 0x0201, row, column, 0, {}); }

BiffStream& BiffStream::Formula(int row, int column, const QByteArray& result, int format) {
  // The formula itself (=1, as a token the reader never looks at) after
  // its result and flags.
  const QByteArray tokens = QByteArray("\x1E\x01\x00", 3);
  QByteArray rest;
  switch (m_biff) {
    case 2: rest = QByteArray(1, '\0') + QByteArray(1, static_cast<char>(tokens.size())); break;
    case 3:
    case 4: rest = Word(0) + Word(static_cast<int>(tokens.size())); break;
    default: rest = Word(0) + Long(0) + Word(static_cast<int>(tokens.size()));
  }
  const quint16 type = m_biff == 3 ? 0x0206 : m_biff == 4 ? 0x0406 : 0x0006;
  return Cell(0x0006, type, row, column, format, result + rest + tokens);
}

BiffStream& BiffStream::FormulaNumber(int row, int column, double value, int format) {
  return Formula(row, column, DoubleBytes(value), format);
}

BiffStream& BiffStream::FormulaText(int row, int column, const QString& text) {
  Formula(row, column, SpecialResult(0, 0), 0);
  return Record(m_biff == 2 ? 0x0007 : 0x0207, Text(text, m_biff == 2 ? 1 : 2));
}

BiffStream& BiffStream::FormulaLogical(int row, int column, bool value) {
  return Formula(row, column, SpecialResult(1, value ? 1 : 0), 0);
}

BiffStream& BiffStream::FormulaError(int row, int column, quint8 code) {
  return Formula(row, column, SpecialResult(2, code), 0);
}

BiffStream& BiffStream::FormulaEmptyText(int row, int column) { return Formula(row, column, SpecialResult(3, 0), 0); }

QByteArray WorkbookStream(BiffStream globals, const std::vector<SheetRecords>& sheets) {
  globals.Eof();
  QByteArray stream;
  for (size_t i = 0; i < sheets.size(); ++i) {
    globals.SetSheetOffset(static_cast<int>(i), static_cast<quint32>(globals.Size() + stream.size()));
    BiffStream sheet(globals.Biff());
    sheet.Bof(0x0010);
    stream += sheet.Bytes() + sheets[i].cells.Bytes();
    stream += BiffStream(globals.Biff()).Eof().Bytes();
  }
  return globals.Bytes() + stream;
}

QByteArray CompoundFile(const QByteArray& stream, const QString& name) {
  constexpr quint32 kEnd = 0xFFFFFFFEu, kFree = 0xFFFFFFFFu, kFatSector = 0xFFFFFFFDu;
  // At least the size below which a stream would live in the mini stream:
  // the zeros after the records end them.
  QByteArray data = stream;
  if (data.size() < 4096) data.append(QByteArray(4096 - data.size(), '\0'));
  data.append(QByteArray((512 - data.size() % 512) % 512, '\0'));
  const quint32 sectors = static_cast<quint32>(data.size() / 512);
  EXPECT_LE(sectors + 2, 128u) << "one sector of the allocation table";
  const quint32 fat = sectors, directory = sectors + 1;

  QByteArray header(512, '\0');
  header.replace(0, 8, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
  const auto put = [](QByteArray& bytes, int at, const QByteArray& value) { bytes.replace(at, value.size(), value); };
  put(header, 0x18,
      BiffStream::Word(0x3E) + BiffStream::Word(3) + BiffStream::Word(0xFFFE) + BiffStream::Word(9) +
          BiffStream::Word(6));
  put(header, 0x2C, BiffStream::Long(1));  // sectors of the allocation table
  put(header, 0x30, BiffStream::Long(directory));
  put(header, 0x38,
      BiffStream::Long(4096) + BiffStream::Long(kEnd) + BiffStream::Long(0) + BiffStream::Long(kEnd) +
          BiffStream::Long(0));
  put(header, 0x4C, BiffStream::Long(fat));
  for (int i = 1; i < 109; ++i) put(header, 0x4C + 4 * i, BiffStream::Long(kFree));

  QByteArray table;
  for (quint32 i = 0; i < sectors; ++i) table += BiffStream::Long(i + 1 < sectors ? i + 1 : kEnd);
  table += BiffStream::Long(kFatSector) + BiffStream::Long(kEnd);
  while (table.size() < 512) table += BiffStream::Long(kFree);

  const auto entry = [](const QString& entryName, quint8 type, quint32 child, quint32 start, quint32 size) {
    QByteArray bytes(128, '\0');
    for (int i = 0; i < entryName.size(); ++i) bytes.replace(2 * i, 2, BiffStream::Word(entryName[i].unicode()));
    bytes.replace(0x40, 2, BiffStream::Word(entryName.isEmpty() ? 0 : static_cast<int>(2 * entryName.size() + 2)));
    bytes[0x42] = static_cast<char>(type);
    bytes[0x43] = 1;  // black
    bytes.replace(0x44, 12, BiffStream::Long(kFree) + BiffStream::Long(kFree) + BiffStream::Long(child));
    bytes.replace(0x74, 8, BiffStream::Long(start) + BiffStream::Long(size));
    return bytes;
  };
  QByteArray entries =
      entry(QStringLiteral("Root Entry"), 5, 1, kEnd, 0) + entry(name, 2, kFree, 0, static_cast<quint32>(data.size()));
  while (entries.size() < 512) entries += entry(QString(), 0, kFree, kFree, 0);
  return header + data + table + entries;
}

}  // namespace pv::testing
