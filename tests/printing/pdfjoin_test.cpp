// The joining of the part files of a print job: pages, their order, sizes
// and streams as the parts have them, the first part's document information,
// and failures that leave the target as it was.
#include "printing/pdfjoin.h"

#include "tests/printing/pdfparts.h"
#include "tests/printing/pdftools.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>

namespace {

using printtest::PartPage;
using printtest::PdfPageSizes;
using printtest::WritePart;

// "Title:" of pdfinfo.
QString PdfTitle(const QString& pdf) {
  const QString out = printtest::Run(QStringLiteral("pdfinfo"), {pdf});
  return QRegularExpression(QStringLiteral("Title:\\s+([^\\n]*)")).match(out).captured(1).trimmed();
}

// A stream of a PDF file: its dictionary and its data, as many bytes as its
// /Length says (Qt's writer puts a line end after the data, qpdf does not).
struct Stream {
  QByteArray dict;
  QByteArray data;
  bool operator<(const Stream& o) const { return data < o.data; }
  bool operator==(const Stream& o) const { return data == o.data; }
};

// The streams of the file in file order.
QList<Stream> Streams(const QString& pdf) {
  const QByteArray file = printtest::ReadBytes(pdf);
  const QRegularExpression length(QStringLiteral("/Length\\s+(\\d+)(\\s+(\\d+)\\s+R)?"));
  QList<Stream> streams;
  for (qsizetype at = file.indexOf("stream"); at >= 0; at = file.indexOf("stream", at + 6)) {
    if (at >= 3 && file.mid(at - 3, 3) == "end") continue;
    const qsizetype obj = file.lastIndexOf(" obj", at);
    const QByteArray dict = file.mid(obj + 4, at - obj - 4);
    const auto m = length.match(QString::fromLatin1(dict));
    if (!m.hasMatch()) continue;
    qsizetype size = m.captured(1).toLongLong();
    if (m.hasCaptured(2)) {
      const qsizetype def = file.indexOf("\n" + m.captured(1).toLatin1() + " " + m.captured(3).toLatin1() + " obj");
      size = QString::fromLatin1(file.mid(def).split('\n').value(2)).trimmed().toLongLong();
    }
    const qsizetype begin = at + 6 + (file.mid(at + 6, 2) == "\r\n" ? 2 : 1);
    streams.append({dict, file.mid(begin, size)});
    at = begin + size;
  }
  return streams;
}

// The page contents among the files' streams (deflated, and neither a font
// nor a picture nor metadata), inflated, in file order.
QList<QByteArray> PageContents(const QStringList& pdfs) {
  QList<QByteArray> pages;
  for (const QString& pdf : pdfs) {
    for (const Stream& s : Streams(pdf)) {
      if (s.dict.contains("/FlateDecode") && !s.dict.contains("/Length1") && !s.dict.contains("/Type") &&
          !s.dict.contains("/Subtype")) {
        pages.append(printtest::Inflate(s.data));
      }
    }
  }
  return pages;
}

// Three parts of 3, 1 and 2 pages: the second draws a picture, the third is
// on label-sized pages.
class PdfJoin : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::test::EnsureApplication();  // the writer's fonts
    ASSERT_TRUE(dir.isValid());
    const QPageSize label(QSizeF(100, 70), QPageSize::Millimeter);
    WritePart(Part(0), QStringLiteral("Etichette clienti"),
              {{QStringLiteral("Alfauno")}, {QStringLiteral("Alfadue")}, {QStringLiteral("Alfatre")}});
    WritePart(Part(1), QStringLiteral("Seconda parte"), {{QStringLiteral("Betauno"), QPageSize::A4, true}});
    WritePart(Part(2), QStringLiteral("Terza parte"),
              {{QStringLiteral("Gammauno"), label}, {QStringLiteral("Gammadue"), label}});
    parts = {Part(0), Part(1), Part(2)};
    target = dir.filePath(QStringLiteral("stampa.pdf"));
  }
  QString Part(int i) const { return dir.filePath(QStringLiteral("parte%1.pdf").arg(i)); }

  QTemporaryDir dir;
  QStringList parts;
  QString target;
};

TEST_F(PdfJoin, EveryPageOfThePartsInOrderWithItsSizeUnderTheFirstPartsTitle) {
  const QStringList sizes = PdfPageSizes(Part(0)) + PdfPageSizes(Part(1)) + PdfPageSizes(Part(2));
  ASSERT_EQ(sizes.size(), 6);
  ASSERT_NE(sizes.front(), sizes.back());
  QString reason;
  ASSERT_TRUE(pv::JoinPdfFiles(parts, target, &reason)) << reason.toStdString();
  EXPECT_TRUE(reason.isEmpty());

  ASSERT_EQ(printtest::PdfPages(target), 6);
  const QStringList words = {QStringLiteral("Alfauno"), QStringLiteral("Alfadue"),  QStringLiteral("Alfatre"),
                             QStringLiteral("Betauno"), QStringLiteral("Gammauno"), QStringLiteral("Gammadue")};
  for (int page = 1; page <= 6; ++page) {
    EXPECT_EQ(printtest::PdfWords(target, page), QStringList{words[page - 1]}) << "page " << page;
  }
  EXPECT_EQ(PdfPageSizes(target), sizes);
  EXPECT_EQ(PdfTitle(target), QStringLiteral("Etichette clienti"));
  EXPECT_EQ(printtest::PdfImageObjects(target), 1);
  // The parts are the caller's to remove.
  for (const QString& part : parts) EXPECT_TRUE(QFileInfo::exists(part)) << part.toStdString();
}

TEST_F(PdfJoin, TheStreamsAreCopiedAsThePartsHaveThemAndThePagesInOrder) {
  ASSERT_TRUE(pv::JoinPdfFiles(parts, target, nullptr));
  // Every stream byte for byte: nothing decoded and compressed again,
  // nothing lost, nothing copied twice.
  QList<Stream> streams, joinedStreams = Streams(target);
  for (const QString& part : parts) streams += Streams(part);
  ASSERT_GT(streams.size(), 12);
  std::sort(streams.begin(), streams.end());
  std::sort(joinedStreams.begin(), joinedStreams.end());
  EXPECT_EQ(joinedStreams.size(), streams.size());
  EXPECT_TRUE(joinedStreams == streams);
  // The page contents in page order, each as Qt's writer deflated it.
  const QList<QByteArray> pages = PageContents(parts);
  ASSERT_EQ(pages.size(), 6);
  for (qsizetype i = 0; i < pages.size(); ++i) EXPECT_TRUE(pages[i].contains(" cm")) << i;
  EXPECT_TRUE(PageContents({target}) == pages);
  // Not compressed again as a whole: no object streams, no linearisation.
  const QByteArray joined = printtest::ReadBytes(target);
  EXPECT_FALSE(joined.contains("/ObjStm"));
  EXPECT_FALSE(joined.contains("/Linearized"));
}

TEST_F(PdfJoin, OnePartBecomesTheTargetAsItIs) {
  const QByteArray part = printtest::ReadBytes(Part(2));
  ASSERT_TRUE(printtest::WriteBytes(target, "an older file"));
  QString reason;
  ASSERT_TRUE(pv::JoinPdfFiles({Part(2)}, target, &reason)) << reason.toStdString();
  EXPECT_EQ(printtest::ReadBytes(target), part);
  EXPECT_EQ(printtest::PdfPages(target), 2);

  // From another file system (memory) it is copied.
  QTemporaryDir shm(QStringLiteral("/dev/shm/plavik-XXXXXX"));
  if (!shm.isValid()) GTEST_SKIP() << "no /dev/shm";
  const QString there = shm.filePath(QStringLiteral("parte.pdf"));
  ASSERT_TRUE(QFile::copy(Part(0), there));
  ASSERT_TRUE(pv::JoinPdfFiles({there}, target, &reason)) << reason.toStdString();
  EXPECT_EQ(printtest::ReadBytes(target), printtest::ReadBytes(Part(0)));
  EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("stampa*")}, QDir::Files),
            QStringList{QStringLiteral("stampa.pdf")});
}

// The joined file is made as the program's other files are, and a file it
// replaces keeps its permissions.
TEST_F(PdfJoin, TheTargetHasTheModeOfTheProgramsFiles) {
  const QString made = dir.filePath(QStringLiteral("fatto.pdf"));
  ASSERT_TRUE(printtest::WriteBytes(made, "a file"));
  ASSERT_TRUE(pv::JoinPdfFiles(parts, target, nullptr));
  EXPECT_EQ(QFileInfo(target).permissions(), QFileInfo(made).permissions());
  const auto own = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser;
  ASSERT_TRUE(QFile::setPermissions(target, own));
  ASSERT_TRUE(pv::JoinPdfFiles(parts, target, nullptr));
  EXPECT_EQ(QFileInfo(target).permissions(), own);
}

TEST_F(PdfJoin, APartThatQpdfWarnsOfIsJoinedWithoutAWordOnStandardError) {
  // The first part's document information names /Creator twice.
  QByteArray first = printtest::ReadBytes(Part(0));
  const qsizetype producer = first.indexOf("/Producer");
  ASSERT_GT(producer, 0);
  first.replace(producer, 9, "/Creator ");
  ASSERT_TRUE(printtest::WriteBytes(Part(0), first));
  testing::internal::CaptureStderr();
  QString reason;
  const bool joined = pv::JoinPdfFiles(parts, target, &reason);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(joined) << reason.toStdString();
  EXPECT_EQ(printtest::PdfPages(target), 6);
  EXPECT_EQ(PdfTitle(target), QStringLiteral("Etichette clienti"));
}

TEST_F(PdfJoin, AFailureSaysWhyAndLeavesTheTargetAsItWas) {
  const QString broken = dir.filePath(QStringLiteral("rotta.pdf"));
  const QByteArray whole = printtest::ReadBytes(Part(1));
  // The end of a stream overwritten, the file's length and table unchanged.
  QByteArray overwritten = whole;
  overwritten.replace(overwritten.indexOf("endstream"), 9, "xxxxxxxxx");
  // A folder that cannot be made, as a file has its name, and a target that
  // is a folder: the file written beside it cannot take its place.
  const QString notAFolder = dir.filePath(QStringLiteral("chiusa"));
  ASSERT_TRUE(printtest::WriteBytes(notAFolder, "a file"));
  const QString folder = dir.filePath(QStringLiteral("cartella/stampa.pdf"));
  ASSERT_TRUE(QDir().mkpath(folder));
  enum class To { kFile, kFileInAFile, kFolder };
  struct Case {
    const char* what;
    QByteArray brokenPart;  // what the broken part holds
    bool missing;           // it is not there at all
    To to;                  // the target
    const char* reason;     // what the reason says
  };
  const Case cases[] = {
      {"missing part", {}, true, To::kFile, "non esiste"},
      {"truncated part", whole.left(whole.size() * 2 / 3), false, To::kFile, "danneggiato"},
      {"truncated end", whole.left(whole.size() - 40), false, To::kFile, "danneggiato"},
      {"overwritten stream", overwritten, false, To::kFile, "danneggiato"},
      {"not a PDF", "Codice;Nome\n1;Rossi\n", false, To::kFile, "danneggiato"},
      {"empty part", {}, false, To::kFile, "danneggiato"},
      {"folder that cannot be made", whole, false, To::kFileInAFile, "Impossibile scrivere il file"},
      {"target that is a folder", whole, false, To::kFolder, "Impossibile scrivere il file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(broken);
    if (!c.missing) {
      ASSERT_TRUE(printtest::WriteBytes(broken, c.brokenPart));
    }
    const QString to = c.to == To::kFile          ? target
                       : c.to == To::kFileInAFile ? notAFolder + QStringLiteral("/stampa.pdf")
                                                  : folder;
    testing::internal::CaptureStderr();
    for (const bool existing : {false, true}) {
      if (c.to != To::kFile && existing) continue;
      QFile::remove(target);
      if (existing) {
        ASSERT_TRUE(printtest::WriteBytes(target, "an older file"));
      }
      for (const QStringList& list : {QStringList{Part(0), broken, Part(2)}, QStringList{broken}}) {
        QString reason;
        EXPECT_FALSE(pv::JoinPdfFiles(list, to, &reason)) << list.size() << " parts";
        EXPECT_TRUE(reason.contains(QString::fromUtf8(c.reason))) << reason.toStdString();
        EXPECT_TRUE(reason.contains(c.to == To::kFile ? broken : to)) << reason.toStdString();
        EXPECT_TRUE(QFileInfo::exists(broken) || c.missing);
        if (existing) {
          EXPECT_EQ(printtest::ReadBytes(target), "an older file");
        } else if (c.to == To::kFolder) {
          EXPECT_TRUE(QFileInfo(to).isDir());
        } else {
          EXPECT_FALSE(QFileInfo::exists(to));
        }
        // Nothing written beside the target is left either.
        EXPECT_EQ(QDir(QFileInfo(to).path()).entryList({QStringLiteral("stampa*")}, QDir::Files),
                  existing ? QStringList{QStringLiteral("stampa.pdf")} : QStringList{});
      }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
}

// The file system takes no more than a few bytes (as when the disk is
// full): the join says so and leaves the target as it was.
TEST_F(PdfJoin, AFileSystemThatTakesNoMoreLeavesTheTargetAsItWas) {
  ASSERT_TRUE(printtest::WriteBytes(target, "an older file"));
  rlimit before{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = before;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  QString reason;
  const bool joined = pv::JoinPdfFiles(parts, target, &reason);
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(joined);
  EXPECT_EQ(reason, QStringLiteral("Impossibile scrivere il file \"%1\".").arg(target));
  EXPECT_EQ(printtest::ReadBytes(target), "an older file");
  EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("stampa*")}, QDir::Files),
            QStringList{QStringLiteral("stampa.pdf")});
}

}  // namespace
