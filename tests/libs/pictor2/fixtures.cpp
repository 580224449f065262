#include "fixtures.h"

#include <uemf.h>
#include <uemf_utf.h>
#include <uwmf.h>

#include <QDir>
#include <QFile>
#include <QUuid>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace pictor2_fixtures {
namespace {

U_COLORREF Ref(std::uint32_t c) { return colorref3_set(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
U_RECTL R(int l, int t, int r, int b) { return rectl_set(point32_set(l, t), point32_set(r, b)); }
U_RECTL FrameBounds() { return R(0, 0, kFrameW - 1, kFrameH - 1); }

QString TempName(const char* ext) {
  return QDir::temp().filePath(QStringLiteral("pictor2-fixture-%1.%2")
                                   .arg(QUuid::createUuid().toString(QUuid::Id128), QString::fromLatin1(ext)));
}

QByteArray ReadAndRemove(const QString& name) {
  QFile f(name);
  QByteArray bytes;
  if (f.open(QIODevice::ReadOnly)) bytes = f.readAll();
  f.close();
  QFile::remove(name);
  return bytes;
}

class Emf {
 public:
  explicit Emf(int frameW001 = kFrameW * 10, int frameH001 = kFrameH * 10) {
    m_name = TempName("emf");
    emf_start(m_name.toLocal8Bit().constData(), 4096, 4096, &m_et);
    emf_htable_create(128, 128, &m_eht);
    Add(U_EMRHEADER_set(FrameBounds(), R(0, 0, frameW001, frameH001), nullptr, 0, nullptr, sizel_set(1000, 1000),
                        sizel_set(100, 100), 0));
  }
  ~Emf() {
    if (m_et) emf_free(&m_et);
    if (m_eht) emf_htable_free(&m_eht);
  }
  void Add(char* rec) { emf_append(reinterpret_cast<PU_ENHMETARECORD>(rec), m_et, 1); }
  // Raw record bytes (for forms the writer does not offer).
  void AddRaw(const std::vector<std::uint32_t>& words) {
    auto* rec = static_cast<char*>(std::malloc(words.size() * 4));
    std::memcpy(rec, words.data(), words.size() * 4);
    Add(rec);
  }
  std::uint32_t Brush(std::uint32_t colour) {
    std::uint32_t ih = 0;
    Add(createbrushindirect_set(&ih, m_eht, logbrush_set(U_BS_SOLID, Ref(colour), 0)));
    return ih;
  }
  std::uint32_t Pen(std::uint32_t style, int width, std::uint32_t colour) {
    std::uint32_t ih = 0;
    Add(createpen_set(&ih, m_eht, logpen_set(style, point_set(width, 0), Ref(colour))));
    return ih;
  }
  std::uint32_t FontW(int height, const char* face) {
    std::uint32_t ih = 0;
    uint16_t* wface = U_Utf8ToUtf16le(face, 0, nullptr);
    U_LOGFONT lf =
        logfont_set(height, 0, 0, 0, U_FW_NORMAL, 0, 0, 0, U_ANSI_CHARSET, 0, 0, U_DEFAULT_QUALITY, 0, wface);
    std::free(wface);
    Add(extcreatefontindirectw_set(&ih, m_eht, reinterpret_cast<char*>(&lf), nullptr));
    return ih;
  }
  void Select(std::uint32_t ih) { Add(selectobject_set(ih, m_eht)); }
  void Delete(std::uint32_t ih) { Add(deleteobject_set(&ih, m_eht)); }
  void Fill(int l, int t, int r, int b, std::uint32_t colour) {
    const std::uint32_t brush = Brush(colour);
    Select(brush);
    Add(U_EMRSELECTOBJECT_set(U_NULL_PEN));
    Add(U_EMRRECTANGLE_set(R(l, t, r, b)));
    Add(U_EMRSELECTOBJECT_set(U_BLACK_BRUSH));
    Delete(brush);
  }
  void Text(int x, int y, const char* utf8, std::uint32_t options = U_ETO_NONE) {
    size_t len = 0;
    uint16_t* w = U_Utf8ToUtf16le(utf8, 0, &len);
    uint32_t* dx = dx_set(-100, U_FW_NORMAL, static_cast<uint32_t>(len));
    char* text = emrtext_set(point32_set(x, y), static_cast<U_NUM_STR>(len), 2, w, options, R(0, 0, 0, 0), dx);
    Add(U_EMREXTTEXTOUTW_set(FrameBounds(), U_GM_COMPATIBLE, 1, 1, reinterpret_cast<PU_EMRTEXT>(text)));
    std::free(text);
    std::free(dx);
    std::free(w);
  }
  QByteArray Finish() {
    Add(U_EMREOF_set(0, nullptr, m_et));
    emf_finish(m_et, m_eht);
    emf_free(&m_et);
    emf_htable_free(&m_eht);
    return ReadAndRemove(m_name);
  }

 private:
  QString m_name;
  EMFTRACK* m_et = nullptr;
  EMFHANDLES* m_eht = nullptr;
};

// The 2 x 2 bitmap: top row red, green; bottom row blue, white (24 bits,
// bottom-up, rows padded to 4 bytes).
struct Bitmap2x2 {
  U_BITMAPINFOHEADER header = bitmapinfoheader_set(2, 2, 1, 24, U_BI_RGB, 16, 0, 0, 0, 0);
  PU_BITMAPINFO info = bitmapinfo_set(header, nullptr);
  char px[16] = {
      // bottom row: blue, white
      static_cast<char>(0xFF), 0, 0, static_cast<char>(0xFF), static_cast<char>(0xFF), static_cast<char>(0xFF), 0, 0,
      // top row: red, green
      0, 0, static_cast<char>(0xFF), 0, static_cast<char>(0xFF), 0, 0, 0};
  ~Bitmap2x2() { std::free(info); }
};

class Wmf {
 public:
  explicit Wmf(bool placeable) {
    m_name = TempName("wmf");
    wmf_start(m_name.toLocal8Bit().constData(), 4096, 4096, &m_wt);
    wmf_htable_create(128, 128, &m_wht);
    U_PAIRF* size = placeable ? U_PAIRF_set(2.0f, 1.0f) : nullptr;
    wmf_header_append(reinterpret_cast<U_METARECORD*>(U_WMRHEADER_set(size, 100)), m_wt, 1);
    std::free(size);
    Add(U_WMRSETWINDOWORG_set(point16_set(0, 0)));
    Add(U_WMRSETWINDOWEXT_set(point16_set(200, 100)));
  }
  ~Wmf() {
    if (m_wt) wmf_free(&m_wt);
    if (m_wht) wmf_htable_free(&m_wht);
  }
  void Add(char* rec) { wmf_append(reinterpret_cast<U_METARECORD*>(rec), m_wt, 1); }
  std::uint32_t Brush(std::uint32_t colour) {
    std::uint32_t ih = 0;
    Add(wcreatebrushindirect_set(&ih, m_wht, U_WLOGBRUSH_set(U_BS_SOLID, Ref(colour), 0)));
    return ih;
  }
  std::uint32_t Pen(std::uint16_t style, std::uint16_t width, std::uint32_t colour) {
    std::uint32_t ih = 0;
    Add(wcreatepenindirect_set(&ih, m_wht, U_PEN_set(style, width, Ref(colour))));
    return ih;
  }
  void Select(std::uint32_t ih) { Add(wselectobject_set(ih, m_wht)); }
  void Delete(std::uint32_t ih) { Add(wdeleteobject_set(&ih, m_wht)); }
  QByteArray Finish() {
    Add(U_WMREOF_set());
    wmf_finish(m_wt);
    wmf_free(&m_wt);
    wmf_htable_free(&m_wht);
    return ReadAndRemove(m_name);
  }
  WMFHANDLES* handles() { return m_wht; }

 private:
  QString m_name;
  WMFTRACK* m_wt = nullptr;
  WMFHANDLES* m_wht = nullptr;
};

U_RECT16 R16(int l, int t, int r, int b) { return U_RECT16_set(point16_set(l, t), point16_set(r, b)); }

QByteArray RectangleWmf(bool placeable) {
  Wmf w(placeable);
  const std::uint32_t brush = w.Brush(kBlack);
  w.Select(brush);
  const std::uint32_t pen = w.Pen(U_PS_NULL, 0, kBlack);
  w.Select(pen);
  w.Add(U_WMRRECTANGLE_set(R16(0, 0, 200, 100)));
  return w.Finish();
}

}  // namespace

QByteArray FilledFrameEmf(std::uint32_t colour) {
  Emf e;
  e.Fill(0, 0, kFrameW, kFrameH, colour);
  return e.Finish();
}

QByteArray FrameOnlyEmf(int width001mm, int height001mm) {
  Emf e(width001mm, height001mm);
  return e.Finish();
}

QByteArray ClippedEmf() {
  Emf e;
  e.Add(U_EMRINTERSECTCLIPRECT_set(R(0, 0, kFrameW / 2, kFrameH)));
  e.Fill(0, 0, kFrameW, kFrameH, kBlack);
  return e.Finish();
}

QByteArray UnclipEmf() {
  Emf e;
  e.AddRaw({U_EMR_EXTSELECTCLIPRGN, 16, 0, U_RGN_COPY});
  e.Fill(0, 0, kFrameW, kFrameH, kBlack);
  return e.Finish();
}

QByteArray TextEmf() {
  Emf e;
  e.Select(e.FontW(-100, "DejaVu Sans"));
  e.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  e.Add(U_EMRSETTEXTCOLOR_set(Ref(kBlack)));
  e.Add(U_EMRSETTEXTALIGN_set(U_TA_TOP));
  e.Text(100, 100, "HHHH", U_ETO_NO_RECT);
  return e.Finish();
}

QByteArray BitmapEmf() {
  Emf e;
  Bitmap2x2 bm;
  e.Add(U_EMRSTRETCHDIBITS_set(FrameBounds(), point32_set(0, 0), point32_set(kFrameW, kFrameH), point32_set(0, 0),
                               point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, bm.info, sizeof(bm.px), bm.px));
  return e.Finish();
}

QByteArray MappedEmf() {
  Emf e;
  e.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  e.Add(U_EMRSETWINDOWORGEX_set(point32_set(0, 0)));
  e.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(100, 50)));
  e.Add(U_EMRSETVIEWPORTORGEX_set(point32_set(0, 0)));
  e.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(kFrameW, kFrameH)));
  e.Fill(0, 0, 100, 50, kBlack);
  return e.Finish();
}

QByteArray WorldTransformEmf() {
  Emf e;
  e.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(0.5f, 0, 0, 1, 0, 0)));
  e.Fill(0, 0, kFrameW, kFrameH, kBlack);
  return e.Finish();
}

QByteArray SaveRestoreEmf() {
  Emf e;
  e.Add(U_EMRSELECTOBJECT_set(U_NULL_PEN));
  e.Select(e.Brush(kBlue));
  e.Add(U_EMRSAVEDC_set());
  e.Select(e.Brush(kRed));
  e.Add(U_EMRRESTOREDC_set(-1));
  e.Add(U_EMRRECTANGLE_set(R(0, 0, kFrameW, kFrameH)));
  return e.Finish();
}

QByteArray UnbalancedEmf() {
  Emf e;
  e.Add(U_EMRSAVEDC_set());
  e.Add(U_EMRSAVEDC_set());
  e.Add(U_EMRRESTOREDC_set(-7));
  e.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  e.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(10, 10)));
  e.Add(U_EMRSETWORLDTRANSFORM_set(xform_set(3, 0, 0, 3, 5, 5)));
  e.Select(e.Pen(U_PS_SOLID, 9, kRed));
  e.Select(e.Brush(kGreen));
  e.Add(U_EMRSETTEXTCOLOR_set(Ref(kRed)));
  e.Add(U_EMRINTERSECTCLIPRECT_set(R(0, 0, 1, 1)));
  e.Add(U_EMRSAVEDC_set());
  return e.Finish();
}

QByteArray PathEmf() {
  Emf e;
  e.Select(e.Brush(kBlack));
  e.Add(U_EMRSELECTOBJECT_set(U_NULL_PEN));
  e.Add(U_EMRBEGINPATH_set());
  const U_POINTL tri[3] = {point32_set(0, 0), point32_set(kFrameW, 0), point32_set(0, kFrameH)};
  e.Add(U_EMRPOLYGON_set(FrameBounds(), 3, tri));
  e.Add(U_EMRENDPATH_set());
  e.Add(U_EMRFILLPATH_set(FrameBounds()));
  return e.Finish();
}

QByteArray EmfPlusDualEmf() {
  Emf e;
  // EMF+ header record inside a comment: "EMF+", then type 0x4001, flags,
  // size 28, data size 16, version, dual flag, dpi.
  const std::uint32_t plus[] = {0x2B464D45, 0x00014001, 28, 16, 0xDBC01002, 1, 96, 96};
  e.Add(U_EMRCOMMENT_set(sizeof(plus), reinterpret_cast<const char*>(plus)));
  e.Fill(0, 0, kFrameW, kFrameH, kBlack);
  return e.Finish();
}

QByteArray AllFamiliesEmf() {
  Emf e;
  e.Add(U_EMRSAVEDC_set());
  e.Add(U_EMRSETMAPMODE_set(U_MM_ANISOTROPIC));
  e.Add(U_EMRSETWINDOWEXTEX_set(sizel_set(kFrameW, kFrameH)));
  e.Add(U_EMRSETVIEWPORTEXTEX_set(sizel_set(kFrameW, kFrameH)));
  e.Add(U_EMRMODIFYWORLDTRANSFORM_set(xform_set(1, 0, 0, 1, 0, 0), U_MWT_IDENTITY));
  const std::uint32_t pen = e.Pen(U_PS_DASH, 3, kBlue);
  e.Select(pen);
  const std::uint32_t brush = e.Brush(kGreen);
  e.Select(brush);
  const U_POINTL line[3] = {point32_set(10, 10), point32_set(200, 40), point32_set(30, 90)};
  e.Add(U_EMRPOLYLINE_set(FrameBounds(), 3, line));
  e.Add(U_EMRPOLYGON_set(FrameBounds(), 3, line));
  const U_POINT16 line16[3] = {point16_set(300, 10), point16_set(400, 40), point16_set(330, 90)};
  e.Add(U_EMRPOLYLINE16_set(FrameBounds(), 3, line16));
  e.Add(U_EMRPOLYGON16_set(FrameBounds(), 3, line16));
  const U_POINTL pp[6] = {point32_set(500, 10), point32_set(560, 10), point32_set(530, 60),
                          point32_set(600, 10), point32_set(660, 10), point32_set(630, 60)};
  const uint32_t counts[2] = {3, 3};
  e.Add(U_EMRPOLYPOLYGON_set(FrameBounds(), 2, counts, 6, pp));
  e.Add(U_EMRPOLYPOLYLINE_set(FrameBounds(), 2, counts, 6, pp));
  e.Add(U_EMRRECTANGLE_set(R(10, 120, 100, 180)));
  e.Add(U_EMRROUNDRECT_set(R(110, 120, 200, 180), sizel_set(20, 20)));
  e.Add(U_EMRELLIPSE_set(R(210, 120, 300, 180)));
  e.Add(U_EMRARC_set(R(310, 120, 400, 180), point32_set(400, 150), point32_set(310, 150)));
  e.Add(U_EMRCHORD_set(R(410, 120, 500, 180), point32_set(500, 150), point32_set(410, 150)));
  e.Add(U_EMRPIE_set(R(510, 120, 600, 180), point32_set(600, 150), point32_set(510, 150)));
  e.Add(U_EMRMOVETOEX_set(point32_set(610, 120)));
  e.Add(U_EMRLINETO_set(point32_set(700, 180)));
  e.Add(U_EMRBEGINPATH_set());
  e.Add(U_EMRMOVETOEX_set(point32_set(710, 120)));
  e.Add(U_EMRLINETO_set(point32_set(790, 120)));
  e.Add(U_EMRLINETO_set(point32_set(750, 180)));
  e.Add(U_EMRCLOSEFIGURE_set());
  e.Add(U_EMRENDPATH_set());
  e.Add(U_EMRSTROKEANDFILLPATH_set(FrameBounds()));
  e.Add(U_EMRBEGINPATH_set());
  e.Add(U_EMRRECTANGLE_set(R(800, 120, 900, 180)));
  e.Add(U_EMRENDPATH_set());
  e.Add(U_EMRSTROKEPATH_set(FrameBounds()));
  e.Add(U_EMRSAVEDC_set());
  e.Add(U_EMRINTERSECTCLIPRECT_set(R(0, 200, 500, 300)));
  e.Add(U_EMREXCLUDECLIPRECT_set(R(0, 200, 50, 300)));
  e.Fill(0, 200, kFrameW, 300, kRed);
  e.Add(U_EMRRESTOREDC_set(-1));
  e.Select(e.FontW(-40, "DejaVu Sans"));
  e.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  e.Text(520, 220, "Etichetta");
  Bitmap2x2 bm;
  e.Add(U_EMRSTRETCHDIBITS_set(FrameBounds(), point32_set(10, 310), point32_set(100, 100), point32_set(0, 0),
                               point32_set(2, 2), U_DIB_RGB_COLORS, U_SRCCOPY, bm.info, sizeof(bm.px), bm.px));
  e.Add(U_EMRBITBLT_set(FrameBounds(), point32_set(120, 310), point32_set(2, 2), point32_set(0, 0),
                        xform_set(1, 0, 0, 1, 0, 0), Ref(kWhite), U_DIB_RGB_COLORS, U_SRCCOPY, bm.info, sizeof(bm.px),
                        bm.px));
  U_BLEND blend{0, 0, 128, 0};
  e.Add(U_EMRALPHABLEND_set(FrameBounds(), point32_set(140, 310), point32_set(100, 100), point32_set(0, 0),
                            point32_set(2, 2), xform_set(1, 0, 0, 1, 0, 0), Ref(kWhite), U_DIB_RGB_COLORS, blend,
                            bm.info, sizeof(bm.px), bm.px));
  e.Add(U_EMRSELECTOBJECT_set(U_BLACK_BRUSH));
  e.Delete(brush);
  e.Add(U_EMRSELECTOBJECT_set(U_NULL_PEN | 0));
  e.Delete(pen);
  e.Add(U_EMRRESTOREDC_set(-1));
  return e.Finish();
}

QByteArray LeftHalfThenMoreEmf() {
  Emf e;
  e.Fill(0, 0, kFrameW / 2, kFrameH, kBlack);
  const U_POINTL tri[3] = {point32_set(600, 10), point32_set(900, 10), point32_set(750, 400)};
  e.Add(U_EMRPOLYGON_set(FrameBounds(), 3, tri));
  e.Fill(kFrameW / 2, 0, kFrameW, kFrameH, kRed);
  return e.Finish();
}

QByteArray ManyRecordsEmf(int records) {
  Emf e;
  const std::uint32_t pens[3] = {e.Pen(U_PS_SOLID, 2, kBlack), e.Pen(U_PS_SOLID, 5, kBlue), e.Pen(U_PS_DASH, 1, kRed)};
  const std::uint32_t brushes[3] = {e.Brush(kGreen), e.Brush(kRed), e.Brush(0x808080)};
  e.Select(e.FontW(-30, "DejaVu Sans"));
  e.Add(U_EMRSETBKMODE_set(U_TRANSPARENT));
  for (int i = 0; i < records / 4; ++i) {
    const int x = (i * 37) % (kFrameW - 60), y = (i * 53) % (kFrameH - 60);
    e.Select(pens[i % 3]);
    e.Select(brushes[i % 3]);
    switch (i % 4) {
      case 0: {
        const U_POINT16 pts[5] = {point16_set(x, y), point16_set(x + 50, y + 5), point16_set(x + 40, y + 50),
                                  point16_set(x + 10, y + 45), point16_set(x + 25, y + 20)};
        e.Add(U_EMRPOLYGON16_set(FrameBounds(), 5, pts));
        break;
      }
      case 1: {
        const U_POINT16 pts[4] = {point16_set(x, y), point16_set(x + 30, y + 40), point16_set(x + 60, y),
                                  point16_set(x + 20, y + 55)};
        e.Add(U_EMRPOLYLINE16_set(FrameBounds(), 4, pts));
        break;
      }
      case 2: e.Add(U_EMRELLIPSE_set(R(x, y, x + 50, y + 30))); break;
      default: e.Text(x, y, "Etichetta"); break;
    }
    e.Add(U_EMRSAVEDC_set());
    e.Add(U_EMRRESTOREDC_set(-1));
  }
  return e.Finish();
}

QByteArray PlaceableWmf() { return RectangleWmf(true); }
QByteArray StandardWmf() { return RectangleWmf(false); }

QByteArray AllFamiliesWmf() {
  Wmf w(false);
  w.Add(U_WMRSAVEDC_set());
  const std::uint32_t pen = w.Pen(U_PS_SOLID, 2, kBlue);
  w.Select(pen);
  const std::uint32_t brush = w.Brush(kGreen);
  w.Select(brush);
  const U_POINT16 tri[3] = {point16_set(5, 5), point16_set(50, 10), point16_set(10, 40)};
  w.Add(U_WMRPOLYLINE_set(3, tri));
  w.Add(U_WMRPOLYGON_set(3, tri));
  const uint16_t counts[2] = {3, 3};
  const U_POINT16 pp[6] = {point16_set(60, 5), point16_set(80, 5),  point16_set(70, 30),
                           point16_set(90, 5), point16_set(110, 5), point16_set(100, 30)};
  w.Add(U_WMRPOLYPOLYGON_set(2, counts, pp));
  w.Add(U_WMRRECTANGLE_set(R16(120, 5, 150, 30)));
  w.Add(U_WMRROUNDRECT_set(8, 8, R16(155, 5, 190, 30)));
  w.Add(U_WMRELLIPSE_set(R16(5, 50, 40, 80)));
  w.Add(U_WMRARC_set(point16_set(80, 65), point16_set(45, 65), R16(45, 50, 80, 80)));
  w.Add(U_WMRCHORD_set(point16_set(120, 65), point16_set(85, 65), R16(85, 50, 120, 80)));
  w.Add(U_WMRPIE_set(point16_set(160, 65), point16_set(125, 65), R16(125, 50, 160, 80)));
  w.Add(U_WMRMOVETO_set(point16_set(165, 50)));
  w.Add(U_WMRLINETO_set(point16_set(195, 80)));
  w.Add(U_WMRINTERSECTCLIPRECT_set(R16(0, 0, 200, 100)));
  w.Add(U_WMRSETTEXTCOLOR_set(Ref(kBlack)));
  w.Add(U_WMRSETBKMODE_set(U_TRANSPARENT));
  char text[] = "Etichetta";
  w.Add(U_WMRTEXTOUT_set(point16_set(5, 85), text));
  Bitmap2x2 bm;
  w.Add(U_WMRSTRETCHDIB_set(point16_set(170, 85), point16_set(20, 10), point16_set(0, 0), point16_set(2, 2),
                            U_DIB_RGB_COLORS, U_SRCCOPY, bm.info, sizeof(bm.px), bm.px));
  w.Add(U_WMRRESTOREDC_set(-1));
  w.Delete(pen);
  w.Delete(brush);
  return w.Finish();
}

std::map<QString, QByteArray> AllFixtures() {
  return {
      {QStringLiteral("filled.emf"), FilledFrameEmf()},    {QStringLiteral("clipped.emf"), ClippedEmf()},
      {QStringLiteral("unclip.emf"), UnclipEmf()},         {QStringLiteral("text.emf"), TextEmf()},
      {QStringLiteral("bitmap.emf"), BitmapEmf()},         {QStringLiteral("mapped.emf"), MappedEmf()},
      {QStringLiteral("world.emf"), WorldTransformEmf()},  {QStringLiteral("saverestore.emf"), SaveRestoreEmf()},
      {QStringLiteral("unbalanced.emf"), UnbalancedEmf()}, {QStringLiteral("path.emf"), PathEmf()},
      {QStringLiteral("emfplus.emf"), EmfPlusDualEmf()},   {QStringLiteral("families.emf"), AllFamiliesEmf()},
      {QStringLiteral("placeable.wmf"), PlaceableWmf()},   {QStringLiteral("standard.wmf"), StandardWmf()},
      {QStringLiteral("families.wmf"), AllFamiliesWmf()},
  };
}

}  // namespace pictor2_fixtures
