// The readers' seeds: small files of each kind, every kind of field the
// reader knows among them, written with the libraries the readers read with
// (shapelib, pxlib), the tests' writer of Access files and the readers' test
// workbook.
#include "bench/fuzz/readerinput.h"
#include "tests/support/jetwriter.h"

#include <shapefil.h>

extern "C" {
#include <paradox.h>
}

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>

namespace pv::fuzz {
namespace {

void WriteDBaseTable(const QByteArray& path) {
  DBFHandle dbf = DBFCreate(path.constData());
  if (!dbf) return;
  DBFAddField(dbf, "NOME", FTString, 20, 0);
  DBFAddField(dbf, "CODICE", FTInteger, 18, 0);
  DBFAddField(dbf, "PREZZO", FTDouble, 12, 3);
  DBFAddNativeFieldType(dbf, "NATO", 'D', 8, 0);
  DBFAddNativeFieldType(dbf, "ATTIVO", 'L', 1, 0);
  const char* names[] = {"Nicolò", "D'Amico", ""};
  for (int r = 0; r < 3; ++r) {
    DBFWriteStringAttribute(dbf, r, 0, names[r]);
    DBFWriteStringAttribute(dbf, r, 1, r == 2 ? "376123450000000017" : "42");
    if (r != 1)
      DBFWriteDoubleAttribute(dbf, r, 2, 1234.5 * r);
    else
      DBFWriteNULLAttribute(dbf, r, 2);
    DBFWriteStringAttribute(dbf, r, 3, "20231231");
    DBFWriteLogicalAttribute(dbf, r, 4, r ? 'T' : 'F');
  }
  DBFClose(dbf);
}

struct Field {
  const char* name;
  char type;
  int width;
};

const Field kFields[] = {{"NOME", pxfAlpha, 20},      {"CODICE", pxfLong, 4},    {"QUANTI", pxfShort, 2},
                         {"PREZZO", pxfNumber, 8},    {"SALDO", pxfCurrency, 8}, {"NATO", pxfDate, 4},
                         {"QUANDO", pxfTimestamp, 8}, {"ORA", pxfTime, 4},       {"ATTIVO", pxfLogical, 1},
                         {"NUMERO", pxfAutoInc, 4}};
constexpr int kCount = sizeof kFields / sizeof kFields[0];

void WriteParadoxTable(const QByteArray& path) {
  pxdoc_t* doc = PX_new();
  auto* fields = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * kCount, "fields"));
  for (int i = 0; i < kCount; ++i) {
    fields[i].px_fname = PX_strdup(doc, kFields[i].name);
    fields[i].px_ftype = kFields[i].type;
    fields[i].px_flen = kFields[i].width;
    fields[i].px_fdc = 0;
  }
  if (PX_create_file(doc, fields, kCount, path.constData(), pxfFileTypNonIndexDB) < 0) {
    PX_delete(doc);
    return;
  }
  QByteArray record(PX_get_recordsize(doc), '\0');
  for (int r = 0; r < 3; ++r) {
    record.fill('\0');
    char* at = record.data();
    std::memcpy(at, r == 1 ? "D'Amico" : "Rossi", r == 1 ? 7 : 5);
    at += 20;
    PX_put_data_long(doc, at, 4, 1000 + r);
    at += 4;
    PX_put_data_short(doc, at, 2, static_cast<short>(r));
    at += 2;
    PX_put_data_double(doc, at, 8, 12.5 * r);
    at += 8;
    PX_put_data_double(doc, at, 8, 1234.56);
    at += 8;
    PX_put_data_long(doc, at, 4, 730000 + r);
    at += 4;
    PX_put_data_double(doc, at, 8, 63000000000000.0 + r);
    at += 8;
    PX_put_data_long(doc, at, 4, 3600000 * r);
    at += 4;
    PX_put_data_byte(doc, at, 1, static_cast<char>(r & 1));
    at += 1;
    PX_put_data_long(doc, at, 4, r + 1);
    PX_put_record(doc, record.data());
  }
  PX_close(doc);
  PX_delete(doc);
}

// A file written by a seed maker, as bytes ("" when it could not be written).
QByteArray SeedFile(const char* fileName, void (*write)(const QByteArray& path)) {
  QTemporaryDir folder;
  const QString path = folder.filePath(QString::fromLatin1(fileName));
  write(QFile::encodeName(path));
  QFile in(path);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void Add(void (*add)(const uint8_t*, size_t), const QByteArray& seed) {
  add(reinterpret_cast<const uint8_t*>(seed.constData()), static_cast<size_t>(seed.size()));
}

void AccessSeeds(void (*add)(const uint8_t*, size_t)) {
  using namespace pv::testing;
  JetTable people{QStringLiteral("Anagrafe"),
                  {{QStringLiteral("NOME"), JetType::Text},
                   {QStringLiteral("ETA"), JetType::Short},
                   {QStringLiteral("CODICE"), JetType::Long},
                   {QStringLiteral("SALDO"), JetType::Double},
                   {QStringLiteral("NATO"), JetType::DateTime},
                   {QStringLiteral("ATTIVO"), JetType::Boolean}},
                  {{QStringLiteral("Nicolò"), 41, 123456, 1234.5, QDate(1983, 3, 7), true},
                   {QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), false}}};
  JetTable codes{QStringLiteral("Codici"), {{QStringLiteral("C"), JetType::Text}}, {{QStringLiteral("x")}}};
  for (const QByteArray& seed : {JetDatabase({people}), JetDatabase({people, codes}, {QStringLiteral("Q")})})
    Add(add, seed);
}

}  // namespace

void AddSeeds(SourceKind kind, void (*add)(const uint8_t* data, size_t size)) {
  switch (kind) {
    case SourceKind::Access: AccessSeeds(add); return;
    case SourceKind::DBase: Add(add, SeedFile("tabella.dbf", WriteDBaseTable)); return;
    case SourceKind::Paradox: Add(add, SeedFile("tabella.db", WriteParadoxTable)); return;
    case SourceKind::Excel: {
      QFile in(QStringLiteral(PLAVIK_FUZZ_WORKBOOK));
      if (in.open(QIODevice::ReadOnly)) Add(add, in.readAll());
      return;
    }
    case SourceKind::Odbc: return;
  }
}

}  // namespace pv::fuzz
