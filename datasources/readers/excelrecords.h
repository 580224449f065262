#pragma once
// The records of a BIFF stream (every Excel version from 2.0 to 97-2003):
// a type and a length of 16 bits each, then the data. A record longer than
// the format's limit goes on in CONTINUE records; the walker joins them to
// it, and a reader of its fields steps over the byte that starts each
// continuation of a BIFF 8 string's characters.
#include "datasources/readers/readerkit.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace pv::excel {

quint16 Word16(QByteArrayView bytes, qsizetype at);
quint32 Word32(QByteArrayView bytes, qsizetype at);
double Double64(QByteArrayView bytes, qsizetype at);

struct Record {
  qsizetype offset = 0;  // of its header in the stream
  quint16 type = 0;
  QByteArrayView data;            // with the data of its continuations after it
  std::vector<qsizetype> breaks;  // where in data each continuation starts
};

class RecordWalker {
 public:
  RecordWalker(QByteArrayView stream, qsizetype from) : m_stream(stream), m_at(from) {}
  // The next record; false at the end of the stream, at the zero bytes that
  // may pad it, or at a record that runs past it.
  bool Next(Record& record);

 private:
  QByteArrayView m_stream;
  qsizetype m_at;
  QByteArray m_joined;  // a record and its continuations
};

// A record's fields in order. Reading past its end gives zeros and marks the
// reader bad.
class FieldReader {
 public:
  explicit FieldReader(const Record& record, qsizetype at = 0) : m_record(record), m_at(at) {}

  quint8 U8();
  quint16 U16();
  quint32 U32();
  double F64();
  void Skip(qsizetype bytes);
  // A BIFF 8 string: a count of `countBytes` bytes (1 or 2), its flags, and
  // its characters (one byte each, or UTF-16), their formatting after them.
  QString Unicode(int countBytes);
  // A string of 8-bit characters in the workbook's code page (BIFF 2 to 5).
  QString Narrow(int countBytes, const CodePageText& codePage);
  bool Bad() const { return m_bad; }

 private:
  bool Need(qsizetype bytes);
  // Where the continuation after `m_at` starts, or the record's end.
  qsizetype NextBreak() const;

  const Record& m_record;
  qsizetype m_at;
  bool m_bad = false;
};

}  // namespace pv::excel
