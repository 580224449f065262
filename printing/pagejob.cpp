#include "printing/pagejob.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace pv {
namespace {

// The file's first word and its layout's version.
constexpr quint32 kMagic = 0x706c7067;  // "plpg"
constexpr quint32 kVersion = 1;

QDataStream& operator<<(QDataStream& out, const Settings& s) {
  out << qint32(s.CalibrationX) << qint32(s.CalibrationY) << qint16(s.PrintArchive) << qint16(s.PrintBorder)
      << qint16(s.PrintLow) << qint16(s.PrintStopPage) << qint16(s.PrintFieldCode) << qint16(s.PrintFieldCodeIfNull)
      << qint16(s.PrintCircle) << qint16(s.SettingSmallTemplate) << qint16(s.SettingAntialiasing) << s.SettingGridX
      << s.SettingGridY << qint16(s.SettingShowGrid) << qint16(s.SettingShowRule) << qint16(s.SettingAutoInsert)
      << qint16(s.SettingBozza) << qint16(s.SettingSnap) << qint16(s.SettingShowHelp) << s.DefaultPath;
  const PrinterCaps& p = s.Printer;
  return out << qint32(p.DpiX) << qint32(p.DpiY) << qint32(p.OffsetX) << qint32(p.OffsetY) << qint32(p.HorzSize)
             << qint32(p.VertSize);
}

template <class T, class Wire>
void ReadAs(QDataStream& in, T& value) {
  Wire w{};
  in >> w;
  value = static_cast<T>(w);
}

QDataStream& operator>>(QDataStream& in, Settings& s) {
  ReadAs<std::int32_t, qint32>(in, s.CalibrationX);
  ReadAs<std::int32_t, qint32>(in, s.CalibrationY);
  ReadAs<VbBool, qint16>(in, s.PrintArchive);
  ReadAs<VbBool, qint16>(in, s.PrintBorder);
  ReadAs<VbBool, qint16>(in, s.PrintLow);
  ReadAs<VbBool, qint16>(in, s.PrintStopPage);
  ReadAs<std::int16_t, qint16>(in, s.PrintFieldCode);
  ReadAs<std::int16_t, qint16>(in, s.PrintFieldCodeIfNull);
  ReadAs<std::int16_t, qint16>(in, s.PrintCircle);
  ReadAs<std::int16_t, qint16>(in, s.SettingSmallTemplate);
  ReadAs<std::int16_t, qint16>(in, s.SettingAntialiasing);
  in >> s.SettingGridX >> s.SettingGridY;
  ReadAs<std::int16_t, qint16>(in, s.SettingShowGrid);
  ReadAs<std::int16_t, qint16>(in, s.SettingShowRule);
  ReadAs<std::int16_t, qint16>(in, s.SettingAutoInsert);
  ReadAs<std::int16_t, qint16>(in, s.SettingBozza);
  ReadAs<std::int16_t, qint16>(in, s.SettingSnap);
  ReadAs<std::int16_t, qint16>(in, s.SettingShowHelp);
  in >> s.DefaultPath;
  PrinterCaps& p = s.Printer;
  ReadAs<int, qint32>(in, p.DpiX);
  ReadAs<int, qint32>(in, p.DpiY);
  ReadAs<int, qint32>(in, p.OffsetX);
  ReadAs<int, qint32>(in, p.OffsetY);
  ReadAs<int, qint32>(in, p.HorzSize);
  ReadAs<int, qint32>(in, p.VertSize);
  return in;
}

QDataStream& operator<<(QDataStream& out, const PrintRunValues& r) {
  const SheetFormat& f = r.m_Format.Sheet;
  out << r.m_Format.Code << f.Width << f.Height << f.nOri << f.nVer << f.TopMargin << f.LeftMargin << f.vertipitch
      << f.horizpitch << f.sheetwidth << f.sheetdepth << r.m_Format.bottommarg << r.m_Format.rightmargin;
  return out << qint32(r.m_PageCount) << qint32(r.m_FirstLabel) << qint32(r.m_LastLabel) << qint32(r.m_RangePages)
             << qint32(r.m_CountMode) << qint32(r.m_RegistrationId) << r.m_Sort << r.m_Filter;
}

QDataStream& operator>>(QDataStream& in, PrintRunValues& r) {
  SheetFormat& f = r.m_Format.Sheet;
  in >> r.m_Format.Code >> f.Width >> f.Height >> f.nOri >> f.nVer >> f.TopMargin >> f.LeftMargin >> f.vertipitch >>
      f.horizpitch >> f.sheetwidth >> f.sheetdepth >> r.m_Format.bottommarg >> r.m_Format.rightmargin;
  ReadAs<std::int32_t, qint32>(in, r.m_PageCount);
  ReadAs<std::int32_t, qint32>(in, r.m_FirstLabel);
  ReadAs<std::int32_t, qint32>(in, r.m_LastLabel);
  ReadAs<std::int32_t, qint32>(in, r.m_RangePages);
  ReadAs<std::int32_t, qint32>(in, r.m_CountMode);
  ReadAs<std::int32_t, qint32>(in, r.m_RegistrationId);
  return in >> r.m_Sort >> r.m_Filter;
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
  return out << p.FullPage << qint32(p.Resolution) << qint32(p.DpiX) << qint32(p.DpiY) << qint32(p.OffsetX)
             << qint32(p.OffsetY);
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
  in >> p.FullPage;
  ReadAs<int, qint32>(in, p.Resolution);
  ReadAs<int, qint32>(in, p.DpiX);
  ReadAs<int, qint32>(in, p.DpiY);
  ReadAs<int, qint32>(in, p.OffsetX);
  ReadAs<int, qint32>(in, p.OffsetY);
  return in;
}

}  // namespace

bool WritePageJob(const QString& path, const PageJob& job) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QDataStream out(&file);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << kVersion << job.ProgramValues << job.Rendering.PrintLow << job.Rendering.PrintCircle
      << qint32(job.Rendering.PrinterDpiY) << job.Run << job.PageOrgX << job.PageOrgY << job.Page << job.LabFile
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
  if (magic == kMagic && version == kVersion) {
    qint32 dpiY = 0;
    in >> read.ProgramValues >> read.Rendering.PrintLow >> read.Rendering.PrintCircle >> dpiY;
    read.Rendering.PrinterDpiY = dpiY;
    in >> read.Run >> read.PageOrgX >> read.PageOrgY >> read.Page >> read.LabFile >> read.RecordsFile;
  }
  if (magic != kMagic || version != kVersion || in.status() != QDataStream::Ok || !in.atEnd()) {
    *reason = QStringLiteral("Il file \"%1\" non descrive un lavoro di stampa.").arg(path);
    return false;
  }
  *job = read;
  return true;
}

}  // namespace pv
