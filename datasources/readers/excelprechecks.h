#pragma once
// What freexl reads of an Excel workbook without checking it, checked
// before freexl sees the file. freexl decodes the names of the compound
// file's entries and the texts of the records by the lengths they claim, so
// a name longer than an entry holds, or a text longer than its record, makes
// it read memory that is not the file's; and it loses the memory of a sheet
// whose part of the workbook stream never ends.
#include <QByteArrayView>
#include <QString>

namespace pv {

// Why freexl may not read the workbook stream; empty when every part of it
// that begins (the workbook's globals, each sheet) also ends, and every text
// of a number format or of a text cell lies within its record.
QString ExcelRecordsFault(QByteArrayView stream);

// False when an entry of a compound file's directory (its entries of 128
// bytes in a row) claims a name longer than the 64 bytes an entry holds.
bool ExcelDirectoryNamesFit(QByteArrayView directory);

}  // namespace pv
