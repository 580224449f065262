#include "printing/panel/preview.h"

#include "printing/engine.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

namespace pv {

class PreviewSheetWidget : public QWidget {
 public:
  explicit PreviewSheetWidget(PrintPreview* owner) : QWidget(owner), m_owner(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override { m_owner->PaintSheet(this); }

 private:
  PrintPreview* m_owner;
};

PrintPreview::PrintPreview(QWidget* parent) : QWidget(parent) {
  m_sheet = new PreviewSheetWidget(this);
  Layout();
}

void PrintPreview::PreparePrinting(double pageWidth, double pageHeight, std::int32_t printerResX,
                                   std::int32_t printerResY) {
  m_pageWidth = pageWidth;
  m_pageHeight = pageHeight;
  m_resX = printerResX;
  m_resY = printerResY;
  Layout();
}

void PrintPreview::Refresh() { m_sheet->update(); }

PreviewSheet PrintPreview::Geometry() const {
  return PreviewSheet{m_sheet->width(), m_sheet->height(), m_pageWidth, m_pageHeight, m_resX, m_resY};
}

std::int32_t PrintPreview::GetX(std::int32_t x) const { return SheetX(Geometry(), x); }
std::int32_t PrintPreview::GetY(std::int32_t y) const { return SheetY(Geometry(), y); }

void PrintPreview::GetPoint(std::int32_t& xp, std::int32_t& yp) const {
  xp = GetX(xp);
  yp = GetY(yp);
}

std::int16_t PrintPreview::SetScaleMode(std::int16_t) { return 0; }

void PrintPreview::Layout() {
  // A page of no size leaves the sheet where it was.
  const PreviewPlacement p = PlacePreviewSheet(width(), height(), m_pageWidth, m_pageHeight);
  if (!p.Valid) return;
  m_zoom = p.Zoom;
  m_sheet->setGeometry(p.Left, p.Top, p.Width, p.Height);
  m_sheet->update();
  update();
}

void PrintPreview::resizeEvent(QResizeEvent*) { Layout(); }

void PrintPreview::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  const QRect s = m_sheet->geometry();
  const QColor shadow(100, 100, 100);
  // Offset three pixels from the sheet's top-left corner, right and below.
  p.fillRect(QRect(QPoint(s.left() + 3, s.bottom() + 1), QPoint(s.right() + 1, s.bottom() + 1)), shadow);
  p.fillRect(QRect(QPoint(s.right() + 1, s.top() + 3), QPoint(s.right() + 1, s.bottom() + 1)), shadow);
}

void PrintPreview::PaintSheet(QWidget* sheet) {
  QImage image(sheet->size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (m_pageHeight != 0) OCXFontRatio = SheetFontRatio(sheet->height(), m_pageHeight);
  {
    QPainter painter(&image);
    DeviceContextPtr dc(CreateDeviceContext(&painter, sheet->logicalDpiX(), sheet->logicalDpiY(), &image));
    emit Draw(dc.get());
  }
  QPainter out(sheet);
  out.drawImage(0, 0, image);
}

PreviewControls::PreviewControls(PrintPreview* preview) : m_preview(preview) {
  QObject::connect(preview, &PrintPreview::Draw, preview, [](DeviceContext* hdc) { PrintRun().PrintPage(hdc, true); });
}

void PreviewControls::PreparePrinting(double pageWidth, double pageHeight, std::int32_t resX, std::int32_t resY) {
  m_preview->PreparePrinting(pageWidth, pageHeight, resX, resY);
}
void PreviewControls::RefreshPreview() { m_preview->Refresh(); }
PreviewSheet PreviewControls::PreviewGeometry() { return m_preview->Geometry(); }
float PreviewControls::OCXFontRatio() { return m_preview->OCXFontRatio; }

}  // namespace pv
