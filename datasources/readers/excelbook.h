#pragma once
// A workbook's records read into sheets of cells: the workbook's globals
// (its sheets, shared strings, number formats, code page and date system)
// once, each sheet's cell records when it is read. An Excel 2.1-4.0 file of
// one worksheet is a workbook of that one sheet.
#include "datasources/readers/excelcells.h"
#include "datasources/readers/excelrecords.h"
#include "datasources/readers/readerkit.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace pv::excel {

// A workbook that cannot be read, and why (empty when there is no more to
// say than that).
struct Unreadable {
  QString why;
};

struct PlacedCell {
  quint32 row = 0;
  quint32 column = 0;
  Cell cell;
};

struct SheetCells {
  // As far as its cell records (blank cells among them) reach.
  quint32 rows = 0;
  quint32 columns = 0;
  std::vector<PlacedCell> cells;  // in the order of their records; a later one replaces an earlier
};

class Workbook {
 public:
  // The workbook in `stream`; a file of one worksheet is the sheet
  // `singleSheet`. Throws Unreadable.
  Workbook(QByteArray stream, const QString& singleSheet);

  const QStringList& Sheets() const { return m_names; }
  // Throws Unreadable.
  SheetCells ReadSheet(qsizetype sheet);

 private:
  // A record of the workbook's globals; false when it is none.
  bool Global(const Record& record);
  // A cell record of a sheet; the STRING record after a formula whose
  // result is a text gives the text to the cell at `pendingText`.
  void ReadCell(const Record& record, SheetCells& sheet, qsizetype& pendingText);
  Shown ShownByXf(quint16 xf);
  Shown ShownByFormat(int index) const;
  QString Narrow(FieldReader& fields, int countBytes) const { return fields.Narrow(countBytes, m_codePage); }

  QByteArray m_stream;
  int m_biff = 8;
  bool m_singleSheet = false;
  bool m_base1904 = false;
  CodePageText m_codePage;
  std::vector<QString> m_strings;    // the shared strings (BIFF 8)
  std::map<int, Shown> m_formats;    // by format index; BIFF 2 to 4 number them in order
  std::vector<quint16> m_xfFormats;  // each cell format's number format
  std::vector<Shown> m_xfShown;      // the same, as what it shows (built when first needed)
  std::vector<qsizetype> m_offsets;  // of each sheet's first record
  QStringList m_names;
};

}  // namespace pv::excel
