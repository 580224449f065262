// The quick join of parts made by Qt's PDF writer: a document that qpdf and
// poppler read whole, the pages in order with their sizes and their streams
// as the parts have them, strings and comments never rewritten, and every
// other shape of file refused (then joined, or refused with its reason, by
// the join that reads any PDF).
#include "printing/pdfsplice.h"

#include "printing/pdfjoin.h"
#include "tests/printing/pdfparts.h"
#include "tests/printing/pdftools.h"
#include "tests/support/app_fixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLinearGradient>
#include <QMap>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRadialGradient>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using printtest::PartPage;
using printtest::PdfPageSizes;
using printtest::WritePart;

std::optional<QByteArray> Splice(const QList<QByteArray>& parts) {
  std::vector<QByteArrayView> views;
  for (const QByteArray& p : parts) views.emplace_back(p);
  return pv::SplicePdfParts(views);
}

QString Qpdf(const QStringList& args, int* code) { return printtest::Run(QStringLiteral("qpdf"), args, code); }

// Every page's content stream as the file holds it (not decoded), in page
// order, read by qpdf.
QList<QByteArray> RawPageContents(const QString& pdf) {
  int code = 0;
  const QJsonObject json =
      QJsonDocument::fromJson(
          Qpdf({QStringLiteral("--json=2"), QStringLiteral("--json-key=pages"), pdf}, &code).toUtf8())
          .object();
  QList<QByteArray> contents;
  for (const QJsonValue& page : json.value(QStringLiteral("pages")).toArray()) {
    for (const QJsonValue& stream : page.toObject().value(QStringLiteral("contents")).toArray()) {
      QProcess qpdf;
      qpdf.start(QStringLiteral("qpdf"),
                 {QStringLiteral("--show-object=") + stream.toString().section(QLatin1Char(' '), 0, 0),
                  QStringLiteral("--raw-stream-data"), pdf});
      qpdf.waitForFinished();
      contents.append(qpdf.readAllStandardOutput());
    }
  }
  return contents;
}

// The file with its cross-reference table made again for its objects as
// they now are, after an edit moved them.
QByteArray WithNewTable(QByteArray pdf) {
  const qsizetype xref = pdf.lastIndexOf("\nxref\n") + 1;
  QByteArray trailer = pdf.mid(pdf.indexOf("trailer", xref));
  trailer.truncate(trailer.indexOf("startxref"));
  pdf.truncate(xref);
  QMap<int, qsizetype> offsets;
  auto it = QRegularExpression(QStringLiteral("(?m)^(\\d+) 0 obj")).globalMatch(QString::fromLatin1(pdf));
  while (it.hasNext()) {
    const auto m = it.next();
    offsets[m.captured(1).toInt()] = m.capturedStart();
  }
  const int size = offsets.lastKey() + 1;
  QByteArray table = "xref\n0 " + QByteArray::number(size) + "\n0000000000 65535 f \n";
  for (int i = 1; i < size; ++i) table += QByteArray::number(offsets.value(i)).rightJustified(10, '0') + " 00000 n \n";
  trailer.replace(
      QRegularExpression(QStringLiteral("/Size \\d+")).match(QString::fromLatin1(trailer)).captured().toLatin1(),
      "/Size " + QByteArray::number(size));
  return pdf + table + trailer + "startxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
}

// The number of the first object whose dictionary holds `text`.
int ObjectWith(const QByteArray& pdf, const QByteArray& text) {
  const qsizetype at = pdf.indexOf(text);
  const qsizetype obj = pdf.lastIndexOf(" 0 obj", at);
  const qsizetype line = pdf.lastIndexOf('\n', obj) + 1;
  return pdf.mid(line, obj - line).toInt();
}

// Four parts: text pages on A4; one page with a picture and gradient fills;
// two label-sized pages with gradient fills; a single page.
class PdfSplice : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::test::EnsureApplication();  // the writer's fonts
    ASSERT_TRUE(dir.isValid());
    const QPageSize label(QSizeF(100, 70), QPageSize::Millimeter);
    WritePart(Part(0), QStringLiteral("Etichette (5 0 R) stream"),
              {{QStringLiteral("Alfauno")}, {QStringLiteral("Alfadue")}, {QStringLiteral("Alfatre")}});
    WritePart(Part(1), QStringLiteral("Seconda"), {{QStringLiteral("Betauno"), QPageSize::A4, true, true}});
    WritePart(Part(2), QStringLiteral("Terza"),
              {{QStringLiteral("Gammauno"), label, false, true}, {QStringLiteral("Gammadue"), label, false, true}});
    WritePart(Part(3), QStringLiteral("Quarta"), {{QStringLiteral("Deltauno"), QPageSize::A5}});
    for (int i = 0; i < 4; ++i) bytes.append(printtest::ReadBytes(Part(i)));
    target = dir.filePath(QStringLiteral("stampa.pdf"));
  }
  QString Part(int i) const { return dir.filePath(QStringLiteral("parte%1.pdf").arg(i)); }
  QStringList Parts() const { return {Part(0), Part(1), Part(2), Part(3)}; }

  // The joined file is sound to qpdf and holds the parts' pages in order.
  void ExpectTheParts(const QString& joined) {
    int code = -1;
    const QString check = Qpdf({QStringLiteral("--check"), joined}, &code);
    EXPECT_EQ(code, 0) << check.toStdString();
    EXPECT_TRUE(check.contains(QStringLiteral("No syntax or stream encoding errors"))) << check.toStdString();
    ASSERT_EQ(printtest::PdfPages(joined), 7);
    const QStringList words = {QStringLiteral("Alfauno"), QStringLiteral("Alfadue"),  QStringLiteral("Alfatre"),
                               QStringLiteral("Betauno"), QStringLiteral("Gammauno"), QStringLiteral("Gammadue"),
                               QStringLiteral("Deltauno")};
    const std::vector<QStringList> pages = printtest::PdfPageWords(joined);
    for (int page = 0; page < 7; ++page) {
      EXPECT_EQ(pages.at(size_t(page)), QStringList{words[page]}) << "page " << page + 1;
    }
    QStringList sizes;
    for (const QString& part : Parts()) sizes += PdfPageSizes(part);
    EXPECT_EQ(PdfPageSizes(joined), sizes);
  }

  QTemporaryDir dir;
  QList<QByteArray> bytes;
  QString target;
};

TEST_F(PdfSplice, JoinsThePartsPagesInOrderWithTheirStreamsAsTheyAre) {
  // Gradients are there as Qt writes them: function, shading and pattern.
  ASSERT_TRUE(bytes[2].contains("/ShadingType 2") && bytes[2].contains("/ShadingType 3"));
  ASSERT_TRUE(bytes[1].contains("/Subtype /Image"));
  const std::optional<QByteArray> joined = Splice(bytes);
  ASSERT_TRUE(joined.has_value());
  ASSERT_TRUE(printtest::WriteBytes(target, *joined));
  ExpectTheParts(target);

  // The page contents byte for byte, in page order.
  QList<QByteArray> contents;
  for (const QString& part : Parts()) contents += RawPageContents(part);
  ASSERT_EQ(contents.size(), 7);
  EXPECT_TRUE(RawPageContents(target) == contents);
  EXPECT_EQ(printtest::PdfImageObjects(target), 1);
  // One catalog, one page tree, one document information: the first part's.
  EXPECT_EQ(joined->count("/Type /Catalog"), 1);
  EXPECT_EQ(joined->count("/Type /Pages"), 1);
  EXPECT_EQ(joined->count("/Producer"), 1);
  EXPECT_TRUE(joined->startsWith(bytes[0].left(bytes[0].indexOf(" 0 obj"))));
  int code = 0;
  const QString info = printtest::Run(QStringLiteral("pdfinfo"), {target}, &code);
  EXPECT_TRUE(info.contains(QStringLiteral("Etichette (5 0 R) stream"))) << info.toStdString();

  // Through JoinPdfFiles the same file (the quick join is the one it takes).
  ASSERT_TRUE(pv::JoinPdfFiles(Parts(), target, nullptr));
  EXPECT_EQ(printtest::ReadBytes(target), *joined);
  // A part of one page alone, joined after itself.
  const std::optional<QByteArray> twice = Splice({bytes[3], bytes[3]});
  ASSERT_TRUE(twice.has_value());
  ASSERT_TRUE(printtest::WriteBytes(target, *twice));
  EXPECT_EQ(printtest::PdfPageWords(target).at(1), QStringList{QStringLiteral("Deltauno")});
  EXPECT_EQ(printtest::PdfPages(target), 2);
}

// Text that looks like a reference or a keyword, in a string, a hex string
// or a comment of a later part, whose numbers all move, is copied as it is.
TEST_F(PdfSplice, StringsAndCommentsAreNeverRewritten) {
  QByteArray second = bytes[2];
  const QByteArray note =
      "/PlavikNota (vedi 5 0 R \\) e \\(6 0 R (7 0 R) stream\\\\) /PlavikHex <3520302052> % 8 0 R endobj\n";
  const qsizetype page = second.indexOf("/Type /Page\n");
  ASSERT_GT(page, 0);
  second.insert(page, note);
  second = WithNewTable(second);
  ASSERT_TRUE(printtest::WriteBytes(Part(2), second));
  bytes[2] = second;
  const std::optional<QByteArray> joined = Splice(bytes);
  ASSERT_TRUE(joined.has_value());
  EXPECT_TRUE(joined->contains(note));
  ASSERT_TRUE(printtest::WriteBytes(target, *joined));
  ExpectTheParts(target);
}

// Every shape the quick join does not know: it says so (under the
// sanitizers, never reading beyond a part), and JoinPdfFiles joins the parts
// with qpdf or says which part is damaged.
TEST_F(PdfSplice, OtherShapesAreLeftToTheJoinThatReadsAnyPdf) {
  const QByteArray second = bytes[1], third = bytes[2];
  const QString streams = dir.filePath(QStringLiteral("flussi.pdf"));
  int code = -1;
  Qpdf({QStringLiteral("--object-streams=generate"), Part(1), streams}, &code);
  ASSERT_EQ(code, 0);
  // The offset of object 4 in the table one byte off.
  QByteArray offByOne = second;
  const qsizetype entry = offByOne.indexOf('\n', offByOne.lastIndexOf("\nxref\n") + 6) + 1 + 4 * 20;
  offByOne.replace(entry, 10, QByteArray::number(offByOne.mid(entry, 10).toLongLong() + 1).rightJustified(10, '0'));
  // An update: the same table again after the file, with /Prev.
  QByteArray update = second;
  const qsizetype xref = update.lastIndexOf("\nxref\n") + 1;
  QByteArray again = update.mid(xref, update.indexOf("startxref", xref) - xref);
  again.replace(">>", "/Prev " + QByteArray::number(xref) + "\n>>");
  update += again + "startxref\n" + QByteArray::number(update.size()) + "\n%%EOF\n";
  // The two pages of the third part under a page tree of their own.
  QByteArray twoLevels = third;
  {
    const int root = ObjectWith(twoLevels, "/Type /Pages");
    const int inner = twoLevels.mid(twoLevels.indexOf("/Size ") + 6).split('\n').front().trimmed().toInt();
    const QByteArray rootRef = QByteArray::number(root) + " 0 R", innerRef = QByteArray::number(inner) + " 0 R";
    twoLevels.replace("/Parent " + rootRef, "/Parent " + innerRef);
    const qsizetype at = twoLevels.indexOf(QByteArray::number(root) + " 0 obj");
    const qsizetype kids = twoLevels.indexOf("/Kids", at), kidsEnd = twoLevels.indexOf(']', kids) + 1;
    const QByteArray list = twoLevels.mid(kids, kidsEnd - kids);
    twoLevels.replace(kids, kidsEnd - kids, "/Kids [" + innerRef + "]");
    const qsizetype xrefAt = twoLevels.lastIndexOf("\nxref\n") + 1;
    twoLevels.insert(xrefAt, QByteArray::number(inner) + " 0 obj\n<<\n/Type /Pages\n/Parent " + rootRef + "\n" + list +
                                 "\n/Count 2\n>>\nendobj\n");
    twoLevels = WithNewTable(twoLevels);
  }
  // A reference to an object the part does not have (same length).
  QByteArray dangling = second;
  dangling.replace(dangling.indexOf("/Contents ") + 10, 2, "99");
  // The length of a stream longer than its data.
  QByteArray longer = second;
  const qsizetype length = longer.indexOf("/Length 2\n");
  ASSERT_GT(length, 0);
  longer[length + 8] = '9';

  struct Case {
    const char* what;
    QByteArray part;  // in place of the second part
    int pages;        // of the parts that qpdf joins; 0: the part is damaged
  };
  const Case cases[] = {
      {"object streams", printtest::ReadBytes(streams), 5},
      {"truncated", second.left(second.size() * 2 / 3), 0},
      {"truncated end", second.left(second.size() - 10), 0},
      {"an offset one byte off", offByOne, 0},
      {"an update with /Prev", update, 5},
      {"a page tree of two levels", twoLevels, 6},
      {"a reference to an object it lacks", dangling, 5},
      {"a stream longer than its data", longer, 0},
      {"garbage", "Codice;Nome\n1;Rossi\n", 0},
      {"nothing", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(Splice({bytes[0], c.part, bytes[2]}).has_value());
    EXPECT_FALSE(Splice({c.part, bytes[2]}).has_value());
    ASSERT_TRUE(printtest::WriteBytes(Part(1), c.part));
    QString reason;
    const bool joined = pv::JoinPdfFiles({Part(0), Part(1), Part(3)}, target, &reason);
    EXPECT_EQ(joined, c.pages > 0) << reason.toStdString();
    if (joined) {
      EXPECT_EQ(printtest::PdfPages(target), c.pages);
    } else {
      EXPECT_TRUE(reason.contains(QStringLiteral("danneggiato")) && reason.contains(Part(1))) << reason.toStdString();
    }
  }
}

// A part cut anywhere, or with any byte of its objects' dictionaries, its
// table or its trailer changed to one that means something to the
// tokenizer, is read within its bytes (each copy is exactly as long as the
// part, for the address sanitizer); a cut part is never joined.
TEST_F(PdfSplice, APartCutOrChangedAnywhereIsReadWithinItsBytes) {
  const QByteArray& part = bytes[3];
  const auto splice = [&](const std::vector<char>& other) {
    return pv::SplicePdfParts({QByteArrayView(other.data(), qsizetype(other.size()))});
  };
  for (qsizetype length = 0; length < part.size() - 1; length += 7) {
    const std::vector<char> cut(part.begin(), part.begin() + length);
    EXPECT_FALSE(splice(cut).has_value()) << length;
  }
  // Where the tokenizer reads (outside the font and the page's stream data).
  const qsizetype firstStream = part.indexOf("stream\n"), table = part.lastIndexOf("\nxref\n");
  std::vector<qsizetype> places;
  for (qsizetype at = 0; at < firstStream; at += 5) places.push_back(at);
  for (qsizetype at = table; at < part.size(); at += 2) places.push_back(at);
  const QByteArray pages = QByteArray::number(ObjectWith(part, "/Type /Pages")) + " 0 obj";
  for (qsizetype at = part.indexOf(pages); at < part.indexOf("endobj", part.indexOf(pages)); ++at) places.push_back(at);
  std::vector<char> changed(part.begin(), part.end());
  for (const qsizetype at : places) {
    for (const char c : {'(', ')', '<', '>', '\\', '%', '9', ' '}) {
      changed[size_t(at)] = c;
      splice(changed);
    }
    changed[size_t(at)] = part[at];
  }
  EXPECT_TRUE(splice(changed).has_value()) << places.size();
}

}  // namespace
