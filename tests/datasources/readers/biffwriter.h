#pragma once
// Excel files for the readers' tests, written record by record: the bare
// record stream of an Excel 2.1-4.0 worksheet, or the globals and sheets of
// a BIFF 5 or 8 workbook in a compound file. Cells carry what the tests
// read back, formulas with their stored results among them.
#include <QByteArray>
#include <QString>

#include <vector>

namespace pv::testing {

class BiffStream {
 public:
  explicit BiffStream(int biff) : m_biff(biff) {}

  int Biff() const { return m_biff; }
  qsizetype Size() const { return m_bytes.size(); }
  const QByteArray& Bytes() const { return m_bytes; }

  BiffStream& Record(quint16 type, const QByteArray& data);
  // type: 0x0005 the workbook's globals, 0x0010 a worksheet, 0x0100 an Excel
  // 4.0 workbook.
  BiffStream& Bof(quint16 type);
  BiffStream& Eof() { return Record(0x000A, {}); }
  // A number format (BIFF 2 to 4 number them in order; BIFF 5 and 8 by
  // `index`) and a cell format showing it (BIFF 3 and later: a cell's
  // `format` counts these records).
  BiffStream& Format(int index, const QString& code);
  BiffStream& Xf(int format);
  BiffStream& DateMode1904() { return Record(0x0022, Word(1)); }
  // The code page of the 8-bit texts written after it (BIFF 2 to 5).
  BiffStream& CodePage(int page);
  // A sheet's name and where its records start; the offset is set later
  // with SetSheetOffset.
  BiffStream& BoundSheet(const QString& name);
  void SetSheetOffset(int sheet, quint32 offset);

  // Cells. `format` is the cell format (BIFF 3 and later) or the number
  // format (BIFF 2).
  BiffStream& Number(int row, int column, double value, int format = 0);
  BiffStream& Whole(int row, int column, int value, int format = 0);  // RK, or BIFF 2's integer
  BiffStream& Label(int row, int column, const QString& text);
  BiffStream& LabelSst(int row, int column, int index);
  BiffStream& Logical(int row, int column, bool value);
  BiffStream& Error(int row, int column, quint8 code);
  BiffStream& Blank(int row, int column);
  // A formula and its stored result: a number, a text (in the STRING record
  // after it), a logical, an error (by its code: 0x2A is #N/A) or an empty
  // text.
  BiffStream& FormulaNumber(int row, int column, double value, int format = 0);
  BiffStream& FormulaText(int row, int column, const QString& text);
  BiffStream& FormulaLogical(int row, int column, bool value);
  BiffStream& FormulaError(int row, int column, quint8 code);
  BiffStream& FormulaEmptyText(int row, int column);

  static QByteArray Word(int value);
  static QByteArray Long(quint32 value);

 private:
  // A cell's record: BIFF 2's type or the later one, and the value after
  // the row, column and format.
  BiffStream& Cell(quint16 type2, quint16 type, int row, int column, int format, const QByteArray& value);
  QByteArray Text(const QString& text, int countBytes) const;
  BiffStream& Formula(int row, int column, const QByteArray& result, int format);

  int m_biff;
  int m_codePage = 1252;
  QByteArray m_bytes;
  std::vector<qsizetype> m_sheetOffsets;  // of each BoundSheet's offset field
};

// A BIFF 5 or 8 workbook stream: the globals, then each sheet.
struct SheetRecords {
  QString name;
  BiffStream cells;  // between the sheet's BOF and EOF
};
QByteArray WorkbookStream(BiffStream globals, const std::vector<SheetRecords>& sheets);

// The stream as the compound file Excel writes, named "Workbook" (BIFF 8)
// or "Book" (BIFF 5).
QByteArray CompoundFile(const QByteArray& stream, const QString& name);

}  // namespace pv::testing
