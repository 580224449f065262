#include "printing/joboutput.h"

#include "platform/printer/printer.h"
#include "printing/replacingfile.h"
#include "printing/spooler.h"

#include <QPainter>
#include <QPrinter>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace pv {
namespace {

// One PDF being written: its printer object, painter and device context.
class PdfWriter {
 public:
  ~PdfWriter() { Close(); }

  bool Open(std::unique_ptr<QPrinter> printer, const JobSettings& s) {
    printer_ = std::move(printer);
    if (!printer_) return false;
    if (s.DpiX > 0) printer_->setResolution(s.DpiX);
    if (!painter_.begin(printer_.get())) return false;
    DeviceInfo info;
    info.dpiX = s.DpiX > 0 ? s.DpiX : printer_->resolution();
    info.dpiY = s.DpiY > 0 ? s.DpiY : printer_->resolution();
    info.widthPx = printer_->width();
    info.heightPx = printer_->height();
    info.physicalOffsetX = s.OffsetX;
    info.physicalOffsetY = s.OffsetY;
    info.isPrinter = true;
    dc_ = CreateDeviceContext(&painter_, info);
    return dc_ != nullptr;
  }
  bool NewPage() { return printer_ && printer_->newPage(); }
  bool Close() {
    DeleteDeviceContext(dc_);
    dc_ = nullptr;
    return painter_.isActive() ? painter_.end() : false;
  }
  DeviceContext* dc() const { return dc_; }

 private:
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  DeviceContext* dc_ = nullptr;
};

QString CannotWrite(const QString& file) { return QStringLiteral("Impossibile scrivere il file \"%1\".").arg(file); }

// Whether `file` holds all Qt's PDF writer meant it to: the writer does not
// report a write that failed (a full disk), but it writes in one pass and
// ends with its cross-reference table and the table's offset, so a file
// that lost bytes anywhere has no table where its end says, or no end.
bool WrittenWhole(QFile& file) {
  const qint64 size = file.size();
  if (size < 64 || !file.seek(size - 64)) return false;
  static const QRegularExpression end(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
  const QRegularExpressionMatch m = end.match(QString::fromLatin1(file.read(64)));
  bool ok = false;
  const qint64 table = m.hasMatch() ? m.captured(1).toLongLong(&ok) : -1;
  if (!ok || table < 0 || table >= size || !file.seek(table)) return false;
  static const QRegularExpression head(QStringLiteral("^xref\n0 (\\d+)\n"));
  const QString start = QString::fromLatin1(file.read(32));
  const QRegularExpressionMatch h = head.match(start);
  const qint64 entries = h.hasMatch() ? h.captured(1).toLongLong(&ok) : -1;
  // Each entry is 20 bytes; the trailer follows the last.
  const qint64 trailer = table + h.capturedLength(0) + 20 * entries;
  return ok && entries > 0 && trailer < size && file.seek(trailer) && file.read(8) == "trailer\n";
}

bool WrittenWhole(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && WrittenWhole(file);
}

class PdfPrinterOutput : public JobOutput {
 public:
  explicit PdfPrinterOutput(const JobSettings& s) : s_(s) {}
  // The target is checked before the first page is drawn.
  bool Begin() override {
    if (Check(file_.Open(s_.PdfFile) && writer_.Open(CreateCurrentPrinter(file_.WritePath()), s_))) return true;
    Abort();
    return false;
  }
  bool NewPage() override { return Check(writer_.NewPage()); }
  bool End() override {
    bool ok = writer_.Close();
    if (ok) {
      QFile written;
      ok = written.open(file_.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) && WrittenWhole(written);
    }
    if (!Check(ok && file_.Commit())) {
      file_.Discard();
      return false;
    }
    return true;
  }
  void Abort() override {
    writer_.Close();
    file_.Discard();
  }
  DeviceContext* dc() override { return writer_.dc(); }

 private:
  bool Check(bool ok) {
    if (!ok && m_reason.isEmpty()) m_reason = CannotWrite(s_.PdfFile);
    return ok;
  }

  JobSettings s_;
  ReplacingFile file_;
  PdfWriter writer_;
};

class CupsOutput : public JobOutput {
 public:
  explicit CupsOutput(const JobSettings& s) : s_(s) {}

  bool Begin() override {
    if (!dir_.isValid()) {
      m_reason = CannotWrite(dir_.path());
      return false;
    }
    return OpenFile();
  }
  bool NewPage() override {
    if (!s_.PagePerJob) return writer_->NewPage();
    return Deliver() && OpenFile();
  }
  bool End() override { return Deliver(); }
  void Abort() override {
    if (writer_) writer_->Close();
    writer_.reset();
  }
  DeviceContext* dc() override { return writer_ ? writer_->dc() : nullptr; }

 private:
  bool OpenFile() {
    file_ = dir_.filePath(QStringLiteral("job%1.pdf").arg(++files_));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file_);
    const QPageLayout& paper = s_.Paper.Page;
    const int dpi = s_.DpiX > 0 ? s_.DpiX : 300;
    // The painter's origin is the corner of the printer's printable area.
    const QMarginsF margins(s_.OffsetX * 25.4 / dpi, s_.OffsetY * 25.4 / (s_.DpiY > 0 ? s_.DpiY : dpi), 0, 0);
    printer->setPageLayout(
        QPageLayout(paper.pageSize(), paper.orientation(), margins, QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
    printer->setFullPage(false);
    writer_ = std::make_unique<PdfWriter>();
    if (writer_->Open(std::move(printer), s_)) return true;
    m_reason = CannotWrite(file_);
    return false;
  }
  bool Deliver() {
    if (!writer_) return false;
    const bool written = writer_->Close() && WrittenWhole(file_);
    writer_.reset();
    if (!written) {
      m_reason = CannotWrite(file_);
      return false;
    }
    const SpoolResult r = Spool(SpoolRequest{s_.Printer, file_, s_.Title, s_.Paper});
    QFile::remove(file_);
    if (!r.Accepted) m_reason = r.Error;
    m_queueStopped = m_queueStopped || r.QueueStopped;
    return r.Accepted;
  }

  JobSettings s_;
  QTemporaryDir dir_;
  QString file_;
  int files_ = 0;
  std::unique_ptr<PdfWriter> writer_;
};

}  // namespace

std::unique_ptr<JobOutput> MakeJobOutput(const JobSettings& s) {
  if (IsPdfPrinter(s.Printer)) return std::make_unique<PdfPrinterOutput>(s);
  return std::make_unique<CupsOutput>(s);
}

}  // namespace pv
