// The .lab file and the document commands.
#include "fakes.h"
#include "document/labtexts.h"

#include "platform/cp1252.h"
#include "platform/runtime.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <optional>
#include <sys/stat.h>

namespace pvtest {
namespace {

using namespace pv;

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

QMap<QString, QByteArray> TempFiles() {
  QMap<QString, QByteArray> m;
  QDir dir(TempImageFolder());
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) m.insert(name, ReadAll(dir.filePath(name)));
  return m;
}

QString Fixture(const char* name) {
  return QStringLiteral(PLAVIK_TEST_SOURCE_DIR "/fixtures/") + QString::fromLatin1(name);
}

class LabFile : public DocumentTest {
 protected:
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  // A document with every object kind, selected and hidden objects, accented
  // text and two image objects with their pictures in the temp folder.
  void MakeRichDocument() {
    Header.LabelFormatCode = "L7163";
    Header.Text2 = "però";
    Header.Text5 = "°C";
    Header.LabelWidth = 99.1;
    Header.LabelHeight = 38.1;
    Header.Reserved = 3;
    BackgroundName = FixedName("/grafica/background/città.jpg");
    BorderName = FixedName("");
    std::vector<std::int16_t> kinds = {100, 101, 102, 104, 105, 106, 107, 108, 109, 300, 102};
    for (std::int16_t n = 0; n <= 13; ++n) kinds.push_back(static_cast<std::int16_t>(200 + n));
    std::int16_t image = 0;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
      const float f = static_cast<float>(i);
      const std::int32_t key =
          AddObject(10.5f + f, 20.25f + f, 5 + f / 3, 7 - f / 7, f * 10, GeomTypeOf(kinds[i]), kinds[i], false);
      ObjectRecord& r = Rec(key);
      r.Page = 1;
      r.Content = kinds[i] == UserTypeImage ? QStringLiteral("jpg") : QStringLiteral("à è ò ° #%1").arg(i);
      r.Opacity = static_cast<std::int16_t>(i * 4);
      r.FontName = "Times New Roman";
      r.FontSize = static_cast<std::int16_t>(8 + i);
      r.Italic = ToVbBool(i % 2);
      r.Bold = ToVbBool(i % 3 == 0);
      r.Underline = 1;
      r.StrikeOut = ToVbBool(i == 4);
      r.Reserved = static_cast<std::int32_t>(i * 1000 + 7);
      r.Reserved2 = -static_cast<std::int32_t>(i);
      r.Alignment = static_cast<std::int16_t>(20 + i % 4);
      r.Variant = kinds[i] == UserTypeImage ? ++image : static_cast<std::int16_t>(i % 3);
      r.LineColor = 0x00123456;
      r.LineStyle = 2;
      r.FillStyle = static_cast<std::int32_t>(i * 6);
      r.Color1 = 0xFFFFFF;
      r.Color2 = 0x323232;
      r.Aspect = static_cast<std::int32_t>(i);
      r.FormatText = kinds[i] == 100 ? QStringLiteral("dd/mm/yyyy") : QString();
      r.ExtraOption1 = 1;
      r.ExtraOption2 = 2;
      r.ShowMargins = -1;
      r.BearerBars = 0;
      r.ShowCheckDigit = -1;
      r.ShowText = -1;
      r.IsSelected = ToVbBool(i % 4 == 1);
      r.IsHidden = ToVbBool(i % 5 == 2);
    }
    QByteArray pic1(3000, '\0');
    for (int i = 0; i < pic1.size(); ++i) pic1[i] = static_cast<char>(i * 7);
    WriteAll(TempImageFile("1.jpg"), pic1);
    WriteAll(TempImageFile("2.jpg"), QByteArray("\xFF\xD8\xFF\xE0 second picture", 19));
  }

  bool SaveAs(const QString& path) {
    hosts.answers.push_back(path);
    return SaveDocument(true);
  }
  bool Open(const QString& path) {
    hosts.answers.push_back(path);
    return OpenDocument();
  }
};

TEST_F(LabFile, EveryKindRoundTripsToIdenticalRecordsAndPictures) {
  MakeRichDocument();
  const QMap<QString, QByteArray> pictures = TempFiles();
  ASSERT_TRUE(SaveAs(Path("rich.lab")));
  const DocumentBlock saved = DocBlock;  // after the geometry commit
  const LabelHeader header = Header;
  const QString background = BackgroundName;
  const QByteArray firstFile = ReadAll(Path("rich.lab"));

  for (int cycle = 0; cycle < 3; ++cycle) {
    ClearTempImageFolder();
    ResetDocumentState();
    ASSERT_TRUE(Open(Path("rich.lab"))) << cycle;
    EXPECT_TRUE(SameLiveObjects(DocBlock, saved)) << cycle;
    EXPECT_EQ(Header, header);
    EXPECT_EQ(BackgroundName, background);
    EXPECT_EQ(BorderName, QString(128, ' '));
    EXPECT_EQ(DocFileName, Path("rich.lab"));
    // The pictures come back with their own length: no byte is added.
    EXPECT_EQ(TempFiles(), pictures) << cycle;
    ASSERT_TRUE(SaveDocument(false));
    EXPECT_EQ(ReadAll(Path("rich.lab")), firstFile) << cycle;
  }
  EXPECT_EQ(Rec(2).Content, "à è ò ° #1");
}

TEST_F(LabFile, EmptyDocumentLength) {
  NewDocument();
  Header.LabelFormatCode = "ABC";
  Header.Text3 = "è";
  ASSERT_TRUE(SaveAs(Path("empty.lab")));
  const int header = (2 + 3) + (2 + 0) + (2 + 1) + (2 + 0) + (2 + 0) + 8 + 8 + 2;
  const QByteArray bytes = ReadAll(Path("empty.lab"));
  ASSERT_EQ(bytes.size(), 4 + header + 256 + 4 + 2);
  EXPECT_EQ(bytes.left(4), QByteArray("\x47\x41\xAB\x00", 4));
  EXPECT_EQ(bytes.mid(4 + 7, 3), QByteArray("\x01\x00\xE8", 3));  // Windows-1252 è
  EXPECT_EQ(bytes.mid(4 + header, 256), QByteArray(256, ' '));
  EXPECT_EQ(bytes.right(6), QByteArray(6, '\0'));
}

TEST_F(LabFile, RecordAndImageEntryLayout) {
  const std::int32_t k = AddObject(1.5f, 2, 3, 4, 0, GeomBox, UserTypeImage, false);
  Rec(k).Variant = 7;
  Rec(k).Content = " png ";
  WriteAll(TempImageFile("7.png"), "PIC");
  ASSERT_TRUE(SaveAs(Path("one.lab")));
  const QByteArray b = ReadAll(Path("one.lab"));
  const int start = 4 + (5 * 2 + 8 + 8 + 2) + 256 + 4;  // header of empty strings
  EXPECT_EQ(qFromLittleEndian<float>(b.constData() + start), 1.5f);
  const int record = 110 + (2 + 5) + (2 + 0) + (2 + 0);
  EXPECT_EQ(qFromLittleEndian<std::int16_t>(b.constData() + start + record), 1);  // M
  const int entry = start + record + 2;
  EXPECT_EQ(b.mid(entry, 64), QByteArray("7.png").leftJustified(64, ' '));
  EXPECT_EQ(qFromLittleEndian<std::int32_t>(b.constData() + entry + 64), 3);
  EXPECT_EQ(b.mid(entry + 68), QByteArray("PIC\0", 4));
}

TEST_F(LabFile, ForeignWriterFixtureReads) {
  ASSERT_TRUE(OpenDocumentFile(Fixture("sample.lab")));
  EXPECT_EQ(Header.LabelFormatCode, "A4-21");
  EXPECT_EQ(Header.LabelWidth, 70.0);
  EXPECT_EQ(Trim(BackgroundName), "C:\\grafica\\sfondo.jpg");
  ASSERT_EQ(ObjCount, 3);
  EXPECT_EQ(Objects[1].Content, "Caffè à 25°");
  EXPECT_EQ(Objects[1].IsSelected, VbTrue);
  EXPECT_EQ(Objects[2].IsHidden, VbTrue);
  EXPECT_EQ(Objects[2].X2, 60.0f);
  EXPECT_EQ(Objects[3].UserType, UserTypeImage);
  EXPECT_EQ(ReadAll(TempImageFile("1.bmp")), QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A", 10));
  EXPECT_TRUE(DocFileName.isEmpty());  // the template read keeps the file name
  // The editor, the status bar and the print panel follow the new header.
  EXPECT_EQ(hosts.calls, (QStringList{"LoadData", "SetParameter", "SetStatusBar", "ResetPrinterInformation"}));
  EXPECT_EQ(hosts.formatCodesSeen, QStringList{"A4-21"});
}

TEST_F(LabFile, OpenResetsThePrintFormatAfterReading) {
  Header.LabelFormatCode = "OLD";
  ASSERT_TRUE(Open(Fixture("sample.lab")));
  EXPECT_EQ(hosts.formatCodesSeen, (QStringList{"OLD", "A4-21"}));
  EXPECT_EQ(hosts.calls.last(), "SetCaption");
  EXPECT_EQ(hosts.caption, LoadResString(1000) + " - " + Fixture("sample.lab"));
  ASSERT_EQ(hosts.dialogs.size(), 1u);
  EXPECT_EQ(hosts.dialogs[0].kind, "open");
  EXPECT_EQ(hosts.dialogs[0].defaultExt, "lab");
  EXPECT_EQ(hosts.dialogs[0].filters, FileDialogFilters(LoadResString(15093)));
  EXPECT_EQ(hosts.dialogs[0].title, LoadResString(15095));
  EXPECT_EQ(hosts.dialogs[0].fileName, "");
}

// Damaged variants of the fixture: each must be refused with nothing read.
struct Damage {
  const char* name;
  QByteArray (*make)(QByteArray);
};

QByteArray SetI16(QByteArray b, qsizetype at, std::int16_t v) {
  qToLittleEndian(v, b.data() + at);
  return b;
}
QByteArray SetI32(QByteArray b, qsizetype at, std::int32_t v) {
  qToLittleEndian(v, b.data() + at);
  return b;
}
QByteArray SetF64(QByteArray b, qsizetype at, double v) {
  qToLittleEndian(v, b.data() + at);
  return b;
}
QByteArray SetName(QByteArray b, const char* name) {
  const qsizetype entry = b.size() - 79;
  b.replace(entry, 64, QByteArray(name).leftJustified(64, ' '));
  return b;
}
constexpr qsizetype WidthAt = 19;
constexpr qsizetype HeightAt = 27;
constexpr qsizetype CountAt = 293;
constexpr qsizetype ContentLengthAt = 297 + 54;

const Damage kDamages[] = {
    {"empty file", [](QByteArray) { return QByteArray(); }},
    {"bad magic", [](QByteArray b) { return SetI32(b, 0, 11223368); }},
    {"count 201", [](QByteArray b) { return SetI32(b, CountAt, 201); }},
    {"count -1", [](QByteArray b) { return SetI32(b, CountAt, -1); }},
    {"cut in the header", [](QByteArray b) { return b.left(30); }},
    {"cut in the names", [](QByteArray b) { return b.left(200); }},
    {"cut in a record", [](QByteArray b) { return b.left(400); }},
    {"cut before the image count", [](QByteArray b) { return b.left(b.size() - 80); }},
    {"cut in the picture", [](QByteArray b) { return b.left(b.size() - 5); }},
    {"extra byte missing", [](QByteArray b) { return b.left(b.size() - 1); }},
    {"string past the end", [](QByteArray b) { return SetI16(b, ContentLengthAt, 30000); }},
    {"negative string length", [](QByteArray b) { return SetI16(b, ContentLengthAt, -4); }},
    {"negative image count", [](QByteArray b) { return SetI16(b, b.size() - 81, -1); }},
    {"picture length past the end", [](QByteArray b) { return SetI32(b, b.size() - 15, 1 << 30); }},
    {"negative picture length", [](QByteArray b) { return SetI32(b, b.size() - 15, -2); }},
    {"parent folder in name", [](QByteArray b) { return SetName(b, "../1.bmp"); }},
    {"separator in name", [](QByteArray b) { return SetName(b, "sub/1.bmp"); }},
    {"absolute name", [](QByteArray b) { return SetName(b, "/tmp/1.bmp"); }},
    {"backslash in name", [](QByteArray b) { return SetName(b, "..\\1.bmp"); }},
    {"two points", [](QByteArray b) { return SetName(b, "1..bmp"); }},
    {"no number", [](QByteArray b) { return SetName(b, ".bmp"); }},
    {"empty name", [](QByteArray b) { return SetName(b, ""); }},
    {"width 0", [](QByteArray b) { return SetF64(b, WidthAt, 0.0); }},
    {"negative height", [](QByteArray b) { return SetF64(b, HeightAt, -38.1); }},
    {"width not a number", [](QByteArray b) { return SetF64(b, WidthAt, std::nan("")); }},
    {"infinite height", [](QByteArray b) { return SetF64(b, HeightAt, HUGE_VAL); }},
    {"width of a kilometre", [](QByteArray b) { return SetF64(b, WidthAt, 1000000.0); }},
    {"height past the largest sheet", [](QByteArray b) { return SetF64(b, HeightAt, 100000.5); }},
};

TEST_F(LabFile, DamagedFilesLeaveDocumentAndTempFolderUnchanged) {
  const QByteArray good = ReadAll(Fixture("sample.lab"));
  ASSERT_EQ(good.size(), 755);
  ASSERT_EQ(qFromLittleEndian<std::int16_t>(good.constData() + good.size() - 81), 1);  // image count where expected
  for (const Damage& d : kDamages) {
    ResetDocumentState();
    pv::ClearTempImageFolder();
    MakeRichDocument();
    DocFileName = "/labels/current.lab";
    const DocumentBlock block = DocBlock;
    const LabelHeader header = Header;
    const QString bg = BackgroundName, border = BorderName;
    WriteAll(TempImageFile("1.bmp"), "mine");
    const QMap<QString, QByteArray> temp = TempFiles();
    WriteAll(Path("bad.lab"), d.make(good));
    boxes.clear();
    hosts.calls.clear();

    QString reason;
    EXPECT_FALSE(OpenDocumentFile(Path("bad.lab"), &reason)) << d.name;
    EXPECT_FALSE(reason.isEmpty()) << d.name;
    EXPECT_TRUE(SameLiveObjects(DocBlock, block)) << d.name;
    EXPECT_EQ(Header, header) << d.name;
    EXPECT_EQ(BackgroundName, bg) << d.name;
    EXPECT_EQ(BorderName, border) << d.name;
    EXPECT_EQ(DocFileName, "/labels/current.lab") << d.name;
    EXPECT_EQ(TempFiles(), temp) << d.name;
    EXPECT_FALSE(QFile::exists(TempImageFolder() + "../1.bmp")) << d.name;
    EXPECT_EQ(Shown(MsgBadLabFile, MsgIcon::Critical), 1) << d.name;
    EXPECT_EQ(boxes.size(), 1u) << d.name;
    EXPECT_TRUE(hosts.calls.isEmpty()) << d.name;
  }
}

TEST_F(LabFile, MissingFileIsRefused) {
  EXPECT_FALSE(OpenDocumentFile(Path("nowhere.lab")));
  EXPECT_EQ(Shown(MsgBadLabFile, MsgIcon::Critical), 1);
}

TEST_F(LabFile, LargestSheetSizeStillReads) {
  WriteAll(Path("big.lab"), SetF64(SetF64(ReadAll(Fixture("sample.lab")), WidthAt, 100000.0), HeightAt, 0.01));
  EXPECT_TRUE(OpenDocumentFile(Path("big.lab")));
  EXPECT_EQ(Header.LabelWidth, 100000.0);
  EXPECT_EQ(Header.LabelHeight, 0.01);
}

TEST_F(LabFile, OnlyPlainFilesAreRead) {
  // A device or a pipe would be read until memory runs out.
  const QString fifo = Path("pipe.lab");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  for (const QString& path : {QStringLiteral("/dev/zero"), fifo, dir.path()}) {
    boxes.clear();
    QString reason;
    EXPECT_FALSE(OpenDocumentFile(path, &reason)) << path.toStdString();
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(Shown(MsgBadLabFile, MsgIcon::Critical), 1) << path.toStdString();
  }
}

TEST_F(LabFile, WithoutAPrivateTempFolderNoPictureIsWrittenAnywhere) {
  MakeRichDocument();
  const DocumentBlock block = DocBlock;
  // TMPDIR naming a plain file: no private folder can be made, whoever runs
  // the test.
  WriteAll(Path("blocker"), "x");
  const QByteArray oldTmp = qgetenv("TMPDIR");
  pv::RemoveTempImageFolder();
  qputenv("TMPDIR", QFile::encodeName(Path("blocker")));
  const QString oldCwd = QDir::currentPath();
  QDir::setCurrent(dir.path());
  const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

  boxes.clear();
  EXPECT_FALSE(OpenDocumentFile(Fixture("sample.lab")));
  const QStringList after = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

  QDir::setCurrent(oldCwd);
  if (oldTmp.isEmpty())
    qunsetenv("TMPDIR");
  else
    qputenv("TMPDIR", oldTmp);
  EXPECT_EQ(after, before);
  EXPECT_TRUE(SameLiveObjects(DocBlock, block));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(Shown(MsgBadLabFile, MsgIcon::Critical), 0);
}

TEST_F(LabFile, RefusedOrCancelledOpenKeepsTheCurrentLabel) {
  WriteAll(Path("text.lab"), "this is not a label");
  struct Case {
    const char* name;
    std::optional<QString> answer;
    int messages;
  };
  for (const Case& c : {Case{"refused file", Path("text.lab"), 1}, Case{"cancelled dialog", std::nullopt, 0}}) {
    ResetDocumentState();
    pv::ClearTempImageFolder();
    MakeRichDocument();
    DocFileName = "/labels/old.lab";
    const DocumentBlock block = DocBlock;
    const LabelHeader header = Header;
    const QMap<QString, QByteArray> temp = TempFiles();
    boxes.clear();
    hosts.answers.push_back(c.answer);
    EXPECT_FALSE(OpenDocument()) << c.name;
    EXPECT_TRUE(SameLiveObjects(DocBlock, block)) << c.name;
    EXPECT_EQ(Header, header) << c.name;
    EXPECT_EQ(DocFileName, "/labels/old.lab") << c.name;
    EXPECT_EQ(TempFiles(), temp) << c.name;
    EXPECT_EQ(Shown(MsgBadLabFile, MsgIcon::Critical), c.messages) << c.name;
  }
}

TEST_F(LabFile, OpenReplacesTheLabelOnlyWithOneReadWhole) {
  MakeRichDocument();
  DocFileName = "/labels/old.lab";
  ASSERT_TRUE(Open(Fixture("sample.lab")));
  EXPECT_EQ(DocFileName, Fixture("sample.lab"));
  EXPECT_EQ(Header.LabelFormatCode, "A4-21");
  ASSERT_EQ(ObjCount, 3);
  EXPECT_EQ(ReadAll(TempImageFile("1.bmp")), QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A", 10));
}

TEST_F(LabFile, SaveAsksForANameOnlyWhenUntitledOrSaveAs) {
  AddBox(1, 2, 3, 4);
  ASSERT_TRUE(SaveAs(Path("a.lab")));
  ASSERT_EQ(hosts.dialogs.size(), 1u);
  EXPECT_EQ(hosts.dialogs[0].defaultExt, "lab");
  EXPECT_EQ(hosts.dialogs[0].filters, FileDialogFilters(LoadResString(15093)));
  EXPECT_EQ(hosts.dialogs[0].title, LoadResString(15094));
  EXPECT_EQ(hosts.dialogs[0].fileName, "");
  EXPECT_EQ(hosts.dialogs[0].files, FileKind::Labels);
  EXPECT_EQ(DocFileName, Path("a.lab"));
  EXPECT_EQ(hosts.caption, LoadResString(1000) + " - " + Path("a.lab"));
  EXPECT_TRUE(hosts.calls.contains("SaveData"));

  EXPECT_TRUE(SaveDocument(false));  // no dialog
  EXPECT_EQ(hosts.dialogs.size(), 1u);

  hosts.answers.push_back(Path("b.lab"));
  EXPECT_TRUE(SaveDocument(true));
  ASSERT_EQ(hosts.dialogs.size(), 2u);
  EXPECT_EQ(hosts.dialogs[1].fileName, Path("a.lab"));  // proposes the current path
  EXPECT_EQ(DocFileName, Path("b.lab"));

  hosts.answers.push_back(std::nullopt);
  const QByteArray before = ReadAll(Path("b.lab"));
  AddBox(9, 9, 9, 9);
  EXPECT_FALSE(SaveDocument(true));  // cancelled: nothing written, nothing changed
  EXPECT_EQ(DocFileName, Path("b.lab"));
  EXPECT_EQ(ReadAll(Path("b.lab")), before);

  NewDocument();
  hosts.answers.push_back(std::nullopt);
  EXPECT_FALSE(SaveDocument(false));  // after New, Save asks again
  EXPECT_EQ(hosts.dialogs.size(), 4u);
}

// Every size the program can give a label is saved and read back; a label
// without a size (none is made, but a header may still be 0 x 0) is not
// written at all, so no file holds a label the program will not read.
TEST_F(LabFile, EverySizeALabelCanHaveIsReadBackAndNoSizeIsNeverWritten) {
  struct Case {
    const char* name;
    double width, height;
    bool saved;
  };
  const Case cases[] = {
      {"no size", 0, 0, false},
      {"no width", 0, 38.1, false},
      {"negative", -5, 20, false},
      {"beyond the largest", MaxLabelSide * 2, 10, false},
      {"a fraction of a millimetre", 0.0001, 0.0001, true},
      {"round", 40, 40, true},
      {"a sheet", 210, 297, true},
      {"the largest", MaxLabelSide, MaxLabelSide, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NewDocument();
    boxes.clear();
    hosts.dialogs.clear();
    Header.LabelWidth = c.width;
    Header.LabelHeight = c.height;
    Header.LabelFormatCode = "LM4-A4-R24";
    AddBox(20, 20, 10, 10, UserTypeEllipse);
    const QString path = Path("size.lab");
    QFile::remove(path);
    EXPECT_EQ(SaveAs(path), c.saved);
    EXPECT_EQ(QFile::exists(path), c.saved);
    if (!c.saved) {
      // Said, before a name is asked; the label stays open as it was.
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].icon, MsgIcon::Information);
      EXPECT_TRUE(hosts.dialogs.empty());
      hosts.answers.clear();
      EXPECT_EQ(ObjCount, 1);
      EXPECT_EQ(Header.LabelWidth, c.width);
      continue;
    }
    EXPECT_TRUE(boxes.empty());
    NewDocument();
    Header = LabelHeader{};
    ASSERT_TRUE(Open(path));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Header.LabelWidth, c.width);
    EXPECT_EQ(Header.LabelHeight, c.height);
    EXPECT_EQ(Header.LabelFormatCode, "LM4-A4-R24");
    EXPECT_EQ(ObjCount, 1);
  }
}

// The file keeps Windows-1252: every text that would come back with '?' in
// it is found once, wherever the label holds it; what fits (accents, "€",
// "°") is not.
TEST_F(LabFile, TheTextsTheFileCannotHoldAreFoundOnceEach) {
  LabFileContent c;
  c.Header.LabelFormatCode = "L7163";
  c.Header.Text3 = "Ελλάδα";
  c.BackgroundName = FixedName("città €.jpg");
  c.BorderName = FixedName("Ğ.emf");
  const struct {
    const char* content;
    const char* font;
    const char* format;
  } objects[] = {
      {"Łódź", "Arial", ""},
      {"però 25 °C € — “virgolette”", "Times New Roman", "dd/mm/yyyy"},
      {"Łódź", "文泉驛微米黑", ""},
      {"Città", "Arial", "#,##0 ₺"},
  };
  c.Block.Count = 0;
  for (const auto& o : objects) {
    ObjectRecord& r = c.Block.Objects[static_cast<std::size_t>(++c.Block.Count)];
    r.Content = QString::fromUtf8(o.content);
    r.FontName = QString::fromUtf8(o.font);
    r.FormatText = QString::fromUtf8(o.format);
  }
  const QList<LostText> expected = {
      {false, "Ελλάδα", "??????"},   {false, FixedName("Ğ.emf"), FixedName("?.emf")},
      {false, "Łódź", "?ód?"},       {true, "文泉驛微米黑", "??????"},
      {false, "#,##0 ₺", "#,##0 ?"},
  };
  EXPECT_EQ(TextsTheFileCannotHold(c), expected);

  // The question names each with what the file would keep, the fonts as such.
  const QString question = LostTextsQuestion(expected);
  EXPECT_TRUE(question.contains("testo «Łódź» → «?ód?»")) << question.toStdString();
  EXPECT_TRUE(question.contains("carattere «文泉驛微米黑» → «??????»")) << question.toStdString();
  QList<LostText> many;
  for (int i = 0; i < 20; ++i) many.append({false, QStringLiteral("Ł%1").arg(i), QStringLiteral("?%1").arg(i)});
  EXPECT_TRUE(LostTextsQuestion(many).contains("e altri 8.")) << "a long list is cut short";
}

// Saving a label with such a text asks first, before a name is asked: "No"
// writes nothing and leaves the label and its name as they were; "Yes"
// saves it as before. A label whose texts fit is saved without a word.
TEST_F(LabFile, SavingTextsTheFileCannotHoldAsksFirst) {
  const std::int32_t k = AddBox(10, 10, 20, 5, UserTypeTextBox);
  Rec(k).Content = "Łódź";
  Rec(k).FontName = "Arial";
  messageBoxes.answer = MsgAnswer::No;
  hosts.answers.push_back(Path("polonia.lab"));
  EXPECT_FALSE(SaveDocument(true));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].buttons, MsgButtons::YesNo);
  EXPECT_TRUE(boxes[0].text.contains("«Łódź» → «?ód?»"));
  EXPECT_TRUE(hosts.dialogs.empty()) << "no name is asked";
  EXPECT_FALSE(QFile::exists(Path("polonia.lab")));
  EXPECT_EQ(DocFileName, QString());
  EXPECT_EQ(Rec(k).Content, "Łódź");

  messageBoxes.answer = MsgAnswer::Yes;
  ASSERT_TRUE(SaveDocument(true));
  EXPECT_EQ(boxes.size(), 2u);
  LabFileContent read;
  ASSERT_TRUE(ParseLabFile(ReadAll(Path("polonia.lab")), read));
  EXPECT_EQ(read.Block.Objects[1].Content, "?ód?");

  boxes.clear();
  Rec(k).Content = "Città";
  EXPECT_TRUE(SaveDocument(false));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(LabFile, FailedSaveKeepsTheOldFileAndTheFileName) {
  const std::int32_t k = AddBox(1, 1, 1, 1, UserTypeImage);
  Rec(k).Variant = 1;
  Rec(k).Content = "jpg";
  WriteAll(TempImageFile("1.jpg"), "first");
  ASSERT_TRUE(SaveAs(Path("keep.lab")));
  const QByteArray old = ReadAll(Path("keep.lab"));
  // The picture can no longer be read (a folder stands in its place).
  QFile::remove(TempImageFile("1.jpg"));
  ASSERT_TRUE(QDir().mkdir(TempImageFile("1.jpg")));
  AddBox(2, 2, 2, 2);
  EXPECT_FALSE(SaveDocument(false));
  EXPECT_EQ(ReadAll(Path("keep.lab")), old);
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, MsgIcon::Critical);
  QDir().rmdir(TempImageFile("1.jpg"));

  // A folder that does not exist: reported, the file name stays.
  boxes.clear();
  hosts.answers.push_back(Path("no/such/folder/x.lab"));
  EXPECT_FALSE(SaveDocument(true));
  EXPECT_EQ(DocFileName, Path("keep.lab"));
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(ObjCount, 2);
}

TEST_F(LabFile, MissingPictureIsStoredEmpty) {
  Header.LabelWidth = 50;
  Header.LabelHeight = 20;
  const std::int32_t k = AddBox(1, 1, 1, 1, UserTypeImage);
  Rec(k).Variant = 5;
  Rec(k).Content = "gif";
  ASSERT_TRUE(SaveAs(Path("nopic.lab")));
  const QByteArray b = ReadAll(Path("nopic.lab"));
  EXPECT_EQ(b.right(5), QByteArray("\0\0\0\0\0", 5));  // L = 0, then one byte
  ResetDocumentState();
  ASSERT_TRUE(OpenDocumentFile(Path("nopic.lab")));
  EXPECT_TRUE(QFile::exists(TempImageFile("5.gif")));
  EXPECT_EQ(ReadAll(TempImageFile("5.gif")).size(), 0);
}

TEST_F(LabFile, PictureNamesAreCheckedBeforeUse) {
  struct Case {
    const char* name;
    bool safe;
  };
  for (const Case c : {Case{"1.jpg", true}, Case{"200.bmp", true}, Case{"12.jpeg", true}, Case{"3.", true},
                       Case{"../1.jpg", false}, Case{"1.jpg/x", false}, Case{"/1.jpg", false}, Case{"1.j g", false},
                       Case{"-1.jpg", false}, Case{"1..jpg", false}, Case{"a.jpg", false}, Case{"1.jpgjpgjpg", false},
                       Case{"1", false}, Case{"", false}, Case{"1.jp\\g", false}, Case{"1.èèè", false}}) {
    EXPECT_EQ(IsSafeImageName(QString::fromUtf8(c.name)), c.safe) << c.name;
  }
  ObjectRecord r;
  r.UserType = UserTypeImage;
  r.Variant = 3;
  r.Content = " jpg ";
  EXPECT_EQ(ImageFileName(r), "3.jpg");
  EXPECT_EQ(ImageTempPath(r), TempImageFile("3.jpg"));
  r.Content = "/../../etc/passwd";
  EXPECT_TRUE(ImageTempPath(r).isEmpty());
  r.Content = "jpg";
  r.Variant = -3;
  EXPECT_TRUE(ImageTempPath(r).isEmpty());
}

TEST_F(LabFile, ImageObjectWithUnsafeNameIsSavedWithoutPictureAndReadsBack) {
  Header.LabelWidth = 50;
  Header.LabelHeight = 20;
  const std::int32_t good = AddBox(1, 1, 1, 1, UserTypeImage);
  Rec(good).Variant = 1;
  Rec(good).Content = "png";
  const std::int32_t odd = AddBox(2, 2, 2, 2, UserTypeImage);
  Rec(odd).Variant = 2;
  Rec(odd).Content = "../x";
  WriteAll(TempImageFile("1.png"), "png!");
  ASSERT_TRUE(SaveAs(Path("odd.lab")));
  const DocumentBlock saved = DocBlock;
  ResetDocumentState();
  ASSERT_TRUE(OpenDocumentFile(Path("odd.lab")));
  EXPECT_TRUE(SameLiveObjects(DocBlock, saved));
}

TEST_F(LabFile, ParseIgnoresBytesAfterTheLastEntry) {
  QByteArray b = ReadAll(Fixture("sample.lab"));
  b.append("trailing garbage");
  LabFileContent c;
  QString why;
  ASSERT_TRUE(ParseLabFile(b, c, &why)) << why.toStdString();
  ASSERT_EQ(c.Images.size(), 1);
  EXPECT_EQ(c.Images[0].Name, "1.bmp");
  EXPECT_EQ(c.Images[0].Data.size(), 10);
}

TEST_F(LabFile, NewDocumentEmptiesTableNamesAndFileNameButNotHeader) {
  MakeRichDocument();
  DocFileName = "/x.lab";
  canvas.calls.clear();
  EXPECT_TRUE(NewDocument());
  EXPECT_EQ(ObjCount, 0);
  EXPECT_EQ(BackgroundName, QString(128, ' '));
  EXPECT_EQ(BorderName, QString(128, ' '));
  EXPECT_TRUE(DocFileName.isEmpty());
  EXPECT_EQ(Header.LabelFormatCode, "L7163");
  EXPECT_EQ(hosts.calls,
            (QStringList{"ResetPrinterInformation", "SetParameter", "SetStatusBar", "Reset", "SetCaption"}));
  EXPECT_EQ(hosts.caption, LoadResString(1000) + " - " + LoadResString(15098));
  EXPECT_EQ(UndoCount, 25);  // the history is kept
}

// ---- The command-line tool --------------------------------------------------

struct ToolRun {
  int exitCode;
  QString out;
};

ToolRun RunTool(const QString& in, const QString& out) {
  QProcess p;
  p.setProgram(QStringLiteral(LAB_ROUNDTRIP_TOOL));
  p.setArguments({in, out});
  p.start();
  p.waitForFinished(30000);
  return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
}

TEST_F(LabFile, ToolRoundTripsTheFixtureByteForByte) {
  const ToolRun r = RunTool(Fixture("sample.lab"), Path("copy.lab"));
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
  EXPECT_EQ(ReadAll(Path("copy.lab")), ReadAll(Fixture("sample.lab")));
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3) << r.out.toStdString();
  EXPECT_TRUE(lines[0].contains("Caffè à 25°")) << lines[0].toStdString();
  EXPECT_TRUE(lines[2].contains("102")) << lines[2].toStdString();
}

TEST_F(LabFile, ToolRoundTripsAFileOfOurWriter) {
  MakeRichDocument();
  ASSERT_TRUE(SaveAs(Path("rich.lab")));
  const ToolRun r = RunTool(Path("rich.lab"), Path("rich2.lab"));
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString();
  EXPECT_EQ(ReadAll(Path("rich2.lab")), ReadAll(Path("rich.lab")));
  EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts).size(), ObjCount);
}

TEST_F(LabFile, ToolRefusesADamagedFile) {
  WriteAll(Path("bad.lab"), SetName(ReadAll(Fixture("sample.lab")), "../1.bmp"));
  const ToolRun r = RunTool(Path("bad.lab"), Path("never.lab"));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.contains("15096")) << r.out.toStdString();
  EXPECT_FALSE(QFile::exists(Path("never.lab")));
}

}  // namespace
}  // namespace pvtest
