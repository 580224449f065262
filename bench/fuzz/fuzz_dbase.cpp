// dBASE files through the program's reader.
#include "bench/fuzz/readerinput.h"

#include <shapefil.h>

namespace {

void WriteTable(const QByteArray& path) {
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

}  // namespace

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  const QByteArray seed = pv::fuzz::SeedFile("tabella.dbf", WriteTable);
  add(reinterpret_cast<const uint8_t*>(seed.constData()), static_cast<size_t>(seed.size()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadAsSource(pv::SourceKind::DBase, "tabella.dbf", data, size);
  return 0;
}
