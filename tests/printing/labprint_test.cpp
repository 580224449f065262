// The lab-print tool: a label file printed through the real job on "PDF",
// checked with poppler-utils.
#include "pdftools.h"

#include "mergefixture.h"

#include "document/predefinedfields.h"
#include "document/labelfile.h"
#include "printing/pdfstreams.h"
#include "tests/libs/pictor2/fixtures.h"
#include "tests/support/records.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

using printtest::Ink;

class LabPrintTest : public printtest::PrintTest {
 protected:
  void SetUp() override {
    PrintTest::SetUp();
    // The program database of the tool's program folder, with two formats:
    // 2 x 2 labels of 20 x 10 mm, and 72 labels (6 x 12) of 30 x 20 mm.
    AddFormats({QStringLiteral("'T-4', 20, 10, 2, 2, 5, 0, 5, 0, 5, 5, 210, 297"),
                QStringLiteral("'T-72', 30, 20, 6, 12, 20, 0, 15, 0, 2, 2, 210, 297")});
    pv::CloseDatabase();
    SolidBackground(QColor(40, 90, 160));
  }

  // A label of w x h mm on format `code`, its background the solid picture.
  QString WriteLabel(const QString& code, double w, double h) {
    pv::Header.LabelFormatCode = code;
    pv::Header.LabelWidth = w;
    pv::Header.LabelHeight = h;
    pv::LabFileContent content;
    EXPECT_TRUE(pv::CurrentLabContent(content));
    const QString file = Home(code + QStringLiteral(".lab"));
    QFile out(file);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_TRUE(pv::WriteLabFile(out, content));
    return file;
  }

  int LabPrint(const QStringList& args, QString* err = nullptr) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PLAVIK_HOME"), Home(QString()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    int code = -1;
    printtest::Run(QStringLiteral(LAB_PRINT_PATH), args, &code, env, err);
    return code;
  }

  void SetIni(const QByteArray& text) {
    QFile ini(Home(QStringLiteral("plavik.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ini.write(text);
  }
};

TEST_F(LabPrintTest, PagesAndPositionsComeOutWhereTheLayoutSays) {
  const QString lab = WriteLabel(QStringLiteral("T-4"), 20, 10);
  const QString pdf = Home(QStringLiteral("three.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf, QStringLiteral("3")}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfPages(pdf), 3);

  // Positions 2 to 4 on page 1 only; page 2 whole. At 254 dpi: 10 pixels a mm.
  const QString ranged = Home(QStringLiteral("ranged.pdf"));
  ASSERT_EQ(
      LabPrint({lab, ranged, QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("4"), QStringLiteral("1")}, &err),
      0)
      << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(ranged), 2);
  const QImage first = printtest::PdfPage(ranged, 1, 254);
  const QImage second = printtest::PdfPage(ranged, 2, 254);
  ASSERT_FALSE(first.isNull());
  const QPoint centres[] = {{150, 100}, {400, 100}, {150, 250}, {400, 250}};
  const bool onFirst[] = {false, true, true, true};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Ink(first, centres[i].x(), centres[i].y()), onFirst[i]) << i + 1;
    EXPECT_TRUE(Ink(second, centres[i].x(), centres[i].y())) << i + 1;
  }
  EXPECT_FALSE(Ink(first, 275, 100));  // the gap between labels
  EXPECT_FALSE(Ink(first, 40, 40));    // the margin
}

TEST_F(LabPrintTest, ABorderHoldingAPictureIsOneImageObjectForTheWholeSheet) {
  const QString border = Home(QStringLiteral("cornice.emf"));
  QFile f(border);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(pictor2_fixtures::BitmapEmf());
  f.close();
  pv::BorderName = border;
  const QString lab = WriteLabel(QStringLiteral("T-72"), 30, 20);
  const QString pdf = Home(QStringLiteral("bordered.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf}, &err), 0) << err.toStdString();
  // The background and the border's picture, once each for 72 labels.
  EXPECT_EQ(printtest::PdfImageObjects(pdf), 2);
}

TEST_F(LabPrintTest, OneBackgroundObjectForSeventyTwoLabelsAndRoundLabelsStaySmall) {
  // A background of some size, as real ones are.
  QImage picture(300, 200, QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) picture.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 200, 120));
  ASSERT_TRUE(picture.save(pv::BackgroundName));
  const QString lab = WriteLabel(QStringLiteral("T-72"), 30, 20);
  const QString square = Home(QStringLiteral("square.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, square}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfImageObjects(square), 1);

  SetIni("[PRINTER]\r\nPRINTCIRCLE=1\r\n");
  const QString round = Home(QStringLiteral("round.pdf"));
  ASSERT_EQ(LabPrint({lab, round}, &err), 0) << err.toStdString();
  EXPECT_EQ(printtest::PdfImageObjects(round), 1);
  const qint64 squareSize = QFileInfo(square).size();
  const qint64 roundSize = QFileInfo(round).size();
  EXPECT_LE(double(roundSize), 1.5 * double(squareSize)) << roundSize << " vs " << squareSize;
  // A clip as pixels would cost tens of kilobytes a label; as a path, bytes.
  EXPECT_LT(double(roundSize - squareSize) / 72, 1024.0);
  // Round: the corners of a label stay blank, its centre is printed.
  const QImage page = printtest::PdfPage(round, 1, 254);
  EXPECT_TRUE(Ink(page, 150 + 150, 200 + 100));
  EXPECT_FALSE(Ink(page, 150 + 5, 200 + 5));
}

TEST_F(LabPrintTest, ThePdfStreamsAreDeflatedAtTheProgramsLevelAndReadBack) {
  // Levels 2 to 5 share the zlib header 78 5E; Qt's own default, 6, writes 78 9C.
  static_assert(pv::PdfStreamLevel >= 2 && pv::PdfStreamLevel <= 5);
  const QString lab = WriteLabel(QStringLiteral("T-4"), 20, 10);
  const QString pdf = Home(QStringLiteral("streams.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf, QStringLiteral("2")}, &err), 0) << err.toStdString();
  const QList<QByteArray> streams = printtest::PdfDeflatedStreams(pdf);
  ASSERT_GE(streams.size(), 3);  // two pages and the background picture at least
  for (const QByteArray& s : streams) {
    EXPECT_EQ(quint8(s.at(1)), 0x5E);
    EXPECT_FALSE(printtest::Inflate(s).isEmpty());
  }
  EXPECT_EQ(printtest::PdfPages(pdf), 2);
  EXPECT_TRUE(Ink(printtest::PdfPage(pdf, 2, 254), 150, 100));  // the first label
}

TEST_F(LabPrintTest, FailuresExitOneWithTheMessage) {
  const QString lab = WriteLabel(QStringLiteral("T-4"), 20, 10);
  QString err;
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("no/such/dir/out.pdf"))}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("Printing error: 1"))) << err.toStdString();

  const QString unknown = WriteLabel(QStringLiteral("NOPE"), 20, 10);
  EXPECT_EQ(LabPrint({unknown, Home(QStringLiteral("x.pdf"))}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("NOPE"))) << err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Home(QStringLiteral("x.pdf"))));

  EXPECT_EQ(LabPrint({lab}, &err), 2);
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("y.pdf")), QStringLiteral("0")}, &err), 2);
}

// A label of 40 x 20 mm with two fields: NOME, and the counter from 100 by
// 5; 19 records at 8 labels a sheet.
class LabPrintMergeTest : public LabPrintTest {
 protected:
  void SetUp() override {
    LabPrintTest::SetUp();
    AddFormats({QStringLiteral("'T-8', 40, 20, 2, 4, 10, 0, 10, 0, 5, 5, 100, 110")});
    const QString folder = Home(QStringLiteral("dati"));
    printtest::WriteMergeTable(folder, QStringLiteral("clienti"), 19);
    pv::Registration r;
    r.label = QStringLiteral("Clienti");
    r.connectionString = printtest::DBaseConnection(folder);
    r.recordSetName = QStringLiteral("clienti");
    registration = QString::number(pv::RegistrationStore(pv::rsRegistrations).Add(r));
    pv::CloseDatabase();

    // The tool puts the label in the middle of the editor's work area.
    const float left = 150.0f - 20.0f, top = 150.0f - 10.0f;
    pv::ObjectRecord field = pv::test::BoxRecord(pv::UserTypeDatabaseField, left + 15, top + 6, 28, 8);
    field.FontName = QStringLiteral("DejaVu Sans");
    field.FontSize = 9;
    field.Alignment = 20;
    field.Color1 = 0;
    field.Content = QStringLiteral("NOME");
    pv::test::AppendRecord(field);
    field.CenterY = top + 14;
    field.Content = QString::fromLatin1(pv::kPredefinedCounter);
    field.FormatText = QStringLiteral("#100+5#");
    pv::test::AppendRecord(field);
    lab = WriteLabel(QStringLiteral("T-8"), 40, 20);
  }

  // NOME and the counter of each label, in order.
  static QStringList Labels(const QStringList& names, int firstCounter) {
    QStringList words;
    for (qsizetype i = 0; i < names.size(); ++i) words << names[i] << QString::number(firstCounter + 5 * int(i));
    return words;
  }
  static QStringList Names(std::initializer_list<int> rows) {
    QStringList out;
    for (int r : rows) out << QStringLiteral("Nome%1").arg(r, 5, 10, QLatin1Char('0'));
    return out;
  }

  QString registration;
  QString lab;
};

TEST_F(LabPrintMergeTest, OneLabelPerRecordInOrderWithTheLastPageCut) {
  const QString pdf = Home(QStringLiteral("merge.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf, QStringLiteral("--merge"), registration}, &err), 0) << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(pdf), 3);
  EXPECT_EQ(printtest::PdfWords(pdf, 1), Labels(Names({0, 1, 2, 3, 4, 5, 6, 7}), 100));
  EXPECT_EQ(printtest::PdfWords(pdf, 2), Labels(Names({8, 9, 10, 11, 12, 13, 14, 15}), 140));
  EXPECT_EQ(printtest::PdfWords(pdf, 3), Labels(Names({16, 17, 18}), 180));

  // Page 3: ink in the first three positions only (10 pixels a millimetre).
  const QImage page = printtest::PdfPage(pdf, 3, 254);
  ASSERT_FALSE(page.isNull());
  for (int n = 1; n <= 8; ++n) {
    const int col = (n - 1) % 2, row = (n - 1) / 2;
    EXPECT_EQ(Ink(page, 300 + 450 * col, 200 + 250 * row), n <= 3) << n;
  }
}

TEST_F(LabPrintMergeTest, SortAndFilterChangeOrderAndSet) {
  const QString sorted = Home(QStringLiteral("sorted.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, sorted, QStringLiteral("--merge"), registration, QStringLiteral("--sort"),
                      QStringLiteral("[NOME] DESC")},
                     &err),
            0)
      << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(sorted), 3);
  EXPECT_EQ(printtest::PdfWords(sorted, 1), Labels(Names({18, 17, 16, 15, 14, 13, 12, 11}), 100));
  EXPECT_EQ(printtest::PdfWords(sorted, 3), Labels(Names({2, 1, 0}), 180));

  // Roma is every third row; the sort holds through the filter.
  const QString filtered = Home(QStringLiteral("filtered.pdf"));
  ASSERT_EQ(LabPrint({lab, filtered, QStringLiteral("--merge"), registration, QStringLiteral("--filter"),
                      QStringLiteral("[CITTA] = 'Roma'"), QStringLiteral("--sort"), QStringLiteral("[NOME] DESC")},
                     &err),
            0)
      << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(filtered), 1);
  EXPECT_EQ(printtest::PdfWords(filtered, 1), Labels(Names({18, 15, 12, 9, 6, 3, 0}), 100));
}

TEST_F(LabPrintMergeTest, ASourceThatDoesNotMergeFailsWithItsMessage) {
  QString err;
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("none.pdf")), QStringLiteral("--merge"), QStringLiteral("999")}, &err),
            1);
  EXPECT_TRUE(err.contains(QStringLiteral("Impossibile collegare questo archivio"))) << err.toStdString();
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("none.pdf")), QStringLiteral("--merge"), registration,
                      QStringLiteral("--filter"), QStringLiteral("[CITTA] = 'Torino'")},
                     &err),
            1);
  EXPECT_TRUE(err.contains(QStringLiteral("Non sono stati trovati record"))) << err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(Home(QStringLiteral("none.pdf"))));
  EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("none.pdf")), QStringLiteral("--sort"), QStringLiteral("[NOME]")}, &err),
            2);
}

// A source the reader cannot read: lab-print fails with the message and the
// reader's own reason under it.
TEST_F(LabPrintMergeTest, ASourceThatCannotBeReadSaysWhy) {
  const QString folder = Home(QStringLiteral("dati"));
  printtest::WriteDamagedTable(folder, QStringLiteral("rotta"));
  const struct {
    const char* what;
    QString table;
  } cases[] = {{"damaged file", QStringLiteral("rotta")}, {"missing table", QStringLiteral("assente")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    pv::OpenDatabase();
    pv::Registration r;
    r.label = c.table;
    r.connectionString = printtest::DBaseConnection(folder);
    r.recordSetName = c.table;
    const QString id = QString::number(pv::RegistrationStore(pv::rsRegistrations).Add(r));
    pv::CloseDatabase();
    QString err;
    EXPECT_EQ(LabPrint({lab, Home(QStringLiteral("none.pdf")), QStringLiteral("--merge"), id}, &err), 1);
    const QStringList lines = err.split(QLatin1Char('\n'));
    const qsizetype message = lines.indexOf(QRegularExpression(QStringLiteral("^Impossibile collegare.*")));
    ASSERT_GE(message, 0) << err.toStdString();
    ASSERT_LT(message + 1, lines.size());
    EXPECT_TRUE(lines[message + 1].contains(c.table)) << err.toStdString();
  }
}

// A long merge, sorted and filtered: every label of every page holds its
// record in the run's order and its number; the fonts are embedded once for
// the whole file.
TEST_F(LabPrintMergeTest, ALongMergeKeepsEveryRecordInItsPlace) {
  const int perPage = 8;
  const int pages = 129;
  // Two rows in three are not Bari; the last page holds a few labels.
  const int rows = (pages - 1) * perPage * 3 / 2 + 5;
  const QString folder = Home(QStringLiteral("molti"));
  printtest::WriteMergeTable(folder, QStringLiteral("molti"), rows);
  pv::OpenDatabase();
  pv::Registration r;
  r.label = QStringLiteral("Molti");
  r.connectionString = printtest::DBaseConnection(folder);
  r.recordSetName = QStringLiteral("molti");
  const QString many = QString::number(pv::RegistrationStore(pv::rsRegistrations).Add(r));
  pv::CloseDatabase();

  const QString pdf = Home(QStringLiteral("molti.pdf"));
  QString err;
  ASSERT_EQ(LabPrint({lab, pdf, QStringLiteral("--merge"), many, QStringLiteral("--filter"),
                      QStringLiteral("[CITTA] <> 'Bari'"), QStringLiteral("--sort"), QStringLiteral("[NOME] DESC")},
                     &err),
            0)
      << err.toStdString();
  ASSERT_EQ(printtest::PdfPages(pdf), pages);
  // One font for the names and the numbers, embedded once.
  const QStringList fonts =
      printtest::Run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
  EXPECT_EQ(fonts.size(), 1) << fonts.join(QLatin1Char('\n')).toStdString();

  // The rows on show: not Bari (row % 3 != 2), by name from the last.
  std::vector<int> shown;
  for (int i = rows - 1; i >= 0; --i) {
    if (i % 3 != 2) shown.push_back(i);
  }
  const std::vector<QStringList> words = printtest::PdfPageWords(pdf);
  ASSERT_GE(words.size(), std::size_t(pages));
  for (int page = 1; page <= pages; ++page) {
    QStringList names;
    for (int n = (page - 1) * perPage; n < std::min<int>(page * perPage, int(shown.size())); ++n)
      names << QStringLiteral("Nome%1").arg(shown[std::size_t(n)], 5, 10, QLatin1Char('0'));
    EXPECT_EQ(words[std::size_t(page - 1)], Labels(names, 100 + 5 * perPage * (page - 1))) << page;
  }
}

}  // namespace
