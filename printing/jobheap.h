#pragma once
// The heap during a print job. Every page of a PDF or spooled job is
// compressed with buffers of a few hundred kilobytes that are made and freed
// once a page; with the C library's default settings freeing them gives the
// top of the heap back to the system, and the next page takes it again at a
// page fault for every 4 KB, which costs more than drawing the page's labels.
// For the life of a job freed memory stays in the process; afterwards the
// defaults come back and what is left over is given back.

namespace pv {

class JobHeap {
 public:
  JobHeap();
  ~JobHeap();
  JobHeap(const JobHeap&) = delete;
  JobHeap& operator=(const JobHeap&) = delete;
};

}  // namespace pv
