#include "printing/pagejob.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace pv {
namespace {

// The file's first word and its layout's version.
constexpr quint32 kMagic = 0x706c7067;  // "plpg"
constexpr quint32 kVersion = 2;

QDataStream& operator<<(QDataStream& out, const PrintRunValues& r) {
  const SheetFormat& f = r.m_Format.Sheet;
  out << r.m_Format.Code << f.Width << f.Height << f.nOri << f.nVer << f.TopMargin << f.LeftMargin << f.vertipitch
      << f.horizpitch << f.sheetwidth << f.sheetdepth << r.m_Format.bottommarg << r.m_Format.rightmargin;
  return out << r.m_PageCount << r.m_FirstLabel << r.m_LastLabel << r.m_RangePages << r.m_CountMode
             << r.m_RegistrationId << r.m_Sort << r.m_Filter;
}

QDataStream& operator>>(QDataStream& in, PrintRunValues& r) {
  SheetFormat& f = r.m_Format.Sheet;
  in >> r.m_Format.Code >> f.Width >> f.Height >> f.nOri >> f.nVer >> f.TopMargin >> f.LeftMargin >> f.vertipitch >>
      f.horizpitch >> f.sheetwidth >> f.sheetdepth >> r.m_Format.bottommarg >> r.m_Format.rightmargin;
  return in >> r.m_PageCount >> r.m_FirstLabel >> r.m_LastLabel >> r.m_RangePages >> r.m_CountMode >>
         r.m_RegistrationId >> r.m_Sort >> r.m_Filter;
}

// The page layout by its parts: the page size by its exact size in points
// and its id, so that a custom size comes back as it was.
QDataStream& operator<<(QDataStream& out, const PdfPageSetup& p) {
  const QPageSize& size = p.Layout.pageSize();
  const QMarginsF m = p.Layout.margins();
  const QMarginsF least = p.Layout.minimumMargins();
  out << qint32(size.id()) << size.definitionSize() << qint32(size.definitionUnits()) << size.name()
      << qint32(p.Layout.orientation()) << qint32(p.Layout.units()) << m.left() << m.top() << m.right() << m.bottom()
      << least.left() << least.top() << least.right() << least.bottom() << qint32(p.Layout.mode());
  return out << p.FullPage << p.Resolution << p.DpiX << p.DpiY << p.OffsetX << p.OffsetY;
}

QDataStream& operator>>(QDataStream& in, PdfPageSetup& p) {
  qint32 id = 0, sizeUnits = 0, orientation = 0, units = 0, mode = 0;
  QSizeF definition;
  QString name;
  double l = 0, t = 0, r = 0, b = 0, ll = 0, lt = 0, lr = 0, lb = 0;
  in >> id >> definition >> sizeUnits >> name >> orientation >> units >> l >> t >> r >> b >> ll >> lt >> lr >> lb >>
      mode;
  const QPageSize size = QPageSize::PageSizeId(id) == QPageSize::Custom
                             ? QPageSize(definition, QPageSize::Unit(sizeUnits), name, QPageSize::ExactMatch)
                             : QPageSize(QPageSize::PageSizeId(id));
  p.Layout = QPageLayout(size, QPageLayout::Orientation(orientation), QMarginsF(l, t, r, b), QPageLayout::Unit(units),
                         QMarginsF(ll, lt, lr, lb));
  p.Layout.setMode(QPageLayout::Mode(mode));
  return in >> p.FullPage >> p.Resolution >> p.DpiX >> p.DpiY >> p.OffsetX >> p.OffsetY;
}

}  // namespace

bool WritePageJob(const QString& path, const PageJob& job) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QDataStream out(&file);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << kVersion << SettingsBytes(job.ProgramValues) << job.Rendering.PrintLow << job.Rendering.PrintCircle
      << job.Rendering.PrinterDpiY << job.Run << job.PageOrgX << job.PageOrgY << job.Page << job.LabFile
      << job.RecordsFile;
  return out.status() == QDataStream::Ok && file.commit();
}

bool ReadPageJob(const QString& path, PageJob* job, QString* reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = QStringLiteral("Impossibile leggere il file \"%1\".").arg(path);
    return false;
  }
  QDataStream in(&file);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0, version = 0;
  in >> magic >> version;
  PageJob read;
  QByteArray settings;
  if (magic == kMagic && version == kVersion) {
    in >> settings >> read.Rendering.PrintLow >> read.Rendering.PrintCircle >> read.Rendering.PrinterDpiY;
    in >> read.Run >> read.PageOrgX >> read.PageOrgY >> read.Page >> read.LabFile >> read.RecordsFile;
  }
  if (magic != kMagic || version != kVersion || in.status() != QDataStream::Ok || !in.atEnd() ||
      !SettingsFromBytes(settings, &read.ProgramValues)) {
    *reason = QStringLiteral("Il file \"%1\" non descrive un lavoro di stampa.").arg(path);
    return false;
  }
  *job = read;
  return true;
}

}  // namespace pv
