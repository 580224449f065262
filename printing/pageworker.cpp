#include "printing/pageworker.h"

#include "core/settings.h"
#include "datasources/recordsnapshot.h"
#include "datasources/sourcerecordset.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "printing/engine.h"
#include "printing/joboutput.h"
#include "printing/pagejob.h"
#include "render/hosts.h"

#include <QFile>

#include <memory>

namespace pv {
namespace {

// The label drawing's settings as the program's drawing had them.
class JobRenderSettings : public RenderSettingsHost {
 public:
  explicit JobRenderSettings(const PageJobRendering& r) : r_(r) {}
  bool PrintLow() override { return r_.PrintLow; }
  bool PrintCircle() override { return r_.PrintCircle; }
  std::int32_t PrinterDpiY() override { return r_.PrinterDpiY; }

 private:
  PageJobRendering r_;
};

}  // namespace

bool DrawJobPart(const QString& jobFile, std::int32_t first, std::int32_t last, const QString& file,
                 const std::function<void()>& pageDrawn, QString* reason) {
  PageJob job;
  if (!ReadPageJob(jobFile, &job, reason)) return false;
  if (first < 1 || last < first || last > job.Run.m_PageCount) {
    *reason = QStringLiteral("Le pagine da %1 a %2 non sono nel lavoro di stampa.").arg(first).arg(last);
    return false;
  }
  ProgramSettings() = job.ProgramValues;
  JobRenderSettings rendering(job.Rendering);
  const ScopedHost<RenderSettingsHost> renderingInstalled(rendering);
  // The document comes as the program committed it for the job.
  if (!ReadLabFileIntoDocument(job.LabFile, reason)) return false;
  PageOrgX = job.PageOrgX;
  PageOrgY = job.PageOrgY;

  PrintEngine& engine = PrintRun();
  engine.SetRun(job.Run);
  if (!job.RecordsFile.isEmpty()) {
    QFile records(job.RecordsFile);
    if (!records.open(QIODevice::ReadOnly)) {
      *reason = QStringLiteral("Impossibile leggere il file \"%1\".").arg(job.RecordsFile);
      return false;
    }
    auto recordset = std::make_unique<SourceRecordset>();
    try {
      OpenRecordSnapshot(*recordset, records.readAll());
    } catch (const DbError& e) {
      *reason = e.Description();
      return false;
    }
    engine.MergeRecords(std::move(recordset));
  }

  const std::unique_ptr<JobOutput> out = MakePartOutput(job.Page, file);
  PageSteps steps;
  steps.Drawn = [&](std::int32_t) {
    if (pageDrawn) pageDrawn();
  };
  if (engine.PrintPages(*out, first, last, steps)) return true;
  *reason = out->FailureReason();
  return false;
}

}  // namespace pv
