#pragma once
// The memo file (.mb) of a Paradox table, which holds the memos too long
// for their records. A memo field ends in 10 bytes: where the memo stands in
// the file (an offset, and in its low byte the memo's place among the small
// memos of a block), its length and a modification number; the bytes before
// them hold the memo itself when it fits there.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

namespace pv {

class ParadoxMemoFile {
 public:
  // The memo file beside a table's file: the same name with the extension
  // .mb in any letter case. A missing one reads every memo kept there as
  // absent.
  explicit ParadoxMemoFile(const QString& tableFile);

  // The bytes of the memo in a field of the given width; none when the
  // memo is empty, or its file is missing or does not hold it whole.
  std::optional<QByteArray> Read(const char* field, int width);

 private:
  std::optional<QByteArray> ReadAt(qint64 at, qint64 size);

  QString m_path;
  QFile m_file;
  bool m_tried = false;
};

}  // namespace pv
