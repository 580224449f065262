#pragma once
// The part files of a print job as the page workers write them with Qt's PDF
// writer, made for the tests of their join, and what poppler says of a PDF's
// pages.
#include "tests/printing/pdftools.h"

#include <QByteArray>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace printtest {

struct PartPage {
  QString text;
  QPageSize size{QPageSize::A4};
  bool picture = false;
  bool gradient = false;
};

// A part as the page workers write it: one word per page, a picture or
// gradient fills where asked, the document titled `title`.
inline void WritePart(const QString& file, const QString& title, const QList<PartPage>& pages) {
  QPdfWriter writer(file);
  writer.setTitle(title);
  writer.setResolution(600);
  writer.setPageSize(pages.front().size);
  QPainter painter(&writer);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(24);
  painter.setFont(font);
  for (qsizetype i = 0; i < pages.size(); ++i) {
    if (i > 0) {
      writer.setPageSize(pages[i].size);
      writer.newPage();
    }
    if (pages[i].gradient) {
      QLinearGradient linear(0, 0, 1200, 0);
      linear.setColorAt(0, QColor(255, 250, 220));
      linear.setColorAt(1, QColor(200, 220, 255));
      painter.fillRect(QRectF(100, 100, 1200, 800), linear);
      QRadialGradient radial(QPointF(800, 1400), 300);
      radial.setColorAt(0, Qt::red);
      radial.setColorAt(1, Qt::blue);
      painter.fillRect(QRectF(500, 1100, 600, 600), radial);
    }
    painter.drawText(QPointF(600, 900), pages[i].text);
    if (pages[i].picture) {
      QImage picture(120, 80, QImage::Format_RGB32);
      for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 2, y * 3, (x + y) % 256));
      painter.drawImage(QRectF(600, 1200, 1200, 800), picture);
    }
  }
}

// Every page's size in points as pdfinfo prints it ("595.276 x 841.89").
inline QStringList PdfPageSizes(const QString& pdf) {
  const QString out = Run(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                      QStringLiteral("9999"), pdf});
  QStringList sizes;
  auto it = QRegularExpression(QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+ x [\\d.]+)")).globalMatch(out);
  while (it.hasNext()) sizes.append(it.next().captured(1));
  return sizes;
}

inline QByteArray ReadBytes(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& file, const QByteArray& data) {
  QFile f(file);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

}  // namespace printtest
