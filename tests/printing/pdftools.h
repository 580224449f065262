#pragma once
// poppler-utils over the PDF files the tests print.
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace printtest {

inline QString Run(const QString& program, const QStringList& args, int* exitCode = nullptr,
                   const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(), QString* err = nullptr) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  p.waitForFinished(120000);
  if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  if (err) *err = QString::fromUtf8(p.readAllStandardError());
  return QString::fromUtf8(p.readAllStandardOutput());
}

// "Pages:" of pdfinfo; -1 when the file cannot be read.
inline int PdfPages(const QString& pdf) {
  int code = 0;
  const QString out = Run(QStringLiteral("pdfinfo"), {pdf}, &code);
  const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(out);
  return code == 0 && m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The words of one page in the order of its content (pdftotext -raw).
inline QStringList PdfWords(const QString& pdf, int page) {
  const QString text =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-f"), QString::number(page),
                                        QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
  return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The words of every page, read in one go (pdftotext ends each page with a
// form feed).
inline std::vector<QStringList> PdfPageWords(const QString& pdf) {
  const QStringList pages =
      Run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}).split(QLatin1Char('\f'));
  std::vector<QStringList> words;
  for (const QString& page : pages)
    words.push_back(page.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts));
  return words;
}

// One page rendered at dpi, grey.
inline QImage PdfPage(const QString& pdf, int page, int dpi) {
  QTemporaryDir dir;
  const QString base = dir.filePath(QStringLiteral("page"));
  Run(QStringLiteral("pdftoppm"),
      {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
       QString::number(page), QStringLiteral("-singlefile"), QStringLiteral("-gray"), pdf, base});
  return QImage(base + QStringLiteral(".pgm"));
}

// Distinct image objects of the PDF (pdfimages -list names one line per
// drawing of an image, with the object number in its eleventh column).
inline int PdfImageObjects(const QString& pdf) {
  const QStringList lines =
      Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QSet<QString> objects;
  for (qsizetype i = 2; i < lines.size(); ++i) {
    const QStringList cols = lines[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (cols.size() > 10) objects.insert(cols[10]);
  }
  return int(objects.size());
}

// The raw bytes of the file's streams that are zlib data (each begins with
// the 0x78 of a 32 KB window), in file order.
inline QList<QByteArray> PdfDeflatedStreams(const QString& pdf) {
  QFile f(pdf);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = f.readAll();
  QList<QByteArray> streams;
  for (qsizetype at = data.indexOf("stream"); at >= 0; at = data.indexOf("stream", at + 6)) {
    if (at >= 3 && data.mid(at - 3, 3) == "end") continue;
    qsizetype begin = at + 6;
    if (data.mid(begin, 2) == "\r\n") {
      begin += 2;
    } else if (data.mid(begin, 1) == "\n") {
      begin += 1;
    } else {
      continue;
    }
    const qsizetype end = data.indexOf("endstream", begin);
    if (end < 0) break;
    if (data.at(begin) == '\x78') streams.append(data.mid(begin, end - begin));
    at = end;
  }
  return streams;
}

// zlib data inflated (empty when it does not inflate). qUncompress takes
// the expected size first, big-endian; it grows its buffer when that is
// short.
inline QByteArray Inflate(const QByteArray& zlib) { return qUncompress(QByteArray("\x00\x01\x00\x00", 4) + zlib); }

}  // namespace printtest
