#pragma once
// Windows-1252, the encoding of the byte strings stored in label files and
// other "ANSI" places. Inside the program all text is Unicode (QString) and
// UTF-8 at C boundaries.

#include <QByteArray>
#include <QString>

namespace pv {

// A character that Windows-1252 cannot hold is written as '?'.
QByteArray ToAnsi(const QString& text);
// Bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read
// as the code point of the same value, so reading and writing give back the
// same bytes.
QString FromAnsi(const QByteArray& bytes);
QString FromAnsi(const char* data, qsizetype size);

}  // namespace pv
