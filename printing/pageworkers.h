#pragma once
// The page workers: the program's helper plavik-pages draws a range of a
// print job's pages (the job written by WritePageJob) into a PDF of its own,
// and several of them draw a long job side by side.
//
// A worker is started as "plavik-pages JOB FIRST LAST OUT". On its standard
// output it writes one "." for each page drawn; when it cannot finish, "!"
// and the reason (UTF-8) and exits with status 1. Status 0: OUT is written.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace pv {

// The pages a worker is given at the least: fewer would not repay its start
// and its share of the join (together about as long as drawing 60 pages of
// plain labels), so a job of a thousand 8-up labels stays in the program.
inline constexpr std::int32_t MinPagesPerWorker = 64;

// How many workers draw a run of `pages` pages: one per processor (at most
// the limit) while each gets MinPagesPerWorker pages; 1 or less: the job is
// drawn in the program itself.
int PageWorkerCount(std::int32_t pages);
// The most workers a job is given (0: no limit but the processors; 1: every
// job is drawn in the program). Returns the previous limit. For tests and
// tools that compare the two ways.
int SetPageWorkerLimit(int limit);

// The worker program; empty when it is not there.
QString PageWorkerProgram();

// One worker's share: pages First..Last into File.
struct PagePart {
  std::int32_t First = 0;
  std::int32_t Last = 0;
  QString File;
};

// Pages 1..pages in `workers` runs of consecutive pages as even as can be,
// the earlier ones the longer, each with its file in `folder`.
std::vector<PagePart> SplitPages(std::int32_t pages, int workers, const QString& folder);

enum class WorkersOutcome {
  NotStarted,  // a worker could not be started: none is left running
  Done,        // every part file is written
  Failed,      // a worker failed: the others have been ended
};

// Runs a worker of `program` for every part of `jobFile` at once and waits
// for them all; `progress` is told the count of pages drawn so far as it
// grows. After a failure `reason` says why, in the worker's words when it
// gave them (it may be empty: a page that could not be drawn).
WorkersOutcome RunPageWorkers(const QString& program, const QString& jobFile, const std::vector<PagePart>& parts,
                              const std::function<void(int drawn)>& progress, QString* reason);

}  // namespace pv
