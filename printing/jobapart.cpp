// A long print job drawn by page workers side by side: the program writes
// what they need once, each draws its share of the pages into a file of its
// own, and the files are joined into the job's PDF in page order.
#include "datasources/recordsnapshot.h"
#include "datasources/sourcerecordset.h"
#include "document/labelfile.h"
#include "document/model.h"
#include "printing/engine.h"
#include "printing/pagejob.h"
#include "printing/pageworkers.h"
#include "printing/panelhost.h"
#include "printing/pdfjoin.h"
#include "render/hosts.h"

#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <exception>

namespace pv {
namespace {

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

std::optional<bool> PrintEngine::PrintApart(const PdfPageSetup& setup, const QString& file, int workers,
                                            QString* reason) {
  const QString program = PageWorkerProgram();
  QTemporaryDir dir;
  if (program.isEmpty() || !dir.isValid()) return std::nullopt;

  // What every worker reads: the document as it stands (committed by the
  // job), the settings, the run and, when merging, the rows it shows.
  PageJob job;
  job.ProgramValues = ProgramSettings();
  RenderSettingsHost& rendering = RenderSettings();
  job.Rendering = PageJobRendering{rendering.PrintLow(), rendering.PrintCircle(), rendering.PrinterDpiY()};
  job.Run = m_run;
  job.PageOrgX = PageOrgX;
  job.PageOrgY = PageOrgY;
  job.Page = setup;
  job.LabFile = dir.filePath(QStringLiteral("label.lab"));
  LabFileContent content;
  if (!CurrentLabContent(content)) return std::nullopt;
  {
    QSaveFile lab(job.LabFile);
    if (!lab.open(QIODevice::WriteOnly) || !WriteLabFile(lab, content) || !lab.commit()) return std::nullopt;
  }
  if (Merging()) {
    job.RecordsFile = dir.filePath(QStringLiteral("records"));
    try {
      if (!WriteBytes(job.RecordsFile, WriteRecordSnapshot(*m_mergeSource))) return std::nullopt;
    } catch (const std::exception&) {
      return std::nullopt;
    }
  }
  const QString jobFile = dir.filePath(QStringLiteral("job"));
  if (!WritePageJob(jobFile, job)) return std::nullopt;

  PrintPanelControls& controls = PrintControls();
  const double maximum = double(m_run.m_PageCount) + 2;
  const std::vector<PagePart> parts = SplitPages(m_run.m_PageCount, workers, dir.path());
  const WorkersOutcome outcome = RunPageWorkers(
      program, jobFile, parts, [&](int drawn) { controls.SetProgress(0, maximum, double(drawn) + 1); }, reason);
  if (outcome == WorkersOutcome::NotStarted) return std::nullopt;
  if (outcome == WorkersOutcome::Failed) return false;
  controls.SetPageCaption(PageCaption(m_run.m_PageCount, m_run.m_PageCount));

  QStringList files;
  for (const PagePart& part : parts) files << part.File;
  return JoinPdfFiles(files, file, reason);
}

}  // namespace pv
