// Access files through the program's reader; the seeds come from the tests'
// writer of Access files.
#include "bench/fuzz/readerinput.h"
#include "tests/support/jetwriter.h"

#include <QDate>

extern "C" void PlavikFuzzSeeds(void (*add)(const uint8_t*, size_t)) {
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
    add(reinterpret_cast<const uint8_t*>(seed.constData()), static_cast<size_t>(seed.size()));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pv::fuzz::ReadAsSource(pv::SourceKind::Access, "archivio.mdb", data, size);
  return 0;
}
