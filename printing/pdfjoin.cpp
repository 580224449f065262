// Parts as Qt's PDF writer makes them are joined by copying their objects
// (pdfsplice.h), which is quick; when any part is of another shape, all are
// joined with libqpdf, which reads every PDF and says which part is damaged.
//
// There the part files are read with libqpdf, each in a thread of its own (reading
// and checking every object is most of the work, and QPDF objects that share
// nothing may be used in different threads). The first part becomes the
// joined document: the pages of the others are appended to its page tree,
// their shared objects (fonts, graphic states) copied once per part. The
// writer copies every stream's bytes as the parts have them (no decoding, no
// compression, no object streams, no linearisation), so each part's bytes
// are kept in memory until the target is written.
#include "printing/pdfjoin.h"

#include "printing/blockwriter.h"
#include "printing/inthreads.h"
#include "printing/pdfsplice.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFLogger.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

namespace pv {
namespace {

QString CannotWrite(const QString& file) { return QStringLiteral("Impossibile scrivere il file \"%1\".").arg(file); }
QString Missing(const QString& part) {
  return QStringLiteral("Il file \"%1\", con una parte delle pagine da stampare, non esiste più.").arg(part);
}
QString Damaged(const QString& part) {
  return QStringLiteral("Il file \"%1\", con una parte delle pagine da stampare, è danneggiato.").arg(part);
}

// The file written beside the target, under a name of its own in the same
// folder, and renamed over the target once it is whole; removed otherwise.
// It is made as the program's other files are (its mode from the umask, or
// the mode of the target it replaces) and, like them, not synced to disk.
class BesideFile {
 public:
  explicit BesideFile(const QString& target) : target_(QFile::encodeName(target)) {}
  ~BesideFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!name_.isEmpty()) ::unlink(name_.constData());
  }
  BesideFile(const BesideFile&) = delete;
  BesideFile& operator=(const BesideFile&) = delete;

  bool Open() {
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
      const QByteArray name = target_ + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
      fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        name_ = name;
      } else if (errno != EEXIST) {
        return false;
      }
    }
    return fd_ >= 0;
  }
  bool Write(const char* data, size_t len) {
    while (len > 0) {
      const ssize_t n = ::write(fd_, data, len);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      len -= size_t(n);
    }
    return true;
  }
  bool Commit() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    struct stat old {};
    if (::stat(target_.constData(), &old) == 0 && S_ISREG(old.st_mode)) ::chmod(name_.constData(), old.st_mode & 07777);
    if (::rename(name_.constData(), target_.constData()) != 0) return false;
    name_.clear();
    return true;
  }

 private:
  QByteArray target_;
  QByteArray name_;  // while it is there to remove
  int fd_ = -1;
};

// The target could not take what was written to it.
struct WriteFailed {};

// What QPDFWriter writes (a token at a time), in large blocks into the file
// beside the target. A failure to write is kept, not thrown: qpdf finishes
// its pipelines in destructors, where an exception would end the program.
class BesidePipeline : public Pipeline {
 public:
  explicit BesidePipeline(BesideFile* file)
      : Pipeline("target", nullptr), out_([file](const char* data, size_t size) { return file->Write(data, size); }) {}
  void write(const unsigned char* data, size_t len) override { out_.Put(reinterpret_cast<const char*>(data), len); }
  void finish() override { out_.Flush(); }
  // Everything written so far is in the file.
  bool Whole() const { return out_.Whole(); }

 private:
  BlockWriter out_;
};

// A part read with qpdf from its bytes in memory (from a file qpdf makes a
// seek and a read of its own for every token it looks at): its
// cross-reference table must be whole (a part that has lost its end, as
// when its worker stopped, is refused rather than rebuilt from what is
// left), every object readable and its page tree sound. Warnings are kept
// in the QPDF object, never printed.
struct Part {
  QByteArray bytes;  // outlives pdf, which reads from it
  std::unique_ptr<QPDF> pdf;
  QString failure;  // why it cannot be joined (pdf is null)
};

void OpenPart(const QString& file, Part* part) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    part->failure = in.exists() ? Damaged(file) : Missing(file);
    return;
  }
  try {
    part->bytes = in.readAll();
    auto pdf = std::make_unique<QPDF>();
    auto quiet = QPDFLogger::create();
    quiet->setInfo(quiet->discard());
    quiet->setWarn(quiet->discard());
    quiet->setError(quiet->discard());
    pdf->setLogger(quiet);
    pdf->setSuppressWarnings(true);
    pdf->setAttemptRecovery(false);
    pdf->processMemoryFile(QFile::encodeName(file).constData(), part->bytes.constData(), size_t(part->bytes.size()));
    // qpdf takes an object it cannot read for null, with a warning, and
    // goes on: every object of the part's table is read now, and this
    // program's writer writes no null objects. (A stream's data is not read
    // here, only its dictionary and the place of its end.)
    for (const auto& entry : pdf->getXRefTable()) {
      if (pdf->getObject(entry.first).isNull()) throw std::runtime_error("unreadable object");
    }
    QPDFPageDocumentHelper(*pdf).pushInheritedAttributesToPage();
    if (pdf->getAllPages().empty()) throw std::runtime_error("no pages");
    part->pdf = std::move(pdf);
  } catch (const std::exception&) {
    part->failure = Damaged(file);
  }
}

// The parts, read in threads. Freeing qpdf's objects costs about as much as
// reading them: the first part, which holds the copies of the others'
// pages, goes first, then the others, which nothing refers to any more, in
// threads.
class Parts {
 public:
  explicit Parts(const QStringList& files) : parts_(size_t(files.size())) {
    InThreads(parts_.size(), [&](size_t i) { OpenPart(files[qsizetype(i)], &parts_[i]); });
  }
  ~Parts() { Free(); }
  Parts(const Parts&) = delete;
  Parts& operator=(const Parts&) = delete;

  size_t size() const { return parts_.size(); }
  Part& operator[](size_t i) { return parts_[i]; }
  void Free() {
    if (parts_.empty()) return;
    parts_.front().pdf.reset();
    InThreads(parts_.size() - 1, [&](size_t i) { parts_[i + 1].pdf.reset(); });
    parts_.clear();
  }

 private:
  std::vector<Part> parts_;
};

// The one part as the target: renamed over it, or copied beside it and
// renamed when the two are on different file systems.
bool MovePart(const QString& part, const QByteArray& bytes, const QString& target, QString* reason) {
  if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) == 0) return true;
  if (errno == EXDEV) {
    BesideFile out(target);
    if (out.Open() && out.Write(bytes.constData(), size_t(bytes.size())) && out.Commit()) return true;
  }
  *reason = CannotWrite(target);
  return false;
}

// The parts joined by copying their objects, when they are all of the shape
// Qt's writer gives them: true when that has answered (the target written,
// or `reason` why it could not be), false to join them with qpdf. The parts
// are mapped, not read: the page cache holds them already.
bool QuickJoin(const QStringList& files, const QString& target, bool* joined, QString* reason) {
  std::vector<std::unique_ptr<QFile>> open;
  std::vector<QByteArrayView> bytes;
  for (const QString& file : files) {
    auto in = std::make_unique<QFile>(file);
    if (!in->open(QIODevice::ReadOnly) || in->size() <= 0) return false;
    const uchar* mapped = in->map(0, in->size());
    if (!mapped) return false;
    bytes.emplace_back(reinterpret_cast<const char*>(mapped), in->size());
    open.push_back(std::move(in));
  }
  BesideFile out(target);
  bool opened = false;
  const auto write = [&](const char* data, size_t size) {
    if (!opened && !(opened = out.Open())) return false;
    return out.Write(data, size);
  };
  const SpliceResult result = SplicePdfParts(bytes, write);
  if (result == SpliceResult::kUnknown) return false;
  *joined = result == SpliceResult::kJoined && out.Commit();
  if (!*joined) *reason = CannotWrite(target);
  return true;
}

bool Join(const QStringList& files, const QString& target, QString* reason) {
  bool quick = false;
  if (files.size() > 1 && QuickJoin(files, target, &quick, reason)) return quick;
  Parts parts(files);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!parts[i].pdf) {
      *reason = parts[i].failure;
      return false;
    }
  }
  if (parts.size() == 1) return MovePart(files.front(), parts[0].bytes, target, reason);

  // Which part a failure while copying or writing comes from, by the file
  // name qpdf gives its exception.
  const auto partOf = [&](const QPDFExc& e) {
    for (size_t i = 0; i < parts.size(); ++i) {
      if (parts[i].pdf->getFilename() == e.getFilename()) return files[qsizetype(i)];
    }
    return files.front();
  };
  BesideFile out(target);
  try {
    QPDFPageDocumentHelper joined(*parts[0].pdf);
    for (size_t i = 1; i < parts.size(); ++i) {
      for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*parts[i].pdf).getAllPages()) {
        joined.addPage(page, false);
      }
    }
    if (!out.Open()) throw WriteFailed{};
    BesidePipeline pipe(&out);
    QPDFWriter writer(*parts[0].pdf);
    writer.setOutputPipeline(&pipe);
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setObjectStreamMode(qpdf_o_disable);
    writer.setLinearization(false);
    writer.write();
    if (!pipe.Whole() || !out.Commit()) throw WriteFailed{};
  } catch (const WriteFailed&) {
    *reason = CannotWrite(target);
    return false;
  } catch (const QPDFExc& e) {
    *reason = Damaged(partOf(e));
    return false;
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    *reason = Damaged(files.front());
    return false;
  }
  return true;
}

}  // namespace

bool JoinPdfFiles(const QStringList& files, const QString& target, QString* reason) {
  QString why;
  if (!reason) reason = &why;
  try {
    if (!files.isEmpty()) return Join(files, target, reason);
  } catch (const std::exception&) {
    // Out of memory: nothing of the target has been written.
  }
  *reason = CannotWrite(target);
  return false;
}

}  // namespace pv
