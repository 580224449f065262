// merge_job_files HOME RECORDS: the files of a whole-command merge job, for
// timing the job from outside, start-up included. Into the program folder
// HOME (as PLAVIK_HOME names it) it writes the program database with a
// format of 8 labels (2 x 4 of 99 x 67 mm on A4, "B-8"), a dBASE table of
// RECORDS customers registered in it, and bench.lab: a heading, the
// customer's name and city merged and a Code 128 barcode of the customer
// code. It prints the registration's ID. Then
//
//   PLAVIK_HOME=HOME lab-print HOME/bench.lab OUT.pdf --merge ID
//
// is the merge job of RECORDS labels, and
//
//   PLAVIK_HOME=HOME lab-print HOME/bench.lab OUT.pdf 1 1 1 1
//
// one label (the first position of one page).
#include "core/database.h"
#include "datasources/connectionstring.h"
#include "datasources/registrations.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "platform/msgbox.h"
#include "bench/printing/mergejob.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>
#include <cstdlib>

namespace {

struct PrintedBoxes : pv::MessageBoxHost {
  bool failed = false;
  pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
    std::fprintf(stderr, "merge_job_files: %s\n", qPrintable(r.text));
    failed = true;
    return pv::MsgAnswer::Ok;
  }
};

// lab-print lays the label out in the middle of the editor's 300 x 300 mm
// work area, so the objects are placed there.
constexpr float kLeft = 150.0f - 99.0f / 2, kTop = 150.0f - 67.0f / 2;

bool WriteLabel(const QString& file) {
  pv::ResetDocumentState();
  mergejob::AddLabel(kLeft, kTop);
  pv::LabFileContent content;
  if (!pv::CurrentLabContent(content)) return false;
  QFile out(file);
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && pv::WriteLabFile(out, content);
}

}  // namespace

int main(int argc, char** argv) {
  const int records = argc == 3 ? std::atoi(argv[2]) : 0;
  if (records <= 0) {
    std::fprintf(stderr, "usage: merge_job_files HOME RECORDS\n");
    return 2;
  }
  const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  QDir().mkpath(home);
  qputenv("PLAVIK_HOME", QFile::encodeName(home));
  QCoreApplication app(argc, argv);
  PrintedBoxes boxes;
  pv::SetMessageBoxHost(&boxes);

  pv::OpenDatabase();
  if (boxes.failed || !pv::cnDatabase.IsOpen()) return 1;
  QSqlQuery q(QSqlDatabase::database(pv::cnDatabase.ConnectionName));
  if (!q.exec(QStringLiteral("DELETE FROM rst_format WHERE Code = 'B-8'")) ||
      !q.exec(
          QStringLiteral("INSERT INTO rst_format (Code, Width, Height, nOri, nVer, TopMargin, bottommarg, LeftMargin,"
                         " rightmargin, vertipitch, horizpitch, sheetwidth, sheetdepth)"
                         " VALUES ('B-8', 99, 67, 2, 4, 14, 0, 6, 0, 0, 0, 210, 297)"))) {
    std::fprintf(stderr, "merge_job_files: the format cannot be written\n");
    return 1;
  }
  const QString folder = home + QStringLiteral("/dati%1").arg(records);
  if (!mergejob::WriteCustomers(folder, records)) {
    std::fprintf(stderr, "merge_job_files: %s/clienti.dbf cannot be written\n", qPrintable(folder));
    return 1;
  }
  pv::Registration reg;
  reg.label = QStringLiteral("Clienti %1").arg(records);
  reg.connectionString = pv::BuildConnectionString(pv::kSourceDBaseIII, folder, false, {}, {});
  reg.recordSetName = QStringLiteral("clienti");
  const qint64 id = pv::RegistrationStore(pv::rsRegistrations).Add(reg);
  pv::CloseDatabase();
  if (boxes.failed || id <= 0) return 1;
  if (!WriteLabel(home + QStringLiteral("/bench.lab"))) {
    std::fprintf(stderr, "merge_job_files: bench.lab cannot be written\n");
    return 1;
  }
  std::printf("%lld\n", static_cast<long long>(id));
  return 0;
}
