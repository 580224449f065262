// The page workers' job file, the split of a run into shares, and the run of
// workers: what they report, how a failure ends the others.
#include "printing/pagejob.h"
#include "printing/pageworkers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

pv::PageJob FullJob() {
  pv::PageJob job;
  pv::Settings& s = job.ProgramValues;
  s.CalibrationX = -7;
  s.CalibrationY = 12;
  s.PrintArchive = pv::VbTrue;
  s.PrintBorder = pv::VbTrue;
  s.PrintLow = pv::VbTrue;
  s.PrintStopPage = pv::VbFalse;
  s.PrintFieldCode = 1;
  s.PrintFieldCodeIfNull = 1;
  s.PrintCircle = 1;
  s.SettingSmallTemplate = 1;
  s.SettingAntialiasing = 1;
  s.SettingGridX = 2.5f;
  s.SettingGridY = 0.1f;
  s.SettingShowGrid = 1;
  s.SettingShowRule = 1;
  s.SettingAutoInsert = 1;
  s.SettingBozza = 1;
  s.SettingSnap = 1;
  s.SettingShowHelp = 1;
  s.DefaultPath = QStringLiteral("/srv/clip àrt");
  s.Printer = pv::PrinterCaps{600, 300, 25, -3, 203, 290};
  job.Rendering = pv::PageJobRendering{true, true, 300};
  pv::PrintRunValues& r = job.Run;
  r.m_Format.Code = QStringLiteral("L7160").leftJustified(50);
  r.m_Format.Sheet = pv::SheetFormat{63.5, 38.1, 3, 7, 15.15, 7.25, 0, 2.5, 210, 297};
  r.m_Format.bottommarg = 15.1;
  r.m_Format.rightmargin = 7.2;
  r.m_PageCount = 1250;
  r.m_FirstLabel = 3;
  r.m_LastLabel = 19;
  r.m_RangePages = 2;
  r.m_CountMode = 1;
  r.m_RegistrationId = 4;
  r.m_Sort = QStringLiteral("[Cognome] ASC");
  r.m_Filter = QStringLiteral("[Città] = 'Forlì'");
  job.PageOrgX = 132.25f;
  job.PageOrgY = 0.1f;
  job.Page.Layout =
      QPageLayout(QPageSize(QSizeF(62, 100), QPageSize::Millimeter, QStringLiteral("62 x 100"), QPageSize::ExactMatch),
                  QPageLayout::Landscape, QMarginsF(1.5, 2, 0, 0), QPageLayout::Millimeter);
  job.Page.FullPage = false;
  job.Page.Resolution = 600;
  job.Page.DpiX = 600;
  job.Page.DpiY = 300;
  job.Page.OffsetX = 25;
  job.Page.OffsetY = -3;
  job.LabFile = QStringLiteral("/tmp/x/label.lab");
  job.RecordsFile = QStringLiteral("/tmp/x/records");
  return job;
}

TEST(PageJobFile, EveryValueComesBackAsItWasWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("job"));
  for (const bool standardPage : {false, true}) {
    SCOPED_TRACE(standardPage ? "A4" : "custom page");
    pv::PageJob job = FullJob();
    if (standardPage) {
      job.Page.Layout =
          QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
      job.Page.FullPage = true;
      job.Page.Layout.setMode(QPageLayout::FullPageMode);
      job.RecordsFile.clear();
    }
    ASSERT_TRUE(pv::WritePageJob(path, job));
    pv::PageJob read;
    QString reason;
    ASSERT_TRUE(pv::ReadPageJob(path, &read, &reason)) << reason.toStdString();
    EXPECT_TRUE(read.ProgramValues == job.ProgramValues);
    EXPECT_EQ(read.Rendering.PrintLow, job.Rendering.PrintLow);
    EXPECT_EQ(read.Rendering.PrintCircle, job.Rendering.PrintCircle);
    EXPECT_EQ(read.Rendering.PrinterDpiY, job.Rendering.PrinterDpiY);
    const pv::PrintRunValues &a = read.Run, &b = job.Run;
    EXPECT_EQ(a.m_Format.Code, b.m_Format.Code);
    const pv::SheetFormat &fa = a.m_Format.Sheet, &fb = b.m_Format.Sheet;
    EXPECT_EQ(std::vector<double>({fa.Width, fa.Height, fa.nOri, fa.nVer, fa.TopMargin, fa.LeftMargin, fa.vertipitch,
                                   fa.horizpitch, fa.sheetwidth, fa.sheetdepth, a.m_Format.bottommarg,
                                   a.m_Format.rightmargin}),
              std::vector<double>({fb.Width, fb.Height, fb.nOri, fb.nVer, fb.TopMargin, fb.LeftMargin, fb.vertipitch,
                                   fb.horizpitch, fb.sheetwidth, fb.sheetdepth, b.m_Format.bottommarg,
                                   b.m_Format.rightmargin}));
    EXPECT_EQ(std::vector<int>(
                  {a.m_PageCount, a.m_FirstLabel, a.m_LastLabel, a.m_RangePages, a.m_CountMode, a.m_RegistrationId}),
              std::vector<int>(
                  {b.m_PageCount, b.m_FirstLabel, b.m_LastLabel, b.m_RangePages, b.m_CountMode, b.m_RegistrationId}));
    EXPECT_EQ(a.m_Sort, b.m_Sort);
    EXPECT_EQ(a.m_Filter, b.m_Filter);
    EXPECT_EQ(read.PageOrgX, job.PageOrgX);
    EXPECT_EQ(read.PageOrgY, job.PageOrgY);
    EXPECT_TRUE(read.Page.Layout.isEquivalentTo(job.Page.Layout));
    EXPECT_EQ(read.Page.Layout.mode(), job.Page.Layout.mode());
    EXPECT_EQ(read.Page.Layout.pageSize().id(), job.Page.Layout.pageSize().id());
    EXPECT_EQ(read.Page.Layout.fullRectPoints(), job.Page.Layout.fullRectPoints());
    EXPECT_EQ(std::vector<int>({read.Page.FullPage, read.Page.Resolution, read.Page.DpiX, read.Page.DpiY,
                                read.Page.OffsetX, read.Page.OffsetY}),
              std::vector<int>({job.Page.FullPage, job.Page.Resolution, job.Page.DpiX, job.Page.DpiY, job.Page.OffsetX,
                                job.Page.OffsetY}));
    EXPECT_EQ(read.LabFile, job.LabFile);
    EXPECT_EQ(read.RecordsFile, job.RecordsFile);
  }
}

TEST(PageJobFile, AFileThatIsNotAWholeJobIsRefused) {
  QTemporaryDir dir;
  const QString good = dir.filePath(QStringLiteral("good"));
  ASSERT_TRUE(pv::WritePageJob(good, FullJob()));
  QFile f(good);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  QByteArray otherMagic = bytes;
  otherMagic[0] = char(otherMagic[0] ^ 0x20);
  QByteArray otherVersion = bytes;
  otherVersion[7] = char(otherVersion[7] + 1);
  const struct {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"the first word only", bytes.left(4)},
      {"cut in the settings", bytes.left(20)},
      {"cut in the last text", bytes.left(bytes.size() - 3)},
      {"a byte more", bytes + "x"},
      {"another file", otherMagic},
      {"another version", otherVersion},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = dir.filePath(QStringLiteral("bad"));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(c.bytes);
    out.close();
    pv::PageJob read;
    read.LabFile = QStringLiteral("kept");
    QString reason;
    EXPECT_FALSE(pv::ReadPageJob(path, &read, &reason));
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(read.LabFile, QStringLiteral("kept"));
  }
  pv::PageJob read;
  QString reason;
  EXPECT_FALSE(pv::ReadPageJob(dir.filePath(QStringLiteral("missing")), &read, &reason));
  EXPECT_TRUE(reason.contains(QStringLiteral("missing")));
}

TEST(PageWorkerShares, PagesAreSplitInOrderAsEvenAsCanBe) {
  const struct {
    std::int32_t pages;
    int workers;
    std::vector<std::pair<int, int>> parts;
  } cases[] = {
      {48, 2, {{1, 24}, {25, 48}}},
      {50, 3, {{1, 17}, {18, 34}, {35, 50}}},
      {1250, 8, {{1, 157}, {158, 314}, {315, 470}, {471, 626}, {627, 782}, {783, 938}, {939, 1094}, {1095, 1250}}},
      {3, 8, {{1, 1}, {2, 2}, {3, 3}}},
      {5, 1, {{1, 5}}},
      {0, 4, {}},
      {7, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pages << " pages, " << c.workers << " workers");
    const std::vector<pv::PagePart> parts = pv::SplitPages(c.pages, c.workers, QStringLiteral("/d"));
    std::vector<std::pair<int, int>> got;
    QStringList files;
    for (const pv::PagePart& p : parts) {
      got.emplace_back(p.First, p.Last);
      files << p.File;
    }
    EXPECT_EQ(got, c.parts);
    files.removeDuplicates();
    EXPECT_EQ(files.size(), qsizetype(parts.size()));
  }
}

TEST(PageWorkerShares, AWorkerIsGivenOnlyWhenItsShareRepaysItsStart) {
  const int before = pv::SetPageWorkerLimit(4);
  EXPECT_LE(pv::PageWorkerCount(pv::MinPagesPerWorker * 2 - 1), 1);
  EXPECT_LE(pv::PageWorkerCount(1), 1);
  EXPECT_LE(pv::PageWorkerCount(100000), 4);
  pv::SetPageWorkerLimit(1);
  EXPECT_EQ(pv::PageWorkerCount(100000), 1);
  pv::SetPageWorkerLimit(before);
}

// Stand-ins for the worker: shell scripts that answer as a worker may.
class PageWorkerRun : public testing::Test {
 protected:
  QString Script(const QString& name, const QByteArray& body) {
    const QString path = dir_.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
  }
  std::vector<pv::PagePart> Parts(int pages, int workers) { return pv::SplitPages(pages, workers, dir_.path()); }

  QTemporaryDir dir_;
};

// Every worker draws its pages ("." each) and writes its file.
constexpr char kGoodWorker[] =
    "n=$2; while [ $n -le $3 ]; do printf .; n=$((n+1)); done; printf '%s %s %s' \"$1\" \"$2\" \"$3\" > \"$4\"";

TEST_F(PageWorkerRun, EveryShareIsDrawnAndTheProgressCountsEveryPage) {
  const QString program = Script(QStringLiteral("good"), kGoodWorker);
  const std::vector<pv::PagePart> parts = Parts(100, 3);
  std::vector<int> seen;
  QString reason;
  EXPECT_EQ(pv::RunPageWorkers(
                program, QStringLiteral("/tmp/the job"), parts, [&](int n) { seen.push_back(n); }, &reason),
            pv::WorkersOutcome::Done)
      << reason.toStdString();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 100);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  for (const pv::PagePart& p : parts) {
    QFile f(p.File);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << p.File.toStdString();
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QStringLiteral("/tmp/the job %1 %2").arg(p.First).arg(p.Last));
  }
}

TEST_F(PageWorkerRun, AFailedWorkerFailsTheJobInItsWordsAndEndsTheOthers) {
  const struct {
    const char* what;
    QByteArray failing;  // the second share's worker
    QString reason;      // what the job says
  } cases[] = {
      {"says why", "printf ..; printf '!Impossibile scrivere il file \"x.pdf\".'; exit 1",
       QStringLiteral("Impossibile scrivere il file \"x.pdf\".")},
      {"a page it could not draw", "printf '!'; exit 1", QString()},
      {"crashes", "printf .; kill -9 $$",
       QStringLiteral("La stampa delle pagine da 26 a 50 si è interrotta (segnale 9).")},
      {"ends without a word", "exit 1", QStringLiteral("La stampa delle pagine da 26 a 50 si è interrotta.")},
      {"ends well having drawn too few", "printf ...; exit 0",
       QStringLiteral("La stampa delle pagine da 26 a 50 si è interrotta.")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // The other workers would take an hour, longer than the test may run:
    // the failure must end them.
    const QString program =
        Script(QStringLiteral("worker"), "if [ \"$2\" = 26 ]; then " + c.failing + "; fi; printf .; exec sleep 3600");
    QString reason = QStringLiteral("not set");
    EXPECT_EQ(pv::RunPageWorkers(program, QStringLiteral("job"), Parts(100, 4), {}, &reason),
              pv::WorkersOutcome::Failed);
    EXPECT_EQ(reason, c.reason);
  }
}

TEST_F(PageWorkerRun, AWorkerThatCannotStartLeavesTheJobToTheProgram) {
  QString reason;
  EXPECT_EQ(
      pv::RunPageWorkers(dir_.filePath(QStringLiteral("missing")), QStringLiteral("job"), Parts(10, 2), {}, &reason),
      pv::WorkersOutcome::NotStarted);
}

}  // namespace
