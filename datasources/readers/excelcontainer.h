#pragma once
// The compound file (OLE2) that holds a BIFF 5 or 8 workbook: its workbook
// stream, every sector chain checked against the file's size and for loops.
#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace pv::excel {

bool IsCompoundFile(QByteArrayView file);

// The stream "Workbook" (BIFF 8), or "Book" (BIFF 5); nullopt when the
// container is damaged or holds neither.
std::optional<QByteArray> WorkbookStream(QByteArrayView file);

}  // namespace pv::excel
