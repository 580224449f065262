// Renders the program's icon (an SVG) into the PNG sizes of the hicolor icon
// theme: plavik_rendericon <icon.svg> <hicolor folder> <size>...
// writes <hicolor folder>/<size>x<size>/apps/<name>.png for each size.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 4) {
    QTextStream(stderr) << "usage: plavik_rendericon <icon.svg> <hicolor folder> <size>...\n";
    return 2;
  }
  QSvgRenderer svg(args[1]);
  if (!svg.isValid()) {
    QTextStream(stderr) << args[1] << ": not a readable SVG picture\n";
    return 1;
  }
  const QString name = QFileInfo(args[1]).completeBaseName();
  for (qsizetype i = 3; i < args.size(); ++i) {
    bool ok = false;
    const int size = args[i].toInt(&ok);
    if (!ok || size <= 0) {
      QTextStream(stderr) << args[i] << ": not a size\n";
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      svg.render(&painter);
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
    const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
      QTextStream(stderr) << file << ": cannot be written\n";
      return 1;
    }
  }
  return 0;
}
