#include "formats/templatedesigns.h"

#include "document/predefinedfields.h"
#include "document/pageorigin.h"
#include "platform/dc.h"
#include "platform/runtime.h"
#include "render/barcode.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace pv {

namespace {

constexpr std::int16_t kLeft = 20;
constexpr std::int16_t kRight = 21;
constexpr std::int16_t kCentre = 22;
constexpr std::int32_t kBlack = 0;
constexpr std::int32_t kWhite = static_cast<std::int32_t>(Rgb(255, 255, 255));
constexpr std::int32_t kNavy = static_cast<std::int32_t>(Rgb(25, 60, 120));
constexpr std::int32_t kGrey = static_cast<std::int32_t>(Rgb(50, 50, 50));
// Code 128: draws any text, the field name in the editor as the code on paper.
constexpr std::int16_t kCode128 = BarcodeCode128Index;

const char* const kCurrency = "\xE2\x82\xAC #,##0.00";
const char* const kDate = "dd/mm/yyyy";

// Lays out one template: positions are millimetres from the label's
// top-left corner; records get the page origin the editor gives a label of
// this size, and their geometry committed as a saved document has it.
class Design {
 public:
  Design(double width, double height) {
    const PageEdges page = CentredPage(0.0, 0.0, EditorWorkAreaSize, EditorWorkAreaSize, width, height);
    m_orgX = page.left;
    m_orgY = page.top;
  }

  ObjectRecord& Field(double x, double y, double w, double h, const QString& column, std::int16_t size,
                      bool bold = false, std::int16_t align = kLeft, const QString& format = {}) {
    ObjectRecord& r = Text(x, y, w, h, column, size, bold, align);
    r.UserType = UserTypeDatabaseField;
    r.FormatText = format;
    return r;
  }

  ObjectRecord& Text(double x, double y, double w, double h, const QString& text, std::int16_t size, bool bold = false,
                     std::int16_t align = kLeft) {
    ObjectRecord& r = Box(UserTypeTextBox, x, y, w, h);
    r.Content = text;
    r.FontName = QStringLiteral("Arial");
    r.FontSize = size;
    r.Bold = ToVbBool(bold);
    r.Alignment = align;
    r.Color1 = kBlack;
    return r;
  }

  // A rectangle, ellipse or rounded rectangle: outline in `line`, filled
  // with `fill` (FillStyle 1) or hollow (no fill colour given).
  ObjectRecord& Shape(std::int16_t kind, double x, double y, double w, double h, std::int32_t line,
                      std::int32_t fill = -1) {
    ObjectRecord& r = Box(kind, x, y, w, h);
    r.LineColor = line;
    r.FillStyle = fill < 0 ? 0 : 1;
    r.Color1 = fill < 0 ? kWhite : fill;
    return r;
  }

  ObjectRecord& Line(double x1, double y1, double x2, double y2, std::int32_t colour = kBlack) {
    ObjectRecord& r = Next(UserTypeLine);
    r.GeomType = GeomLine;
    r.X1 = float(m_orgX + x1);
    r.Y1 = float(m_orgY + y1);
    r.X2 = float(m_orgX + x2);
    r.Y2 = float(m_orgY + y2);
    r.CenterX = (r.X1 + r.X2) / 2.0f;
    r.CenterY = (r.Y1 + r.Y2) / 2.0f;
    r.Width = float(x2 - x1);
    r.Height = float(y2 - y1);
    r.LineColor = colour;
    return r;
  }

  // A barcode whose content is the value of a column.
  ObjectRecord& Barcode(double x, double y, double w, double h, const QString& column, std::int16_t format) {
    ObjectRecord& r = Box(UserTypeBarcode, x, y, w, h);
    r.Content = column;
    r.Variant = 1;  // content from a data field
    r.Aspect = format;
    r.ShowText = 1;
    r.Color1 = 0;
    r.Color2 = 0;
    r.Alignment = 0;
    return r;
  }

  const DocumentBlock& Block() const { return m_block; }

 private:
  ObjectRecord& Next(std::int16_t kind) {
    m_block.Count += 1;
    ObjectRecord& r = m_block.Objects[std::size_t(m_block.Count)];
    r = ObjectRecord{};
    r.Key = m_block.Count;
    r.UserType = kind;
    r.GeomType = GeomTypeOf(kind);
    r.Opacity = 100;
    r.LineStyle = 2;
    r.LineColor = kBlack;
    r.FillStyle = 1;
    r.Color1 = kWhite;
    r.Color2 = kGrey;
    r.Aspect = 4;
    return r;
  }

  ObjectRecord& Box(std::int16_t kind, double x, double y, double w, double h) {
    ObjectRecord& r = Next(kind);
    r.CenterX = float(m_orgX + x + w / 2.0);
    r.CenterY = float(m_orgY + y + h / 2.0);
    r.Width = float(w);
    r.Height = float(h);
    r.X1 = r.CenterX;
    r.Y1 = r.CenterY;
    r.X2 = r.Width;
    r.Y2 = r.Height;
    return r;
  }

  double m_orgX = 0, m_orgY = 0;
  DocumentBlock m_block;
};

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// An address: name and surname, street, postcode, town and province.
void AddressBlock(Design& d, double x, double y, double w, std::int16_t size) {
  const double line = size * 0.5;
  d.Field(x, y, w * 0.45, line, S("NOME"), size, true);
  d.Field(x + w * 0.45, y, w * 0.55, line, S("COGNOME"), size, true);
  d.Field(x, y + line * 1.2, w, line, S("INDIRIZZO"), size);
  d.Field(x, y + line * 2.4, w * 0.18, line, S("CAP"), size);
  d.Field(x + w * 0.18, y + line * 2.4, w * 0.66, line, S("CITTA"), size);
  d.Field(x + w * 0.86, y + line * 2.4, w * 0.14, line, S("PROV"), size, false, kRight);
}

DocumentBlock AddressLabel(double w, double h) {
  Design d(w, h);
  AddressBlock(d, 5, 6, w - 10, 12);
  return d.Block();
}

DocumentBlock ShippingLabel(double w, double h) {
  Design d(w, h);
  d.Shape(UserTypeRectangle, 0, 0, w, 9, kNavy, kNavy);
  ObjectRecord& heading = d.Text(4, 1.5, w - 8, 6, S("DESTINATARIO"), 12, true);
  heading.Color1 = kWhite;
  AddressBlock(d, 5, 12, w - 10, 12);
  d.Line(4, 35, w - 4, 35);
  d.Barcode((w - 60) / 2, 38, 60, h - 42, S("CODICE"), kCode128);
  return d.Block();
}

DocumentBlock NameBadge(double w, double h) {
  Design d(w, h);
  d.Shape(UserTypeRoundedRect, 2, 2, w - 4, h - 4, kNavy);
  d.Shape(UserTypeRectangle, 2, 2, w - 4, 14, kNavy, kNavy);
  ObjectRecord& hello = d.Text(4, 4, w - 8, 10, S("Ciao, mi chiamo"), 16, true, kCentre);
  hello.Color1 = kWhite;
  d.Field(4, 22, w - 8, 16, S("NOME"), 30, true, kCentre);
  d.Field(4, 40, w - 8, 10, S("COGNOME"), 18, false, kCentre);
  d.Field(4, 55, w - 8, 8, S("CITTA"), 11, false, kCentre).Italic = VbTrue;
  return d.Block();
}

DocumentBlock PriceLabel(double w, double h) {
  Design d(w, h);
  d.Shape(UserTypeRectangle, 1, 1, w - 2, h - 2, kBlack);
  d.Text(3, 2.5, w - 6, 5, S("PREZZO"), 9, true);
  d.Field(3, 8, w - 6, 11, S("SALDO"), 22, true, kRight, S(kCurrency));
  d.Line(3, 21, w - 3, 21);
  d.Field(3, 22.5, w - 6, 4.5, S("CODICE"), 7, false, kCentre);
  return d.Block();
}

DocumentBlock RoundLabel(double w, double h) {
  Design d(w, h);
  d.Shape(UserTypeEllipse, 1, 1, w - 2, h - 2, kNavy);
  d.Shape(UserTypeEllipse, 4, 4, w - 8, h - 8, kNavy);
  d.Field(8, h / 2 - 11, w - 16, 10, S("NOME"), 18, true, kCentre);
  d.Field(8, h / 2 + 0.5, w - 16, 7, S("COGNOME"), 13, false, kCentre);
  d.Field(8, h / 2 + 9, w - 16, 5, S("CITTA"), 9, false, kCentre);
  return d.Block();
}

DocumentBlock DateAndCounter(double w, double h) {
  Design d(w, h);
  d.Text(4, 3, 8, 6, S("N."), 12, true);
  d.Field(12, 3, 26, 6, S(kPredefinedCounter), 12, true, kLeft, S("000000"));
  d.Field(w - 32, 3.5, 28, 6, S(kPredefinedDate), 10, false, kRight, S(kDate));
  d.Line(4, 11, w - 4, 11);
  d.Field(4, 14, (w - 8) / 2, 7, S("NOME"), 12);
  d.Field(4 + (w - 8) / 2, 14, (w - 8) / 2, 7, S("COGNOME"), 12);
  d.Field(4, 23, w - 8, 6, S("CITTA"), 10);
  return d.Block();
}

DocumentBlock CustomerCard(double w, double h) {
  Design d(w, h);
  d.Field(5, 4, 45, 8, S("NOME"), 14, true);
  d.Field(50, 4, w - 55, 8, S("COGNOME"), 14, true);
  d.Line(5, 14, w - 5, 14, kNavy);
  d.Text(5, 17, 30, 6, S("Nato il"), 10);
  d.Field(35, 17, 40, 6, S("NASCITA"), 10, true, kLeft, S(kDate));
  d.Text(5, 25, 30, 6, S("Saldo"), 10);
  d.Field(35, 25, 40, 6, S("SALDO"), 10, true, kLeft, S(kCurrency));
  d.Text(5, 33, 30, 6, S("Codice"), 10);
  d.Barcode(35, 33, 50, h - 37, S("CODICE"), kCode128);
  return d.Block();
}

struct Entry {
  DeliveredTemplate t;
  DocumentBlock (*objects)(double w, double h);
};

// Sizes and codes are those of the delivered print formats (core/seed.cpp).
const std::vector<Entry>& Entries() {
  static const std::vector<Entry> entries = {
      {{1, 99.1, 38.1, S("Indirizzo: nome, via, CAP e città"), S("LM4-A4-14")}, &AddressLabel},
      {{2, 99.1, 67.7, S("Spedizione con codice a barre"), S("LM4-A4-08")}, &ShippingLabel},
      {{3, 105, 74, S("Badge con nome e cognome"), S("LM4-A4-08B")}, &NameBadge},
      {{4, 52.5, 29.7, S("Prezzo con codice articolo"), S("LM4-A4-40")}, &PriceLabel},
      {{5, 60, 60, S("Etichetta rotonda con nome"), S("LM4-A4-R12")}, &RoundLabel},
      {{6, 70, 37, S("Numerazione e data di stampa"), S("LM4-A4-24B")}, &DateAndCounter},
      {{7, 105, 57, S("Scheda cliente: nascita e saldo"), S("LM4-A4-10")}, &CustomerCard},
  };
  return entries;
}

}  // namespace

const std::vector<DeliveredTemplate>& DeliveredTemplates() {
  static const std::vector<DeliveredTemplate> list = [] {
    std::vector<DeliveredTemplate> out;
    for (const Entry& e : Entries()) out.push_back(e.t);
    return out;
  }();
  return list;
}

LabFileContent DeliveredTemplateContent(const DeliveredTemplate& t) {
  LabFileContent c;
  c.Header.LabelFormatCode = t.FormatCode;
  c.Header.LabelWidth = t.Width;
  c.Header.LabelHeight = t.Height;
  c.BackgroundName = FixedName(QString());
  c.BorderName = FixedName(QString());
  for (const Entry& e : Entries()) {
    if (e.t.ID_TEMPLATE == t.ID_TEMPLATE) c.Block = e.objects(t.Width, t.Height);
  }
  return c;
}

QString TemplateFileName(int idTemplate) { return QString::number(idTemplate) + QStringLiteral(".LAB"); }

bool WriteDeliveredTemplates(const QString& folder, QString* error) {
  if (!QDir().mkpath(folder)) {
    if (error) *error = QStringLiteral("cannot make %1").arg(folder);
    return false;
  }
  for (const DeliveredTemplate& t : DeliveredTemplates()) {
    QSaveFile file(QDir(folder).filePath(TemplateFileName(t.ID_TEMPLATE)));
    if (!file.open(QIODevice::WriteOnly) || !WriteLabFile(file, DeliveredTemplateContent(t)) || !file.commit()) {
      if (error) *error = QStringLiteral("cannot write %1").arg(file.fileName());
      return false;
    }
  }
  return true;
}

}  // namespace pv
