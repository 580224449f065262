// The program's memory as it reads a big table again and again: a
// 1,000,000-record dBASE table of 73 bytes a record (four fields) opened
// through the data engine as the data-source manager's View opens it, READS
// times (the first argument, 1 when none). Before each read the file's time
// changes, so each read is a read of the source, as after the file changed,
// not the table the program keeps. It prints the resident memory after each
// read and what a record costs; the whole process's peak is the caller's to
// measure.

#include "datasources/connectionstring.h"
#include "datasources/sourcerecordset.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr int kRecords = 1000000;

// The resident memory of this process in bytes (VmRSS).
qint64 Resident() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoll(line.substr(6)) * 1024;
  }
  return 0;
}

// clienti.dbf: NOME C(20), COGNOME C(25), CITTA C(15), SALDO N(12,2) and
// the deletion flag, 73 bytes a record; written as dBASE III lays it out,
// at once (record by record through shapelib a million records take
// minutes).
bool WriteTable(const QString& folder) {
  struct Field {
    const char* name;
    char type;
    int length, decimals;
  };
  const Field fields[] = {{"NOME", 'C', 20, 0}, {"COGNOME", 'C', 25, 0}, {"CITTA", 'C', 15, 0}, {"SALDO", 'N', 12, 2}};
  constexpr int kRecordLength = 73;
  QByteArray header(32, '\0');
  header[0] = 0x03;
  header[1] = 126;  // 2026
  header[2] = 1;
  header[3] = 1;
  const auto put32 = [](QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
  };
  const auto put16 = [](QByteArray& b, int at, quint16 v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>(v >> 8);
  };
  put32(header, 4, kRecords);
  put16(header, 8, static_cast<quint16>(32 + 32 * 4 + 1));
  put16(header, 10, kRecordLength);
  header[29] = 0x57;  // Windows-1252
  for (const Field& f : fields) {
    QByteArray d(32, '\0');
    d.replace(0, static_cast<int>(qstrlen(f.name)), f.name);
    d[11] = f.type;
    d[16] = static_cast<char>(f.length);
    d[17] = static_cast<char>(f.decimals);
    header += d;
  }
  header += '\r';
  const char* const cities[] = {"Milano", "Roma", "Mantova", "Bari", "Modena", "Torino", "Forl\xEC"};
  std::string records;
  records.reserve(std::size_t{kRecords} * kRecordLength + 1);
  const auto field = [&](const std::string& text, std::size_t length, bool right) {
    if (right) records.append(length - text.size(), ' ');
    records.append(text);
    if (!right) records.append(length - text.size(), ' ');
  };
  char saldo[32];
  for (int r = 0; r < kRecords; ++r) {
    records += ' ';
    field("Nome" + std::to_string(r % 997), 20, false);
    field("Cognome" + std::to_string((qint64{r} * 7919) % 50003), 25, false);
    field(cities[r % 7], 15, false);
    std::snprintf(saldo, sizeof saldo, "%.2f", (r % 2001 - 1000) * 1.25);
    field(saldo, 12, true);
  }
  records += '\x1a';
  QFile file(folder + QStringLiteral("/clienti.dbf"));
  return file.open(QIODevice::WriteOnly) && file.write(header) == header.size() &&
         file.write(records.data(), static_cast<qint64>(records.size())) == static_cast<qint64>(records.size());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  QTemporaryDir dir;
  if (!dir.isValid() || !WriteTable(dir.path())) {
    std::fprintf(stderr, "cannot write the table\n");
    return 1;
  }
  const QString connection = pv::BuildConnectionString(pv::kSourceDBaseIII, dir.path(), false, {}, {});
  QFile file(dir.filePath(QStringLiteral("clienti.dbf")));
  const qint64 before = Resident();
  std::printf("before: %.1f MB\n", before / 1e6);
  pv::SourceRecordset rs;
  for (int read = 1; read <= reads; ++read) {
    if (!file.open(QIODevice::ReadWrite) ||
        !file.setFileTime(QDateTime::currentDateTime().addSecs(read), QFileDevice::FileModificationTime)) {
      std::fprintf(stderr, "cannot touch the table\n");
      return 1;
    }
    file.close();
    rs.Open(connection, QStringLiteral("clienti"));
    const qint64 now = Resident();
    std::printf("read %d: %d records, %.1f MB, %.0f bytes a record\n", read, rs.RecordCount(), now / 1e6,
                double(now - before) / rs.RecordCount());
  }
  return 0;
}
