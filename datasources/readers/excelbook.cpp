#include "datasources/readers/excelbook.h"

#include <algorithm>

namespace pv::excel {

namespace {

enum : quint16 {
  kBof2 = 0x0009,
  kBof3 = 0x0209,
  kBof4 = 0x0409,
  kBof = 0x0809,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kCodePage = 0x0042,
  kDateMode = 0x0022,
  kFormat2 = 0x001E,
  kFormat = 0x041E,
  kXf3 = 0x0243,
  kXf4 = 0x0443,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kBoundSheet = 0x0085,
  kDimensions2 = 0x0000,
  kDimensions = 0x0200,
  // BIFF 2 cells: row, column, three bytes of attributes, the value.
  kBlank2 = 0x0001,
  kInteger2 = 0x0002,
  kNumber2 = 0x0003,
  kLabel2 = 0x0004,
  kBoolErr2 = 0x0005,
  kFormula2 = 0x0006,  // also the formula of BIFF 5 and 8
  kString2 = 0x0007,
  // Later cells: row, column, cell format, the value.
  kBlank = 0x0201,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kFormula3 = 0x0206,
  kFormula4 = 0x0406,
  kString = 0x0207,
  kRk = 0x027E,
  kMulRk = 0x00BD,
  kMulBlank = 0x00BE,
  kLabelSst = 0x00FD,
  kRString = 0x00D6,
};

// What the first record of a sheet's records says of them.
constexpr quint16 kGlobals = 0x0005;
constexpr quint16 kWorksheet = 0x0010;
constexpr quint16 kWorkspace4 = 0x0100;

// Excel's limits: 65,536 rows (16,384 before Excel 97) of 256 columns.
constexpr quint32 kMaxRows = 65536;
constexpr quint32 kMaxColumns = 256;

bool IsBof(quint16 type) { return type == kBof || type == kBof2 || type == kBof3 || type == kBof4; }

// The formula's result as Excel stored it when it last computed it: a
// number, or in bytes 6-7 0xFFFF and in byte 0 the kind of the result.
excel::Cell FormulaResult(QByteArrayView result, Shown shown, bool base1904, bool* textFollows) {
  *textFollows = false;
  if (Word16(result, 6) != 0xFFFF) return NumberCell(Double64(result, 0), shown, base1904);
  switch (static_cast<quint8>(result[0])) {
    case 0: *textFollows = true; return {};  // in the STRING record after it
    case 1: return {excel::Cell::Logical, QVariant(result[2] != 0)};
    case 3: return {excel::Cell::Text, QVariant(QString())};
    default: return {};  // an error reads as Null, as Jet reads it
  }
}

// Every sheet's dimensions must be ones a sheet can have, and given once:
// a file that breaks this is damaged, or made to mislead a reader.
void CheckDimensions(QByteArrayView stream, int biff) {
  RecordWalker walker(stream, 0);
  Record record;
  bool dimensionsSeen = false;
  int depth = 0;
  while (walker.Next(record)) {
    if (IsBof(record.type)) {
      if (++depth == 1) dimensionsSeen = false;
    } else if (record.type == kEof) {
      depth = std::max(depth - 1, 0);
    } else if (record.type == (biff == 2 ? kDimensions2 : kDimensions)) {
      const bool wide = biff == 8;
      if (record.data.size() < (wide ? 12 : 8))
        throw Unreadable{QStringLiteral("Un foglio ha dimensioni danneggiate.")};
      const quint32 rows = wide ? Word32(record.data, 4) : Word16(record.data, 2);
      const quint32 columns = Word16(record.data, wide ? 10 : 6);
      if (rows > kMaxRows || columns > kMaxColumns) {
        throw Unreadable{
            QStringLiteral("Un foglio dichiara %1 righe per %2 colonne, più di quante un foglio di Excel ne abbia.")
                .arg(rows)
                .arg(columns)};
      }
      if (depth == 1 && dimensionsSeen)
        throw Unreadable{QStringLiteral("Un foglio dichiara le sue dimensioni due volte.")};
      dimensionsSeen = dimensionsSeen || depth == 1;
    }
  }
}

}  // namespace

Workbook::Workbook(QByteArray stream, const QString& singleSheet) : m_stream(std::move(stream)) {
  RecordWalker walker(m_stream, 0);
  Record bof;
  if (!walker.Next(bof) || !IsBof(bof.type) || bof.data.size() < 4) throw Unreadable{};
  const quint16 version = Word16(bof.data, 0);
  const quint16 kind = Word16(bof.data, 2);
  switch (bof.type) {
    case kBof2: m_biff = 2; break;
    case kBof3: m_biff = 3; break;
    case kBof4: m_biff = 4; break;
    default: m_biff = version == 0x0600 || (version != 0x0500 && bof.data.size() >= 16) ? 8 : 5;
  }
  if (m_biff == 4 && kind == kWorkspace4)
    throw Unreadable{QStringLiteral("Cartella di lavoro di Excel 4.0 (più fogli in un file): formato non supportato.")};
  if (m_biff < 5 && kind != kWorksheet)
    throw Unreadable{QStringLiteral("Foglio grafico o di macro di Excel %1: formato non supportato.")
                         .arg(m_biff == 2 ? QStringLiteral("2.1") : QStringLiteral("%1.0").arg(m_biff))};
  if (m_biff < 5 || kind == kWorksheet) {
    // One worksheet, its globals among its own records (which come before
    // its cells): a file protected by a password says so next.
    m_singleSheet = true;
    m_offsets.push_back(0);
    m_names.append(singleSheet);
    Record next;
    if (walker.Next(next) && next.type == kFilePass) Global(next);
    CheckDimensions(m_stream, m_biff);
    return;
  }
  if (kind != kGlobals) throw Unreadable{};
  Record record;
  while (walker.Next(record) && record.type != kEof) {
    if (record.type == kBoundSheet) {
      FieldReader fields(record);
      const quint32 offset = fields.U32();
      fields.Skip(1);  // visible or hidden
      const quint8 type = fields.U8();
      const QString name = m_biff == 8 ? fields.Unicode(1) : Narrow(fields, 1);
      if (fields.Bad()) throw Unreadable{QStringLiteral("Un foglio ha il nome danneggiato.")};
      if (type == 0) {  // a worksheet; charts and modules hold no table
        m_offsets.push_back(offset);
        m_names.append(name);
      }
    } else {
      Global(record);
    }
  }
  CheckDimensions(m_stream, m_biff);
}

bool Workbook::Global(const Record& record) {
  FieldReader fields(record);
  switch (record.type) {
    case kFilePass:
      throw Unreadable{QStringLiteral("Cartella di lavoro protetta da password: formato cifrato non supportato.")};
    case kCodePage: {
      const quint16 page = fields.U16();
      // 0x8001 and 1200 (UTF-16, whose BIFF 8 strings say so themselves)
      // mean Windows-1252 for the 8-bit strings; 0x8000 is the Macintosh's.
      m_codePage = CodePageText(page == 0x8001 || page == 1200 || page == 367 ? 1252 : page == 0x8000 ? 10000 : page);
      return true;
    }
    case kDateMode: m_base1904 = fields.U16() == 1; return true;
    case kFormat2:
    case kFormat: {
      int index = static_cast<int>(m_formats.size());
      QString code;
      if (m_biff == 8) {
        index = fields.U16();
        code = fields.Unicode(2);
      } else if (m_biff == 5) {
        index = fields.U16();
        code = Narrow(fields, 1);
      } else {
        if (m_biff == 4) fields.Skip(2);
        code = Narrow(fields, 1);
      }
      if (!fields.Bad()) m_formats[index] = ShownByCode(code);
      m_xfShown.clear();
      return true;
    }
    case kXf3:
    case kXf4:
    case kXf:
      if (record.type == kXf) {
        fields.Skip(2);
        m_xfFormats.push_back(fields.U16());
      } else {
        fields.Skip(1);
        m_xfFormats.push_back(fields.U8());
      }
      m_xfShown.clear();
      return true;
    case kSst: {
      fields.Skip(4);
      const quint32 count = fields.U32();
      m_strings.reserve(std::min<qsizetype>(count, record.data.size() / 3));
      for (quint32 i = 0; i < count; ++i) {
        QString text = fields.Unicode(2);
        if (fields.Bad()) break;
        m_strings.push_back(std::move(text));
      }
      return true;
    }
    default: return false;
  }
}

Shown Workbook::ShownByFormat(int index) const {
  const auto found = m_formats.find(index);
  return found != m_formats.end() ? found->second : ShownByBuiltIn(index);
}

Shown Workbook::ShownByXf(quint16 xf) {
  if (m_xfShown.size() != m_xfFormats.size()) {
    m_xfShown.clear();
    for (const quint16 format : m_xfFormats) m_xfShown.push_back(ShownByFormat(format));
  }
  return xf < m_xfShown.size() ? m_xfShown[xf] : Shown::Number;
}

SheetCells Workbook::ReadSheet(qsizetype sheet) {
  RecordWalker walker(m_stream, m_offsets.at(static_cast<size_t>(sheet)));
  Record record;
  if (!walker.Next(record) || !IsBof(record.type))
    throw Unreadable{
        QStringLiteral("Il foglio \"%1\" non si trova dove la cartella di lavoro lo indica.").arg(m_names[sheet])};
  if (m_singleSheet) {
    // Its globals come again with its records.
    m_base1904 = false;
    m_codePage = CodePageText();
    m_formats.clear();
    m_xfFormats.clear();
    m_xfShown.clear();
  }
  SheetCells cells;
  qsizetype pendingText = -1;  // the cell of a formula whose text result comes next
  int depth = 1;
  while (depth > 0 && walker.Next(record)) {
    if (IsBof(record.type)) {
      ++depth;  // a chart's records within the sheet's
    } else if (record.type == kEof) {
      --depth;
    } else if (depth == 1 && !(m_singleSheet && Global(record))) {
      ReadCell(record, cells, pendingText);
    }
  }
  return cells;
}

void Workbook::ReadCell(const Record& record, SheetCells& sheet, qsizetype& pendingText) {
  const quint16 type = record.type;
  const bool legacy = m_biff == 2 && type >= kBlank2 && type <= kString2;
  if (type == (m_biff == 2 ? kString2 : kString)) {
    FieldReader fields(record);
    const QString text = m_biff == 8 ? fields.Unicode(2) : Narrow(fields, m_biff == 2 ? 1 : 2);
    if (pendingText >= 0 && !fields.Bad()) sheet.cells[pendingText].cell = {excel::Cell::Text, QVariant(text)};
    pendingText = -1;
    return;
  }
  const bool cell = legacy || type == kBlank || type == kNumber || type == kLabel || type == kBoolErr ||
                    type == kFormula2 || type == kFormula3 || type == kFormula4 || type == kRk || type == kLabelSst ||
                    type == kRString || type == kMulRk || type == kMulBlank;
  if (!cell || record.data.size() < 4) return;
  pendingText = -1;
  FieldReader fields(record);
  const quint32 row = fields.U16();
  const quint32 column = fields.U16();
  const auto reach = [&sheet, row](quint32 lastColumn) {
    sheet.rows = std::max(sheet.rows, row + 1);
    sheet.columns = std::max(sheet.columns, lastColumn + 1);
  };
  if (column >= kMaxColumns) return;  // past a sheet's last column
  const auto place = [&](excel::Cell&& value) {
    reach(column);
    sheet.cells.push_back({row, column, std::move(value)});
  };
  if (type == kMulRk || type == kMulBlank) {
    // Cells side by side: a cell format (and an RK value) each, the last
    // column at the end.
    const qsizetype each = type == kMulRk ? 6 : 2;
    const qsizetype count = (record.data.size() - 6) / each;
    for (qsizetype i = 0; i < count && column + i < kMaxColumns; ++i) {
      const quint32 at = column + static_cast<quint32>(i);
      reach(at);
      if (type == kMulRk) {
        const quint16 xf = fields.U16();
        sheet.cells.push_back({row, at, RkCell(fields.U32(), ShownByXf(xf), m_base1904)});
      }
    }
    return;
  }
  Shown shown = Shown::Number;
  if (m_biff == 2) {
    fields.Skip(1);
    shown = ShownByFormat(fields.U8() & 0x3F);
    fields.Skip(1);
  } else {
    shown = ShownByXf(fields.U16());
  }
  if (fields.Bad()) return;
  switch (type) {
    case kInteger2:
      if (legacy) return place(WholeCell(fields.U16(), shown, m_base1904));
      break;
    case kNumber:
    case kNumber2: return place(NumberCell(fields.F64(), shown, m_base1904));
    case kRk: return place(RkCell(fields.U32(), shown, m_base1904));
    case kLabel:
    case kLabel2:
    case kRString: {
      const QString text = m_biff == 8 ? fields.Unicode(2) : Narrow(fields, m_biff == 2 ? 1 : 2);
      return place(fields.Bad() ? excel::Cell{} : excel::Cell{excel::Cell::Text, QVariant(text)});
    }
    case kLabelSst: {
      const quint32 index = fields.U32();
      return place(!fields.Bad() && index < m_strings.size()
                       ? excel::Cell{excel::Cell::Text, QVariant(m_strings[index])}
                       : excel::Cell{});
    }
    case kBoolErr:
    case kBoolErr2: {
      const quint8 value = fields.U8();
      const bool error = fields.U8() != 0;
      // An error (#N/A, #DIV/0! ...) reads as Null, as Jet reads it.
      return place(error || fields.Bad() ? excel::Cell{} : excel::Cell{excel::Cell::Logical, QVariant(value != 0)});
    }
    case kFormula2:
    case kFormula3:
    case kFormula4: {
      const qsizetype at = m_biff == 2 ? 7 : 6;
      if (record.data.size() < at + 8) return reach(column);
      bool textFollows = false;
      place(FormulaResult(record.data.sliced(at, 8), shown, m_base1904, &textFollows));
      if (textFollows) pendingText = static_cast<qsizetype>(sheet.cells.size()) - 1;
      return;
    }
    default: break;
  }
  reach(column);  // a blank cell
}

}  // namespace pv::excel
