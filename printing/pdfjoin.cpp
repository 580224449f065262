// The part files are read with libqpdf. The first part becomes the joined
// document: the pages of the others are appended to its page tree, each part
// read once and its shared objects (fonts, graphic states) copied once. The
// writer copies every stream's bytes from the part files as they are (no
// decoding, no compression, no object streams, no linearisation), so the
// join costs little more than copying the files. qpdf reads objects and
// stream data lazily: every part stays open until the target is written.
#include "printing/pdfjoin.h"

#include <qpdf/Pipeline.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <memory>
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

// The target could not take what was written to it.
struct WriteFailed {};

// What QPDFWriter writes, gathered in large blocks into the file written
// beside the target (qpdf writes the file a token at a time).
class SaveFilePipeline : public Pipeline {
 public:
  explicit SaveFilePipeline(QSaveFile* file) : Pipeline("target", nullptr), file_(file) { buffer_.reserve(kBlock); }
  void write(const unsigned char* data, size_t len) override {
    if (buffer_.size() + len > kBlock) Flush();
    if (len >= kBlock) {
      Put(reinterpret_cast<const char*>(data), len);
    } else {
      buffer_.insert(buffer_.end(), data, data + len);
    }
  }
  void finish() override { Flush(); }

 private:
  static constexpr size_t kBlock = size_t(1) << 20;
  void Flush() {
    Put(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  void Put(const void* data, size_t len) {
    if (len > 0 && file_->write(static_cast<const char*>(data), qint64(len)) != qint64(len)) throw WriteFailed{};
  }

  QSaveFile* file_;
  std::vector<unsigned char> buffer_;
};

// A part read with qpdf: its cross-reference table must be whole (a part
// that has lost its end, as when its worker stopped, is refused rather than
// rebuilt from what is left), every object readable and its page tree
// sound. Warnings are kept in the QPDF object, never printed.
std::unique_ptr<QPDF> OpenPart(const QString& part, QString* reason) {
  if (!QFileInfo(part).isFile()) {
    *reason = Missing(part);
    return nullptr;
  }
  auto pdf = std::make_unique<QPDF>();
  pdf->setSuppressWarnings(true);
  pdf->setAttemptRecovery(false);
  try {
    pdf->processFile(QFile::encodeName(part).constData());
    // qpdf takes an object it cannot read for null, with a warning, and
    // goes on: every object of the part's table is read now, and this
    // program's writer writes no null objects. (A stream's data is not read
    // here, only its dictionary and the place of its end.)
    for (const auto& entry : pdf->getXRefTable()) {
      if (pdf->getObject(entry.first).isNull()) throw std::runtime_error("unreadable object");
    }
    QPDFPageDocumentHelper(*pdf).pushInheritedAttributesToPage();
    if (pdf->getAllPages().empty()) throw std::runtime_error("no pages");
  } catch (const std::exception&) {
    *reason = Damaged(part);
    return nullptr;
  }
  return pdf;
}

// The one part as the target: renamed over it, or copied beside it and
// renamed when the two are on different file systems.
bool MovePart(const QString& part, const QString& target, QString* reason) {
  if (std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) == 0) return true;
  if (errno == EXDEV) {
    QFile in(part);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly)) {
      *reason = Damaged(part);
      return false;
    }
    if (out.open(QIODevice::WriteOnly)) {
      bool ok = true;
      while (ok && !in.atEnd()) {
        const QByteArray block = in.read(qint64(1) << 20);
        ok = !block.isEmpty() && out.write(block) == block.size();
      }
      if (ok && out.commit()) return true;
    }
  }
  *reason = CannotWrite(target);
  return false;
}

}  // namespace

bool JoinPdfFiles(const QStringList& parts, const QString& target, QString* reason) {
  QString why;
  const auto fail = [&](const QString& text) {
    if (reason) *reason = text;
    return false;
  };
  if (parts.isEmpty()) return fail(CannotWrite(target));
  std::vector<std::unique_ptr<QPDF>> pdfs;
  pdfs.reserve(size_t(parts.size()));
  for (const QString& part : parts) {
    pdfs.push_back(OpenPart(part, &why));
    if (!pdfs.back()) return fail(why);
  }
  if (parts.size() == 1) {
    pdfs.clear();
    return MovePart(parts.front(), target, reason ? reason : &why);
  }

  // Which part a failure while copying or writing comes from, by the file
  // name qpdf gives its exception.
  const auto partOf = [&](const QPDFExc& e) {
    for (qsizetype i = 0; i < parts.size(); ++i) {
      if (pdfs[size_t(i)]->getFilename() == e.getFilename()) return parts[i];
    }
    return parts.front();
  };
  QSaveFile out(target);
  try {
    QPDFPageDocumentHelper joined(*pdfs.front());
    for (size_t i = 1; i < pdfs.size(); ++i) {
      for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*pdfs[i]).getAllPages()) joined.addPage(page, false);
    }
    if (!out.open(QIODevice::WriteOnly)) return fail(CannotWrite(target));
    SaveFilePipeline pipe(&out);
    QPDFWriter writer(*pdfs.front());
    writer.setOutputPipeline(&pipe);
    writer.setCompressStreams(false);
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setObjectStreamMode(qpdf_o_disable);
    writer.setLinearization(false);
    writer.write();
  } catch (const WriteFailed&) {
    out.cancelWriting();
    return fail(CannotWrite(target));
  } catch (const QPDFExc& e) {
    out.cancelWriting();
    return fail(Damaged(partOf(e)));
  } catch (const std::exception&) {
    out.cancelWriting();
    return fail(Damaged(parts.front()));
  }
  if (!out.commit()) return fail(CannotWrite(target));
  return true;
}

}  // namespace pv
