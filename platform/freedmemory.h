#pragma once
// Memory the program has freed, given back to the system. The C library
// keeps freed blocks for the program's next allocations, and blocks freed
// amid others (a table of a million rows, each row and text a block of its
// own) stay in the program for good: after a big table is freed the
// program would keep the size it had with it. Called after such frees.

namespace pv {

void GiveBackFreedMemory();

}  // namespace pv
