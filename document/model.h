#pragma once
// The label document: its object records, the header, and the one open
// document of the process (object table, picture names, file name, page
// origin). Records are plain values: an assignment copies every field.
#include <QString>
#include <array>
#include <cstdint>

namespace pv {

// Object kinds (ObjectRecord::UserType).
inline constexpr std::int16_t UserTypeDatabaseField = 100;
inline constexpr std::int16_t UserTypeTextBox = 101;
inline constexpr std::int16_t UserTypeImage = 102;
inline constexpr std::int16_t UserTypeLine = 104;
inline constexpr std::int16_t UserTypeRectangle = 105;
inline constexpr std::int16_t UserTypeEllipse = 106;
inline constexpr std::int16_t UserTypeChamferedRect = 107;
inline constexpr std::int16_t UserTypeRoundedRect = 108;
inline constexpr std::int16_t UserTypeArtText = 109;
inline constexpr std::int16_t UserTypeShapeBase = 200;  // generic shape n is 200 + n, n = 0-13
inline constexpr std::int16_t UserTypeShapeLast = 213;
inline constexpr std::int16_t UserTypeBarcode = 300;

// Geometry kinds (ObjectRecord::GeomType); also the tool codes of AddObject.
inline constexpr std::int16_t GeomLine = 1000;
inline constexpr std::int16_t GeomBox = 1001;

// The geometry kind an object of kind `userType` has (a line for 104, a box
// for everything else).
constexpr std::int16_t GeomTypeOf(std::int16_t userType) { return userType == UserTypeLine ? GeomLine : GeomBox; }

inline constexpr int MaxObjects = 200;  // live objects of a table
// The largest label side in millimetres: the largest sheet a print format
// accepts.
inline constexpr double MaxLabelSide = 100000.0;
// Whether a label side is a size a label can have: a number above 0 and at
// most MaxLabelSide.
bool IsValidLabelSide(double millimetres);
inline constexpr std::int32_t MaxObjectKey = 99999999;
inline constexpr int FixedNameLength = 128;  // BackgroundName, BorderName

// One label object. Fields 1-15 are the geometry part, 16-40 the attributes
// (ObjectAttributes). Lengths in millimetres, positions with the page origin.
struct ObjectRecord {
  float CenterX = 0;            // 1  box: centre X
  float CenterY = 0;            // 2  box: centre Y
  float Width = 0;              // 3  box: width
  float Height = 0;             // 4  box: height
  float X1 = 0;                 // 5  line: first end X; after a commit, x1 of any object
  float Y1 = 0;                 // 6
  float X2 = 0;                 // 7
  float Y2 = 0;                 // 8
  std::int32_t Angle = 0;       // 9  whole degrees
  std::int16_t GeomType = 0;    // 10 GeomLine / GeomBox
  std::int16_t IsSelected = 0;  // 11 Integer Boolean
  std::int16_t IsHidden = 0;    // 12 Integer Boolean
  std::int32_t Key = 0;         // 13 unique among live objects, 1..99999999
  std::int32_t Reserved = 0;    // 14 kept, never set
  std::int16_t UserType = 0;    // 15 object kind
  // ObjectAttributes
  std::int16_t Page = 0;            // 16
  QString Content;                  // 17 text, field name, image extension, barcode text
  std::int16_t Opacity = 0;         // 18 0-100
  QString FontName;                 // 19
  std::int16_t FontSize = 0;        // 20
  std::int16_t Italic = 0;          // 21
  std::int16_t Bold = 0;            // 22
  std::int16_t Underline = 0;       // 23
  std::int16_t StrikeOut = 0;       // 24
  std::int32_t Reserved2 = 0;       // 25 kept, never set
  std::int16_t Alignment = 0;       // 26 20-23; barcode orientation
  std::int16_t Variant = 0;         // 27 image number, shadow mode, art-text shape, barcode source
  std::int32_t LineColor = 0;       // 28 0x00BBGGRR
  std::int32_t LineStyle = 0;       // 29
  std::int32_t FillStyle = 0;       // 30 FillStyleCode
  std::int32_t Color1 = 0;          // 31 first fill colour, text colour
  std::int32_t Color2 = 0;          // 32
  std::int32_t Aspect = 0;          // 33 shape aspect; barcode format index
  QString FormatText;               // 34 field format; barcode data field
  std::int16_t ExtraOption1 = 0;    // 35
  std::int16_t ExtraOption2 = 0;    // 36
  std::int16_t ShowMargins = 0;     // 37
  std::int16_t BearerBars = 0;      // 38
  std::int16_t ShowCheckDigit = 0;  // 39
  std::int16_t ShowText = 0;        // 40

  bool operator==(const ObjectRecord&) const = default;
};

// Objects(0 To 200) and the count: 1..Count are live, in paint order (1 at
// the back); 0 is scratch and never read as an object.
struct DocumentBlock {
  std::array<ObjectRecord, MaxObjects + 1> Objects{};
  std::int32_t Count = 0;
};

// Live records of two blocks are equal (slot 0 and slots past Count are not
// compared).
bool SameLiveObjects(const DocumentBlock& a, const DocumentBlock& b);

struct LabelHeader {
  QString LabelFormatCode;
  QString Text2, Text3, Text4, Text5;  // only travel through the file
  double LabelWidth = 0;               // millimetres
  double LabelHeight = 0;
  std::int16_t Reserved = 0;

  bool operator==(const LabelHeader&) const = default;
};

// ---- The open document (process-wide) -------------------------------------

extern LabelHeader Header;
// String*128: full paths, padded with blanks (an empty name is 128 blanks);
// readers trim. Write them through FixedName().
extern QString BackgroundName;
extern QString BorderName;
extern QString DocFileName;  // empty while the document has no file
// The object table of the open document: DocBlock.Objects / DocBlock.Count,
// also reachable as Objects / ObjCount.
extern DocumentBlock DocBlock;
inline std::array<ObjectRecord, MaxObjects + 1>& Objects = DocBlock.Objects;
inline std::int32_t& ObjCount = DocBlock.Count;
// Top-left corner of the label page in the canvas work area (written by the
// page painting); object coordinates include it.
extern float PageOrgX;
extern float PageOrgY;
// The enumeration cursor of GetFirstObject / GetNextObject (an index).
extern std::int32_t EnumCursor;

// A text as a String*N: cut after n characters, padded with blanks.
QString FixedString(const QString& s, int n);
// FixedString(s, 128).
QString FixedName(const QString& s);

// Back to the start-up state: empty table, header, names, file name, page
// origin, cursor, undo history and clipboard. The program never calls it
// (the history lives for the whole run); tests and tools start from it.
void ResetDocumentState();

}  // namespace pv
