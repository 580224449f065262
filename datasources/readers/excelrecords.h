#pragma once
// The records of an Excel workbook's stream, checked before freexl reads
// them. freexl copies each record into a buffer of the format's largest
// record (8,224 bytes) and decodes its strings without looking at the
// length the record claims: a longer record, or one that runs past the end
// of the stream, makes it read memory that is not the file's.
#include <QByteArrayView>
#include <QString>

namespace pv {

// Why freexl may not read the stream; empty when every record lies within
// the stream and within the format's limit.
QString ExcelRecordsFault(QByteArrayView stream);

}  // namespace pv
