#pragma once
// A label-sized PDF page in memory for the drawing benchmarks: 100 x 70 mm
// at 600 dpi, no margins, with a printer context over its painter. The
// page's content grows with every drawing, as in a print job.
#include "platform/dc.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSizeF>

namespace pv::bench {

struct LabelPdfPage {
  static constexpr int kDpi = 600;
  QBuffer buffer;
  QPdfWriter writer{&buffer};
  QPainter painter;
  pv::DeviceContextPtr dc;
  LabelPdfPage() {
    buffer.open(QIODevice::WriteOnly);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QSizeF(100, 70), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    painter.begin(&writer);
    pv::DeviceInfo info;
    info.dpiX = info.dpiY = kDpi;
    info.isPrinter = true;
    dc.reset(pv::CreateDeviceContext(&painter, info));
  }
};

}  // namespace pv::bench
