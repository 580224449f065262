// Paradox tables through the program's reader; the seed is written with
// pxlib, one field of each kind the reader knows.
#include "bench/fuzz/readerinput.h"

extern "C" {
#include <paradox.h>
}

#include <cstring>

namespace {

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

void WriteTable(const QByteArray& path) {
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

}  // namespace

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  const QByteArray seed = pv::fuzz::SeedFile("tabella.db", WriteTable);
  add(reinterpret_cast<const uint8_t*>(seed.constData()), static_cast<size_t>(seed.size()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadAsSource(pv::SourceKind::Paradox, "tabella.db", data, size);
  return 0;
}
