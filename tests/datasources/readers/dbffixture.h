#pragma once
// dBASE tables and memo files for the readers' tests, written byte by byte:
// what shapelib cannot write (memos, Visual FoxPro's binary fields and null
// flags, a table of no fields).
#include <QByteArray>
#include <QString>

#include <vector>

namespace pv::testing {

struct DbfFieldSpec {
  const char* name;
  char type;
  int width;
  int decimals = 0;
  int flags = 0;  // Visual FoxPro's: 0x01 system, 0x02 may be Null
};

struct DbfFixture {
  int version = 0x03;
  int driver = 0;  // the language driver byte
  std::vector<DbfFieldSpec> fields;
  std::vector<QByteArray> records;  // each with its deletion flag

  // A record of the fields' bytes; a shorter value is padded with spaces.
  void Add(const std::vector<QByteArray>& values, bool deleted = false);
  // The file: Visual FoxPro's header has room for its database's name.
  QByteArray Bytes() const;
};

// Little-endian numbers as the binary fields hold them.
QByteArray Le32(qint32 value);
QByteArray Le64(qint64 value);
QByteArray LeDouble(double value);
// A block number as dBASE's memo fields hold it: ten digits, right-aligned.
QByteArray BlockDigits(quint32 block);

// A memo file and the block each memo starts at.
struct MemoFixture {
  QByteArray bytes;
  std::vector<quint32> blocks;
};
// dBASE III: blocks of 512 bytes, each memo ended by 0x1A 0x1A.
MemoFixture DBase3Memos(const std::vector<QByteArray>& memos);
// dBASE IV: the block size in the header, each memo headed by FF FF 08 00
// and its length (with the head).
MemoFixture DBase4Memos(const std::vector<QByteArray>& memos, int blockSize);
// FoxPro: big-endian header and heads; type 1 is text, 0 a picture.
MemoFixture FoxProMemos(const std::vector<QByteArray>& memos, int blockSize, quint32 type = 1);

}  // namespace pv::testing
