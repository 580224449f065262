#pragma once
// One PDF page of a given size at a printer's resolution, drawn through a
// device context as the print path draws: for tests that read back what a
// drawing puts into a PDF.
#include "platform/dc.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>
#include <QString>

#include <functional>

namespace pv::test {

// Writes `file`: one page of `mm` millimetres at `dpi`, no margins, drawn by
// `draw` on a printer context.
inline void WritePdfPage(const QString& file, const QSizeF& mm, int dpi,
                         const std::function<void(pv::DeviceContext*)>& draw) {
  QPdfWriter writer(file);
  writer.setResolution(dpi);
  writer.setPageLayout(QPageLayout(QPageSize(mm, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter(&writer);
  pv::DeviceInfo info;
  info.dpiX = info.dpiY = dpi;
  info.isPrinter = true;
  pv::DeviceContextPtr dc(pv::CreateDeviceContext(&painter, info));
  draw(dc.get());
}

}  // namespace pv::test
