#pragma once
// The memo file beside a dBASE table: the notes its memo fields point to by
// block number. dBASE III .dbt (blocks of 512 bytes, the text ended by 0x1A),
// dBASE IV .dbt (the block size in its header, each memo headed by its
// length) and FoxPro .fpt (big-endian header and block heads, a type per
// memo). A memo that cannot be read is no memo: a missing or damaged file,
// a block outside the file, a length running past its end.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace pv {

enum class MemoLayout { DBase3, DBase4, FoxPro };

class DbaseMemoFile {
 public:
  // path empty or unreadable: every memo reads as none.
  DbaseMemoFile(const QString& path, MemoLayout layout);

  // The bytes of the text memo that starts at block; none for block 0, a
  // memo outside the file or damaged, and FoxPro's pictures and objects.
  std::optional<QByteArray> Text(quint32 block);

 private:
  std::optional<QByteArray> ReadAt(qint64 at, qint64 size);
  std::optional<QByteArray> TextUpToEnd(qint64 at);

  QFile m_file;
  MemoLayout m_layout;
  qint64 m_size = 0;
  qint64 m_blockSize = 0;  // 0: the file is not usable
};

}  // namespace pv
