#pragma once
// Work of the data engine that the user waits for (a sort, a filter, the
// rows of a source picked again) waits as a request to the reader program
// does: it runs on a worker thread while the calling thread asks the
// installed ReaderWait (readerwait.h) between short slices. The window
// repaints meanwhile, the same notice shows after a second, and the user may
// cancel.
#include <functional>

namespace pv {

// Runs `work` and returns when it has ended; what it throws is thrown here.
// Without a wait installed (tools, tests) `work` just runs on
// this thread. A cancel calls `interrupt` on this thread, again at every
// slice until the work ends (it must make the work end soon), and then
// throws DbError(DbErrCancelled) whether or not the work got to its end:
// the caller drops what it made.
void RunWaited(const std::function<void()>& work, const std::function<void()>& interrupt);

}  // namespace pv
