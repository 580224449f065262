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
    m_printer = std::move(printer);
    if (!m_printer) return false;
    if (s.DpiX > 0) m_printer->setResolution(s.DpiX);
    if (!m_painter.begin(m_printer.get())) return false;
    DeviceInfo info;
    info.dpiX = s.DpiX > 0 ? s.DpiX : m_printer->resolution();
    info.dpiY = s.DpiY > 0 ? s.DpiY : m_printer->resolution();
    info.widthPx = m_printer->width();
    info.heightPx = m_printer->height();
    info.physicalOffsetX = s.OffsetX;
    info.physicalOffsetY = s.OffsetY;
    info.isPrinter = true;
    m_dc = CreateDeviceContext(&m_painter, info);
    return m_dc != nullptr;
  }
  bool NewPage() { return m_printer && m_printer->newPage(); }
  bool Close() {
    DeleteDeviceContext(m_dc);
    m_dc = nullptr;
    return m_painter.isActive() ? m_painter.end() : false;
  }
  DeviceContext* dc() const { return m_dc; }

 private:
  std::unique_ptr<QPrinter> m_printer;
  QPainter m_painter;
  DeviceContext* m_dc = nullptr;
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
  explicit PdfPrinterOutput(const JobSettings& s) : m_s(s) {}
  // The target is checked before the first page is drawn.
  bool Begin() override {
    if (Check(m_file.Open(m_s.PdfFile) && m_writer.Open(CreateCurrentPrinter(m_file.WritePath()), m_s))) return true;
    Abort();
    return false;
  }
  bool NewPage() override { return Check(m_writer.NewPage()); }
  bool End() override {
    bool ok = m_writer.Close();
    if (ok) {
      QFile written;
      ok =
          written.open(m_file.Descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) && WrittenWhole(written);
    }
    if (!Check(ok && m_file.Commit())) {
      m_file.Discard();
      return false;
    }
    return true;
  }
  void Abort() override {
    m_writer.Close();
    m_file.Discard();
  }
  DeviceContext* dc() override { return m_writer.dc(); }

 private:
  bool Check(bool ok) {
    if (!ok && m_reason.isEmpty()) m_reason = CannotWrite(m_s.PdfFile);
    return ok;
  }

  JobSettings m_s;
  ReplacingFile m_file;
  PdfWriter m_writer;
};

class CupsOutput : public JobOutput {
 public:
  explicit CupsOutput(const JobSettings& s) : m_s(s) {}

  bool Begin() override {
    if (!m_dir.isValid()) {
      m_reason = CannotWrite(m_dir.path());
      return false;
    }
    return OpenFile();
  }
  bool NewPage() override {
    if (!m_s.PagePerJob) return m_writer->NewPage();
    return Deliver() && OpenFile();
  }
  bool End() override { return Deliver(); }
  void Abort() override {
    if (m_writer) m_writer->Close();
    m_writer.reset();
  }
  DeviceContext* dc() override { return m_writer ? m_writer->dc() : nullptr; }

 private:
  bool OpenFile() {
    m_file = m_dir.filePath(QStringLiteral("job%1.pdf").arg(++m_files));
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(m_file);
    const QPageLayout& paper = m_s.Paper.Page;
    const int dpi = m_s.DpiX > 0 ? m_s.DpiX : 300;
    // The painter's origin is the corner of the printer's printable area.
    const QMarginsF margins(m_s.OffsetX * 25.4 / dpi, m_s.OffsetY * 25.4 / (m_s.DpiY > 0 ? m_s.DpiY : dpi), 0, 0);
    printer->setPageLayout(
        QPageLayout(paper.pageSize(), paper.orientation(), margins, QPageLayout::Millimeter, QMarginsF(0, 0, 0, 0)));
    printer->setFullPage(false);
    m_writer = std::make_unique<PdfWriter>();
    if (m_writer->Open(std::move(printer), m_s)) return true;
    m_reason = CannotWrite(m_file);
    return false;
  }
  bool Deliver() {
    if (!m_writer) return false;
    const bool written = m_writer->Close() && WrittenWhole(m_file);
    m_writer.reset();
    if (!written) {
      m_reason = CannotWrite(m_file);
      return false;
    }
    const SpoolResult r = Spool(SpoolRequest{m_s.Printer, m_file, m_s.Title, m_s.Paper});
    QFile::remove(m_file);
    if (!r.Accepted) m_reason = r.Error;
    m_queueStopped = m_queueStopped || r.QueueStopped;
    return r.Accepted;
  }

  JobSettings m_s;
  QTemporaryDir m_dir;
  QString m_file;
  int m_files = 0;
  std::unique_ptr<PdfWriter> m_writer;
};

}  // namespace

std::unique_ptr<JobOutput> MakeJobOutput(const JobSettings& s) {
  if (IsPdfPrinter(s.Printer)) return std::make_unique<PdfPrinterOutput>(s);
  return std::make_unique<CupsOutput>(s);
}

}  // namespace pv
