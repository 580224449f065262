#pragma once
// A file replaced as an editor saves it: the new contents go into a new file
// beside the target, which takes the target's place only when they are
// whole. Until then, and whenever the writing fails, the previous file stays
// as it was and no other file is left beside it. A target that is a
// symbolic link is replaced where the link points; the new file keeps the
// previous one's mode (a new target gets the usual mode less the umask).

#include <QString>

namespace pv {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Makes the new file beside `target`. False, with nothing made, when the
  // target's folder does not take a new file (missing, not writable, not a
  // folder).
  bool Open(const QString& target);
  // The name the new contents are written to while the file is open (it may
  // be a name of this process only, /proc/self/fd/N).
  const QString& WritePath() const { return m_writePath; }
  // The new file, open for reading and writing (-1 when none is open).
  int Descriptor() const { return m_fd; }
  // Puts the new file in the target's place. False when it cannot: the new
  // file is gone and the target is as it was.
  bool Commit();
  // Drops the new file; the target stays as it was.
  void Discard();

 private:
  QString m_target;     // where the link points, when the target is one
  QString m_writePath;  // what the writer opens
  QString m_named;      // the new file's own name beside the target, when it has one
  int m_fd = -1;        // the new file
  int m_dir = -1;       // the target's folder
};

}  // namespace pv
