// Excel workbooks (.xls) through the program's reader; the seed is the
// readers' test workbook.
#include "bench/fuzz/readerinput.h"

#include <QFile>

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
  QFile in(QStringLiteral(PLAVIK_FUZZ_WORKBOOK));
  if (!in.open(QIODevice::ReadOnly)) return;
  const QByteArray seed = in.readAll();
  add(reinterpret_cast<const uint8_t*>(seed.constData()), static_cast<size_t>(seed.size()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadAsSource(pv::SourceKind::Excel, "cartella.xls", data, size);
  return 0;
}
