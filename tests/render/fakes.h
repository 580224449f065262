#pragma once
// Recording stand-ins for Scriva2, Lineo2 and Pictor2 and for the hosts of
// label drawing, and a fixture that starts every test from an empty document
// with the recorder in place.
#include "document/document.h"
#include "platform/dc.h"
#include "platform/programfolder.h"
#include "render/render.h"
#include "tests/support/pixels.h"
#include "tests/support/records.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>

// Readable failures for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << "{\n";
  for (const QString& s : l) *os << "  " << s.toStdString() << "\n";
  *os << "}";
}

namespace pvtest {

inline QString R(const pv::Rect* r) {
  return QStringLiteral("%1,%2,%3,%4").arg(r->left).arg(r->top).arg(r->right).arg(r->bottom);
}
inline QString P(const pv::Point* p) { return QStringLiteral("%1,%2").arg(p->x).arg(p->y); }

// Every call as one line: "Name(arg|arg|...)"; rectangles "l,t,r,b".
struct RecordingLibraries : pv::RenderLibraries {
  QStringList calls;
  void add(const QString& name, const QStringList& args) { calls << name + "(" + args.join("|") + ")"; }
  static QString n(double v) { return QString::number(v, 'g', 12); }
  static QString n(std::int32_t v) { return QString::number(v); }
  static QString n(pv::Colour v) { return QString::number(v); }

  void ScrivaFontSize(std::int32_t v) override { add("ScrivaFontSize", {n(v)}); }
  void ScrivaSetBold(std::int32_t v) override { add("ScrivaSetBold", {n(v)}); }
  void ScrivaSetItalic(std::int32_t v) override { add("ScrivaSetItalic", {n(v)}); }
  void ScrivaSetUnderline(std::int32_t v) override { add("ScrivaSetUnderline", {n(v)}); }
  void ScrivaSetStrike(std::int32_t v) override { add("ScrivaSetStrike", {n(v)}); }
  void ScrivaFontName(const char* v) override { add("ScrivaFontName", {QString::fromUtf8(v)}); }
  void ScrivaSetForeColor(std::int32_t v) override { add("ScrivaSetForeColor", {n(v)}); }
  void ScrivaSetBackColor(std::int32_t v) override { add("ScrivaSetBackColor", {n(v)}); }
  void ScrivaSetFillParameter(std::int32_t a, std::int32_t b, std::int32_t c) override {
    add("ScrivaSetFillParameter", {n(a), n(b), n(c)});
  }
  void ScrivaDraw(pv::DeviceContext*, const char* text, pv::Rect* rect, double angle, std::int32_t align) override {
    add("ScrivaDraw", {QString::fromUtf8(text), R(rect), n(angle), n(align)});
  }
  void ScrivaDrawEx(pv::DeviceContext*, const char* text, pv::Rect* rect, double angle, std::int32_t align,
                    std::int32_t fill, std::int32_t texture, std::int32_t opacity) override {
    add("ScrivaDrawEx", {QString::fromUtf8(text), R(rect), n(angle), n(align), n(fill), n(texture), n(opacity)});
  }
  void LineoPen(pv::DeviceContext*, std::int32_t style, pv::Colour colour) override {
    add("LineoPen", {n(style), n(colour)});
  }
  void LineoLine(pv::DeviceContext*, const pv::Point* a, const pv::Point* b, double angle) override {
    add("LineoLine", {P(a), P(b), n(angle)});
  }
  void LineoRectangle(pv::DeviceContext*, const pv::Rect* r, double angle, std::int32_t fill, pv::Colour c1,
                      pv::Colour c2, std::int32_t op) override {
    add("LineoRectangle", {R(r), n(angle), n(fill), n(c1), n(c2), n(op)});
  }
  void LineoEllipse(pv::DeviceContext*, const pv::Rect* r, double angle, std::int32_t fill, pv::Colour c1,
                    pv::Colour c2, std::int32_t op) override {
    add("LineoEllipse", {R(r), n(angle), n(fill), n(c1), n(c2), n(op)});
  }
  void LineoChamferRect(pv::DeviceContext*, const pv::Rect* r, double aspect, double angle, std::int32_t fill,
                        pv::Colour c1, pv::Colour c2, std::int32_t op) override {
    add("LineoChamferRect", {R(r), n(aspect), n(angle), n(fill), n(c1), n(c2), n(op)});
  }
  void LineoRoundedRect(pv::DeviceContext*, const pv::Rect* r, double aspect, double angle, std::int32_t fill,
                        pv::Colour c1, pv::Colour c2, std::int32_t op) override {
    add("LineoRoundedRect", {R(r), n(aspect), n(angle), n(fill), n(c1), n(c2), n(op)});
  }
  void LineoShape(pv::DeviceContext*, const pv::Rect* r, double aspect, double angle, std::int32_t shape,
                  std::int32_t fill, pv::Colour c1, pv::Colour c2, std::int32_t op) override {
    add("LineoShape", {R(r), n(aspect), n(angle), n(shape), n(fill), n(c1), n(c2), n(op)});
  }
  void LineoArtTextDraw(pv::DeviceContext*, const char* text, const char* font, const pv::Rect* r, double angle,
                        std::int32_t shape, std::int32_t fill, pv::Colour c1, pv::Colour c2, std::int32_t op) override {
    add("LineoArtTextDraw",
        {QString::fromUtf8(text), QString::fromUtf8(font), R(r), n(angle), n(shape), n(fill), n(c1), n(c2), n(op)});
  }
  void PictorRenderMetaFile(pv::DeviceContext*, const pv::Rect* r, const char* file) override {
    add("PictorRenderMetaFile", {R(r), QString::fromUtf8(file)});
  }
  // The calls whose name starts with the prefix.
  QStringList named(const QString& prefix) const {
    QStringList out;
    for (const QString& c : calls)
      if (c.startsWith(prefix)) out << c;
    return out;
  }
};

struct FakeHosts : pv::RenderCanvasHost, pv::FieldSource, pv::RenderSettingsHost, pv::EditorHost {
  float fontRatio = 4.1667f;
  float ocxFontRatio = 2.0f;
  std::int32_t printerDpi = 600;
  bool printLow = false;
  bool printCircle = false;
  mutable QStringList fieldRequests;  // "name|format"
  int saveDataCalls = 0;

  float FontRatio() override { return fontRatio; }
  QString Value(const QString& field, const QString& format) const override {
    fieldRequests << field + "|" + format;
    return "value of " + field;
  }
  bool PrintLow() override { return printLow; }
  bool PrintCircle() override { return printCircle; }
  std::int32_t PrinterDpiY() override { return printerDpi; }
  void SaveData() override {
    ++saveDataCalls;
    pv::EditorHost::SaveData();
  }
};

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pv::ResetDocumentState();
    pv::ClearPictureCache();
    m_previousLibs = pv::SetRenderLibraries(&libs);
    pv::SetRenderCanvasHost(&hosts);
    pv::SetRenderSettingsHost(&hosts);
    pv::SetEditorHost(&hosts);
  }
  void TearDown() override {
    pv::SetRenderLibraries(m_previousLibs);
    pv::SetRenderCanvasHost(nullptr);
    pv::SetRenderSettingsHost(nullptr);
    pv::SetEditorHost(nullptr);
    pv::ResetDocumentState();
  }

  // Appends a box object (centre, size in millimetres, page origin included)
  // and returns its record.
  pv::ObjectRecord& AddBox(std::int16_t kind, float cx, float cy, float w, float h) {
    pv::ObjectRecord r = pv::test::BoxRecord(kind, cx, cy, w, h);
    r.Key = (pv::ObjCount + 1) * 10;
    r.FontName = "Arial";
    r.FontSize = 12;
    r.Opacity = 100;
    r.Alignment = 20;
    r.LineStyle = 2;
    r.FillStyle = 1;
    r.Color1 = 0xFFFFFF;
    r.Color2 = 0x323232;
    return pv::test::AppendRecord(r);
  }
  // A barcode box of a format, showing its text, black, upright, without
  // border or reduction; source 0 encodes the content, 1 the field it names.
  pv::ObjectRecord& AddBarcodeBox(float cx, float cy, float w, float h, int format, const QString& content,
                                  std::int16_t source = 0) {
    pv::ObjectRecord& r = AddBox(pv::UserTypeBarcode, cx, cy, w, h);
    r.Aspect = format;
    r.Content = content;
    r.ShowText = 1;
    r.Alignment = 0;
    r.Color1 = 0;
    r.Color2 = 0;
    r.LineColor = 0;
    r.Variant = source;
    return r;
  }
  pv::ObjectRecord& AddLine(float x1, float y1, float x2, float y2) {
    pv::ObjectRecord& r = AddBox(pv::UserTypeLine, 0, 0, 0, 0);
    r.GeomType = pv::GeomLine;
    r.X1 = x1;
    r.Y1 = y1;
    r.X2 = x2;
    r.Y2 = y2;
    return r;
  }

  // The screen path for an object at the box (l, t, r, b), outline points
  // as given (X(1), Y(1), X(2), Y(2)).
  void DrawOnScreen(pv::DeviceContext* dc, const pv::ObjectRecord& r, pv::Rect box, pv::Point p1 = {},
                    pv::Point p2 = {}) {
    pv::RenderOutline X{}, Y{};
    X[1] = p1.x;
    Y[1] = p1.y;
    X[2] = p2.x;
    Y[2] = p2.y;
    pv::DragEditor_DrawObject(dc, X, Y, box.left, box.top, box.right, box.bottom, float(r.Angle), r.Key, r.UserType,
                              pv::DocBlock, captions);
  }
  // The print path for one object at (l, t, r, b): the preview (its font
  // ratio the fake's) or the printer, the fields' values the fake's.
  void DrawForPrint(pv::DeviceContext* dc, const pv::ObjectRecord& r, std::int32_t l, std::int32_t t, std::int32_t rt,
                    std::int32_t b, float angle, bool preview) {
    pv::DrawLabelObject(dc, r, l, t, rt, b, angle, hosts, Surface(preview));
  }
  // The print path for the open document's label into rect, its canvas
  // geometry committed first as the print engine does.
  void DrawLabel(pv::DeviceContext* dc, const pv::Rect& rect, bool preview) {
    pv::Editor().SaveData();
    const pv::LabelContent label{pv::DocBlock, pv::Header, pv::PageOrgX, pv::PageOrgY};
    pv::DrawLabelObjects(dc, rect, label, hosts, Surface(preview));
  }
  pv::PrintSurface Surface(bool preview) const { return pv::PrintSurface{preview, hosts.ocxFontRatio}; }

  const pv::FieldCaptions captions;

  RecordingLibraries libs;
  FakeHosts hosts;

 private:
  pv::RenderLibraries* m_previousLibs = nullptr;
};

using pv::test::CountPixels;
using pv::test::DarkerThan;
using pv::test::Except;
inline constexpr QRgb kWhite = qRgb(255, 255, 255);
// A drawing rectangle (right and bottom outside) as the pixels it covers.
inline QRect Area(const pv::Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// Pixels of `area` (right and bottom exclusive) that are not white.
inline int NonWhitePixels(const QImage& img, const pv::Rect& area) {
  return pv::test::CountPixels(img, Area(area), [](QRgb c) { return (c & 0xFFFFFF) != 0xFFFFFF; });
}

}  // namespace pvtest
