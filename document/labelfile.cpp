#include "document/labelfile.h"

#include "document/hosts.h"
#include "document/labtexts.h"
#include "document/objectstore.h"
#include "platform/commondialogs.h"
#include "platform/cp1252.h"
#include "platform/msgbox.h"
#include "platform/programfolder.h"
#include "platform/runtime.h"
#include "platform/stringtable.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <bit>
#include <limits>

namespace pv {

// ---- Picture names ----------------------------------------------------------

bool IsSafeImageName(const QString& name) {
  const qsizetype dot = name.indexOf(QLatin1Char('.'));
  if (dot < 1 || dot > 9) return false;
  const qsizetype extLength = name.size() - dot - 1;
  if (extLength > 8) return false;
  for (qsizetype i = 0; i < dot; ++i) {
    const char16_t c = name[i].unicode();
    if (c < u'0' || c > u'9') return false;
  }
  for (qsizetype i = dot + 1; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    const bool alnum = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    if (!alnum) return false;
  }
  return true;
}

QString ImageFileName(const ObjectRecord& record) {
  const QString name = QString::number(record.Variant) + QLatin1Char('.') + Trim(record.Content);
  return IsSafeImageName(name) ? name : QString();
}

QString ImageTempPath(const ObjectRecord& record) {
  const QString name = ImageFileName(record);
  return name.isEmpty() ? QString() : TempImageFile(name);
}

// ---- Writing ------------------------------------------------------------------

namespace {

class Writer {
 public:
  QByteArray bytes;

  template <class T>
  void Number(T v) {
    char b[sizeof(T)];
    qToLittleEndian(v, b);
    bytes.append(b, sizeof(T));
  }
  void I16(std::int16_t v) { Number(v); }
  void I32(std::int32_t v) { Number(v); }
  void F32(float v) { Number(std::bit_cast<std::uint32_t>(v)); }
  void F64(double v) { Number(std::bit_cast<std::uint64_t>(v)); }
  void Str(const QString& s) {
    QByteArray a = ToAnsi(s);
    if (a.size() > std::numeric_limits<std::int16_t>::max()) a.truncate(std::numeric_limits<std::int16_t>::max());
    I16(static_cast<std::int16_t>(a.size()));
    bytes.append(a);
  }
  void Fixed(const QString& s, int n) {
    QByteArray a = ToAnsi(s).left(n);
    if (a.size() < n) a.append(QByteArray(n - a.size(), ' '));
    bytes.append(a);
  }
};

void WriteRecord(Writer& w, const ObjectRecord& r) {
  w.F32(r.CenterX);
  w.F32(r.CenterY);
  w.F32(r.Width);
  w.F32(r.Height);
  w.F32(r.X1);
  w.F32(r.Y1);
  w.F32(r.X2);
  w.F32(r.Y2);
  w.I32(r.Angle);
  w.I16(r.GeomType);
  w.I16(r.IsSelected);
  w.I16(r.IsHidden);
  w.I32(r.Key);
  w.I32(r.Reserved);
  w.I16(r.UserType);
  w.I16(r.Page);
  w.Str(r.Content);
  w.I16(r.Opacity);
  w.Str(r.FontName);
  w.I16(r.FontSize);
  w.I16(r.Italic);
  w.I16(r.Bold);
  w.I16(r.Underline);
  w.I16(r.StrikeOut);
  w.I32(r.Reserved2);
  w.I16(r.Alignment);
  w.I16(r.Variant);
  w.I32(r.LineColor);
  w.I32(r.LineStyle);
  w.I32(r.FillStyle);
  w.I32(r.Color1);
  w.I32(r.Color2);
  w.I32(r.Aspect);
  w.Str(r.FormatText);
  w.I16(r.ExtraOption1);
  w.I16(r.ExtraOption2);
  w.I16(r.ShowMargins);
  w.I16(r.BearerBars);
  w.I16(r.ShowCheckDigit);
  w.I16(r.ShowText);
}

bool Flush(QIODevice& device, QByteArray& bytes) {
  const bool ok = device.write(bytes) == bytes.size();
  bytes.clear();
  return ok;
}

}  // namespace

bool WriteLabFile(QIODevice& device, const LabFileContent& content) {
  Writer w;
  w.I32(LabMagic);
  const LabelHeader& h = content.Header;
  w.Str(h.LabelFormatCode);
  w.Str(h.Text2);
  w.Str(h.Text3);
  w.Str(h.Text4);
  w.Str(h.Text5);
  w.F64(h.LabelWidth);
  w.F64(h.LabelHeight);
  w.I16(h.Reserved);
  w.Fixed(content.BackgroundName, FixedNameLength);
  w.Fixed(content.BorderName, FixedNameLength);
  const std::int32_t count = std::clamp<std::int32_t>(content.Block.Count, 0, MaxObjects);
  w.I32(count);
  for (std::int32_t i = 1; i <= count; ++i) WriteRecord(w, content.Block.Objects[static_cast<std::size_t>(i)]);
  const qsizetype images = std::min<qsizetype>(content.Images.size(), std::numeric_limits<std::int16_t>::max());
  w.I16(static_cast<std::int16_t>(images));
  if (!Flush(device, w.bytes)) return false;
  // Pictures go one at a time: name, length L, the L bytes and one 0 byte.
  for (qsizetype k = 0; k < images; ++k) {
    const LabImageEntry& e = content.Images[k];
    const qsizetype length = std::min<qsizetype>(e.Data.size(), std::numeric_limits<std::int32_t>::max() - 1);
    w.Fixed(e.Name, ImageNameLength);
    w.I32(static_cast<std::int32_t>(length));
    if (!Flush(device, w.bytes)) return false;
    if (device.write(e.Data.constData(), length) != length) return false;
    if (device.write("\0", 1) != 1) return false;
  }
  return true;
}

bool CurrentLabContent(LabFileContent& out, QString* error) {
  LabFileContent c;
  c.Header = Header;
  c.BackgroundName = BackgroundName;
  c.BorderName = BorderName;
  c.Block.Count = std::clamp<std::int32_t>(ObjCount, 0, MaxObjects);
  for (std::int32_t i = 1; i <= c.Block.Count; ++i) {
    const ObjectRecord& r = Objects[static_cast<std::size_t>(i)];
    c.Block.Objects[static_cast<std::size_t>(i)] = r;
    if (r.UserType != UserTypeImage) continue;
    const QString name = ImageFileName(r);
    if (name.isEmpty()) continue;  // no picture can belong to such an object
    LabImageEntry e;
    e.Name = name;
    QFile picture(TempImageFile(name));
    if (picture.exists()) {
      if (!picture.open(QIODevice::ReadOnly)) {
        if (error) *error = picture.fileName() + QStringLiteral(": ") + picture.errorString();
        return false;
      }
      e.Data = picture.readAll();
      if (picture.error() != QFileDevice::NoError) {
        if (error) *error = picture.fileName() + QStringLiteral(": ") + picture.errorString();
        return false;
      }
    }
    c.Images.append(std::move(e));
  }
  out = std::move(c);
  return true;
}

// ---- Reading ------------------------------------------------------------------

namespace {

class Reader {
 public:
  explicit Reader(const QByteArray& b) : m_bytes(b) {}
  bool ok() const { return m_ok; }
  const QString& reason() const { return m_reason; }
  qsizetype remaining() const { return m_bytes.size() - m_pos; }

  void Fail(const QString& why) {
    if (m_ok) {
      m_ok = false;
      m_reason = why;
    }
  }

  template <class T>
  T Number(const char* what) {
    if (!m_ok) return T{};
    if (remaining() < static_cast<qsizetype>(sizeof(T))) {
      Fail(QStringLiteral("file ends inside %1 at byte %2").arg(QLatin1String(what)).arg(m_pos));
      return T{};
    }
    const T v = qFromLittleEndian<T>(m_bytes.constData() + m_pos);
    m_pos += static_cast<qsizetype>(sizeof(T));
    return v;
  }
  std::int16_t I16(const char* what) { return Number<std::int16_t>(what); }
  std::int32_t I32(const char* what) { return Number<std::int32_t>(what); }
  float F32(const char* what) { return std::bit_cast<float>(Number<std::uint32_t>(what)); }
  double F64(const char* what) { return std::bit_cast<double>(Number<std::uint64_t>(what)); }

  QByteArray Bytes(qsizetype n, const char* what) {
    if (!m_ok) return {};
    if (n < 0) {
      Fail(QStringLiteral("negative length of %1").arg(QLatin1String(what)));
      return {};
    }
    if (remaining() < n) {
      Fail(QStringLiteral("length %1 of %2 at byte %3 runs past the end of the file")
               .arg(n)
               .arg(QLatin1String(what))
               .arg(m_pos));
      return {};
    }
    QByteArray a = m_bytes.mid(m_pos, n);
    m_pos += n;
    return a;
  }
  QString Str(const char* what) {
    const std::int16_t n = I16(what);
    return FromAnsi(Bytes(n, what));
  }
  QString Fixed(int n, const char* what) { return FromAnsi(Bytes(n, what)); }

 private:
  const QByteArray& m_bytes;
  qsizetype m_pos = 0;
  bool m_ok = true;
  QString m_reason;
};

void ReadRecord(Reader& rd, ObjectRecord& r) {
  r.CenterX = rd.F32("CenterX");
  r.CenterY = rd.F32("CenterY");
  r.Width = rd.F32("Width");
  r.Height = rd.F32("Height");
  r.X1 = rd.F32("X1");
  r.Y1 = rd.F32("Y1");
  r.X2 = rd.F32("X2");
  r.Y2 = rd.F32("Y2");
  r.Angle = rd.I32("Angle");
  r.GeomType = rd.I16("GeomType");
  r.IsSelected = rd.I16("IsSelected");
  r.IsHidden = rd.I16("IsHidden");
  r.Key = rd.I32("Key");
  r.Reserved = rd.I32("Reserved");
  r.UserType = rd.I16("UserType");
  r.Page = rd.I16("Page");
  r.Content = rd.Str("Content");
  r.Opacity = rd.I16("Opacity");
  r.FontName = rd.Str("FontName");
  r.FontSize = rd.I16("FontSize");
  r.Italic = rd.I16("Italic");
  r.Bold = rd.I16("Bold");
  r.Underline = rd.I16("Underline");
  r.StrikeOut = rd.I16("StrikeOut");
  r.Reserved2 = rd.I32("Reserved2");
  r.Alignment = rd.I16("Alignment");
  r.Variant = rd.I16("Variant");
  r.LineColor = rd.I32("LineColor");
  r.LineStyle = rd.I32("LineStyle");
  r.FillStyle = rd.I32("FillStyle");
  r.Color1 = rd.I32("Color1");
  r.Color2 = rd.I32("Color2");
  r.Aspect = rd.I32("Aspect");
  r.FormatText = rd.Str("FormatText");
  r.ExtraOption1 = rd.I16("ExtraOption1");
  r.ExtraOption2 = rd.I16("ExtraOption2");
  r.ShowMargins = rd.I16("ShowMargins");
  r.BearerBars = rd.I16("BearerBars");
  r.ShowCheckDigit = rd.I16("ShowCheckDigit");
  r.ShowText = rd.I16("ShowText");
}

QString NoTempFolderReason() { return QStringLiteral("no private temp folder for the pictures"); }

}  // namespace

bool ParseLabFile(const QByteArray& bytes, LabFileContent& out, QString* reason) {
  Reader rd(bytes);
  auto refuse = [&](const QString& why) {
    if (reason) *reason = why;
    return false;
  };
  const std::int32_t magic = rd.I32("magic");
  if (!rd.ok()) return refuse(QStringLiteral("file too short for a label file"));
  if (magic != LabMagic) return refuse(QStringLiteral("not a label file (magic %1)").arg(magic));

  LabFileContent c;
  c.Header.LabelFormatCode = rd.Str("LabelFormatCode");
  c.Header.Text2 = rd.Str("Text2");
  c.Header.Text3 = rd.Str("Text3");
  c.Header.Text4 = rd.Str("Text4");
  c.Header.Text5 = rd.Str("Text5");
  c.Header.LabelWidth = rd.F64("LabelWidth");
  c.Header.LabelHeight = rd.F64("LabelHeight");
  c.Header.Reserved = rd.I16("header Reserved");
  if (rd.ok() && (!IsValidLabelSide(c.Header.LabelWidth) || !IsValidLabelSide(c.Header.LabelHeight)))
    return refuse(QStringLiteral("label size %1 x %2 is not a size a label can have")
                      .arg(c.Header.LabelWidth)
                      .arg(c.Header.LabelHeight));
  c.BackgroundName = rd.Fixed(FixedNameLength, "BackgroundName");
  c.BorderName = rd.Fixed(FixedNameLength, "BorderName");
  const std::int32_t count = rd.I32("object count");
  if (!rd.ok()) return refuse(rd.reason());
  if (count < 0 || count > MaxObjects) return refuse(QStringLiteral("object count %1 outside 0-200").arg(count));
  c.Block.Count = count;
  for (std::int32_t i = 1; i <= count && rd.ok(); ++i) ReadRecord(rd, c.Block.Objects[static_cast<std::size_t>(i)]);
  const std::int16_t images = rd.I16("image count");
  if (!rd.ok()) return refuse(rd.reason());
  if (images < 0) return refuse(QStringLiteral("negative image count %1").arg(images));
  for (int k = 0; k < images; ++k) {
    LabImageEntry e;
    e.Name = Trim(rd.Fixed(ImageNameLength, "image name"));
    const std::int32_t length = rd.I32("image length");
    if (!rd.ok()) return refuse(rd.reason());
    if (!IsSafeImageName(e.Name)) return refuse(QStringLiteral("image name \"%1\" is not a picture name").arg(e.Name));
    if (length < 0) return refuse(QStringLiteral("negative image length %1").arg(length));
    // The stored data is one byte longer than its length; the picture is the
    // first `length` bytes.
    e.Data = rd.Bytes(static_cast<qsizetype>(length) + 1, "image data");
    if (!rd.ok()) return refuse(rd.reason());
    e.Data.chop(1);
    c.Images.append(std::move(e));
  }
  out = std::move(c);
  return true;
}

namespace {

// Reads and checks a whole label file without touching the document.
bool LoadLabFile(const QString& path, LabFileContent& c, QString* reason) {
  // Only a plain file is read, and only one of a size a label can have: a
  // device or a pipe would be read until memory runs out.
  const QFileInfo info(path);
  if (!info.isFile()) {
    if (reason) *reason = QStringLiteral("%1 is not a file").arg(path);
    return false;
  }
  if (info.size() > MaxLabFileBytes) {
    if (reason) *reason = QStringLiteral("%1 is larger than any label file").arg(path);
    return false;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (reason) *reason = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    if (reason) *reason = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    return false;
  }
  file.close();

  if (!ParseLabFile(bytes, c, reason)) return false;
  // The pictures go to the private temp folder or nowhere.
  if (!c.Images.isEmpty() && TempImageFolder().isEmpty()) {
    if (reason) *reason = NoTempFolderReason();
    return false;
  }
  return true;
}

// Puts a sound file's content into the document: the pictures into the temp
// folder (each through a temporary file, so a failed write never leaves a
// cut picture behind), then header, names and objects.
void ApplyLabContent(LabFileContent&& c) {
  QStringList failures;
  for (const LabImageEntry& e : c.Images) {
    QSaveFile picture(TempImageFile(e.Name));
    if (!picture.open(QIODevice::WriteOnly) || picture.write(e.Data) != e.Data.size() || !picture.commit())
      failures << picture.fileName() + QStringLiteral(": ") + picture.errorString();
  }
  Header = std::move(c.Header);
  BackgroundName = std::move(c.BackgroundName);
  BorderName = std::move(c.BorderName);
  DocBlock = std::move(c.Block);
  if (!failures.isEmpty())
    MsgBox(QStringLiteral("Impossibile scrivere le immagini dell'etichetta nella cartella temporanea:\n%1")
               .arg(failures.join(QLatin1Char('\n'))),
           MsgIcon::Critical);
}

}  // namespace

bool ReadLabFileIntoDocument(const QString& path, QString* reason) {
  LabFileContent c;
  if (!LoadLabFile(path, c, reason)) return false;
  ApplyLabContent(std::move(c));
  return true;
}

// ---- Document commands -------------------------------------------------------

namespace {

void FollowNewDocument() {
  Editor().LoadData();
  Editor().SetParameter();
  MainWindow().SetStatusBar();
  // The print panel loads the format of the header just read.
  PrintPanel().ResetPrinterInformation();
}

// Reads a label file whole, or says why not (the document is untouched
// either way).
bool LoadOrRefuse(const QString& path, LabFileContent& content, QString* reason) {
  if (TempImageFolder().isEmpty()) {
    if (reason) *reason = NoTempFolderReason();
    MsgBox(QStringLiteral("Impossibile creare la cartella temporanea delle immagini: l'etichetta non viene aperta."),
           MsgIcon::Critical);
    return false;
  }
  QString why;
  if (!LoadLabFile(path, content, &why)) {
    if (reason) *reason = why;
    MsgBoxRes(MsgBadLabFile, MsgIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace

QString DocumentCaption() {
  return LoadResString(1000) + QStringLiteral(" - ") +
         (DocFileName.isEmpty() ? LoadResString(MsgUntitled) : DocFileName);
}

bool NewDocument() {
  PrintPanel().ResetPrinterInformation();
  Editor().SetParameter();
  MainWindow().SetStatusBar();
  BackgroundName = FixedName(QString());
  BorderName = FixedName(QString());
  DocFileName.clear();
  ObjCount = 0;
  Editor().Reset();
  MainWindow().SetCaption(DocumentCaption());
  return true;
}

void MakeDocumentUntitled() {
  DocFileName.clear();
  MainWindow().SetCaption(DocumentCaption());
}

bool SaveDocument(bool bSaveAs) {
  // A label file holds a label of a real size, and only such a file is read
  // back: a label without one is kept open, not written.
  if (!IsValidLabelSide(Header.LabelWidth) || !IsValidLabelSide(Header.LabelHeight)) {
    MsgBox(QStringLiteral("L'etichetta non ha una dimensione valida (%1 x %2 mm) e non può essere salvata: "
                          "sceglierne le dimensioni con \"Nuova etichetta\" prima di salvarla.")
               .arg(Header.LabelWidth)
               .arg(Header.LabelHeight),
           MsgIcon::Information);
    return false;
  }
  Editor().SaveData();
  QString error;
  LabFileContent content;
  bool ok = CurrentLabContent(content, &error);
  // A text the file would keep with '?' in it is named before anything is
  // written or a name is asked: "No" leaves the label to be changed.
  if (const QList<LostText> lost = ok ? TextsTheFileCannotHold(content) : QList<LostText>(); !lost.isEmpty()) {
    if (MsgBox(LostTextsQuestion(lost), MsgIcon::Exclamation, MsgButtons::YesNo) != MsgAnswer::Yes) return false;
  }

  QString path = DocFileName;
  if (bSaveAs || DocFileName.isEmpty()) {
    QString name = DocFileName;
    if (ShowSaveDialog(QString::fromLatin1(LabDefaultExtension), LoadResString(MsgLabFilter), name,
                       LoadResString(MsgSaveTitle), FileKind::Labels) == -1)
      return false;
    if (name.isEmpty()) return false;
    path = name;
  }
  if (ok) {
    // Written beside the old file and put in its place only when complete.
    QSaveFile file(path);
    ok = file.open(QIODevice::WriteOnly) && WriteLabFile(file, content) && file.commit();
    if (!ok) error = path + QStringLiteral(": ") + file.errorString();
  }
  if (!ok) {
    MsgBox(QStringLiteral("Impossibile salvare l'etichetta:\n%1").arg(error), MsgIcon::Critical);
    return false;
  }
  DocFileName = path;
  MainWindow().SetCaption(DocumentCaption());
  return true;
}

bool OpenDocument() {
  // The current label gives way only to one that was read whole: a cancel
  // or a refused file leaves it as it was.
  QString name;
  if (ShowOpenDialog(QString::fromLatin1(LabDefaultExtension), LoadResString(MsgLabFilter), name,
                     LoadResString(MsgOpenTitle), FileKind::Labels) == -1)
    return false;
  if (name.isEmpty()) return false;
  return OpenNamedDocument(name);
}

bool OpenNamedDocument(const QString& path) {
  LabFileContent content;
  if (!LoadOrRefuse(path, content, nullptr)) return false;
  NewDocument();
  ApplyLabContent(std::move(content));
  DocFileName = path;
  FollowNewDocument();
  MainWindow().SetCaption(DocumentCaption());
  return true;
}

bool OpenDocumentFile(const QString& path, QString* reason) {
  LabFileContent content;
  if (!LoadOrRefuse(path, content, reason)) return false;
  ApplyLabContent(std::move(content));
  FollowNewDocument();
  return true;
}

}  // namespace pv
