#pragma once
// The rows on show of a recordset, kept as bytes: the program writes them
// once (after reading, filtering and sorting its merge source) and other
// processes of the same build open a recordset on them, which gives the
// same rows in the same order without opening the data source again.
//
// The bytes are the reader program's own encoding (process/protocol.h), as
// it sends a table: after a leading mark, a Table frame with the field
// names and types, Rows frames, and an End frame with the count of rows.
// Numbers are in the machine's byte order, so a snapshot is for the machine
// that wrote it.
#include "datasources/sourcerecordset.h"

#include <QByteArray>

namespace pv {

// Every row on show of an open recordset, in its order, with the field
// names and types (FieldType). Throws DbError when the recordset is closed.
QByteArray WriteRecordSnapshot(const SourceRecordset& records);

// Opens `records` on a snapshot (SourceRecordset::OpenRows): the same field
// names and types and the same values, typed exactly, with no filter and no
// sort, the first row current. Starts no reader program and reads no file.
// A damaged or truncated snapshot throws DbError and leaves `records`
// closed.
void OpenRecordSnapshot(SourceRecordset& records, const QByteArray& snapshot);

}  // namespace pv
