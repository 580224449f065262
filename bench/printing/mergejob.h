#pragma once
// The merge job the printing benches measure, in one place: a dBASE table of
// customers and the label that merges it (a heading, the customer's name and
// city, and a Code 128 barcode of the customer code), 99 x 67 mm, 8 to an A4
// sheet ("B-8").
#include "document/model.h"
#include "render/barcode.h"
#include "tests/support/records.h"

#include <shapefil.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstdint>

namespace mergejob {

// clienti.dbf in folder: NOME, CITTA and a 13-digit CODICE for each record.
inline bool WriteCustomers(const QString& folder, int records) {
  QDir().mkpath(folder);
  DBFHandle h = DBFCreateEx(QFile::encodeName(folder + QStringLiteral("/clienti.dbf")).constData(), "LDID/87");
  if (h == nullptr) return false;
  DBFAddField(h, "NOME", FTString, 30, 0);
  DBFAddField(h, "CITTA", FTString, 20, 0);
  DBFAddField(h, "CODICE", FTString, 13, 0);
  const char* const cities[] = {"Milano", "Roma", "Mantova", "Bari", "Modena", "Torino"};
  bool ok = true;
  for (int r = 0; r < records && ok; ++r) {
    ok = DBFWriteStringAttribute(h, r, 0, ("Cliente " + QByteArray::number(r)).constData()) &&
         DBFWriteStringAttribute(h, r, 1, cities[r % 6]) &&
         DBFWriteStringAttribute(h, r, 2, QByteArray::number(8000000000000LL + r).constData());
  }
  DBFClose(h);
  return ok;
}

// A text of the label, its centre at (left + cx, top + cy) millimetres.
inline pv::ObjectRecord& AddText(float left, float top, float cx, float cy, const QString& content, std::int16_t kind,
                                 const QString& format = {}) {
  pv::ObjectRecord r = pv::test::BoxRecord(kind, left + cx, top + cy, 80, 8);
  r.Content = content;
  r.FormatText = format;
  r.FontName = QStringLiteral("DejaVu Sans");
  r.FontSize = 10;
  r.Alignment = 20;
  r.Opacity = 100;
  r.Color1 = 0;
  return pv::test::AppendRecord(r);
}

// The label's header and objects, into the emptied document, placed with
// their origin at (left, top): the engine draws a label at 0, 0, lab-print
// from the middle of the editor's work area.
inline void AddLabel(float left, float top) {
  pv::Header.LabelFormatCode = QStringLiteral("B-8");
  pv::Header.LabelWidth = 99;
  pv::Header.LabelHeight = 67;
  AddText(left, top, 50, 8, QStringLiteral("Spett.le"), pv::UserTypeTextBox);
  AddText(left, top, 50, 18, QStringLiteral("NOME"), pv::UserTypeDatabaseField);
  AddText(left, top, 50, 28, QStringLiteral("CITTA"), pv::UserTypeDatabaseField, QStringLiteral(">"));
  pv::ObjectRecord code = pv::test::BoxRecord(pv::UserTypeBarcode, left + 50, top + 50, 70, 18);
  code.Content = QStringLiteral("CODICE");
  code.Variant = 1;  // from a field
  code.Aspect = pv::BarcodeCode128Index;
  code.ShowText = 1;
  pv::test::AppendRecord(code);
}

}  // namespace mergejob
