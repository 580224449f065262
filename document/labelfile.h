#pragma once
// The .lab file and the four document commands. A .lab file holds the
// header, the background and border names, the object records and the
// pictures of the image objects (little-endian, no padding; Strings as a
// 2-byte length and Windows-1252 bytes). While a document is open its
// pictures live in the temp folder (pv::TempImageFolder()).
#include "document/model.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

class QIODevice;

namespace pv {

inline constexpr std::int32_t LabMagic = 11223367;  // bytes 47 41 AB 00
inline constexpr int ImageNameLength = 64;          // String*64 of an image entry
// A file larger than this is refused before it is read: the reader holds a
// label with all its pictures in memory at once.
inline constexpr qint64 MaxLabFileBytes = qint64(1) << 30;
inline constexpr int MsgBadLabFile = 15096;  // critical icon
inline constexpr int MsgLabFilter = 15093;
inline constexpr int MsgSaveTitle = 15094;
inline constexpr int MsgOpenTitle = 15095;
inline constexpr int MsgUntitled = 15098;
// Default extension of the open and save dialogs.
inline constexpr const char* LabDefaultExtension = "lab";

// One picture of a .lab file: its file name in the temp folder and the
// picture's bytes (the extra byte the file stores after them is not part of
// Data).
struct LabImageEntry {
  QString Name;
  QByteArray Data;
  bool operator==(const LabImageEntry&) const = default;
};

// Everything a .lab file holds.
struct LabFileContent {
  LabelHeader Header;
  QString BackgroundName;  // as String*128 (padded)
  QString BorderName;
  DocumentBlock Block;  // records 1..Count
  QList<LabImageEntry> Images;
};

// The temp-folder name of an image object's picture: the image number
// (Variant) as digits, ".", the trimmed Content. Empty when that would not be
// a safe name (see IsSafeImageName).
QString ImageFileName(const ObjectRecord& record);
// A picture name that may be used in the temp folder: one or more digits, a
// point, and 0-8 letters or digits. Anything else (separators, "..", an
// absolute path, blanks, other characters) is refused.
bool IsSafeImageName(const QString& name);
// The temp path of an image object's picture, or empty when its name is not
// safe.
QString ImageTempPath(const ObjectRecord& record);

// Parses a whole .lab file. On success fills `out` and returns true; on a
// refusal returns false with a short reason and leaves `out` untouched.
// Bytes after the last image entry are ignored.
bool ParseLabFile(const QByteArray& bytes, LabFileContent& out, QString* reason = nullptr);
// Writes a .lab file: the header, names and records of `content`, then one
// image entry per picture in `content.Images` (each as name, length L, L
// bytes and one 0 byte). Returns false when the device fails.
bool WriteLabFile(QIODevice& device, const LabFileContent& content);
// The content of the open document as SaveDocument stores it: header, names,
// records, and the pictures of its image objects read from the temp folder,
// in table order (a missing picture is stored empty; an object whose picture
// name is not safe gets no entry). False, with the reason, when a picture
// that is there cannot be read.
bool CurrentLabContent(LabFileContent& out, QString* error = nullptr);
// Validates and reads the file at `path` into the open document (header,
// names, table; pictures written to the temp folder only once the whole file
// was found sound). Shows no message and calls no host; false with the reason
// leaves everything as it was. The reading half of OpenDocumentFile.
bool ReadLabFileIntoDocument(const QString& path, QString* reason = nullptr);

// Reads `path` into the open document without a dialog: header, names,
// objects, pictures into the temp folder; then the editor's LoadData and
// SetParameter, the status bar and the print panel's ResetPrinterInformation.
// A refused file shows message 15096 and leaves the document exactly as it
// was. Does not touch DocFileName or the caption. Returns true when read
// (the program does not use the result).
bool OpenDocumentFile(const QString& path, QString* reason = nullptr);
// Starts an empty untitled document (the header stays). Always true.
bool NewDocument();
// The open document keeps its content but no longer has a file: the caption
// says it is untitled and its next save asks for a name. A label begun from
// the wizard (a size or a template applied) is a new label.
void MakeDocumentUntitled();
// Saves the document (asks for a name when bSaveAs or untitled). Writes
// through a temporary file, so a failed save leaves the old file. Returns
// true when the file was written (the program does not use the result).
bool SaveDocument(bool bSaveAs);
// Open dialog, then the file read whole; only then the document is replaced
// (new document, the file's content). A cancel or a refused file leaves the
// document as it was. True when a file was read.
bool OpenDocument();
// OpenDocument without its dialog, for a file named on the command line: the
// same reading and refusals (message 15096, the document left as it was).
bool OpenNamedDocument(const QString& path);

// The caption for the current DocFileName: application title, " - ", and
// the path or message 15098.
QString DocumentCaption();

}  // namespace pv
