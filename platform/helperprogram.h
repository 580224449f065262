#pragma once
// The program's helper programs (the reader of data sources): where one is
// found, and how it is started, with its standard input and output on
// descriptors of the caller's choosing and every other descriptor closed,
// the signals at their defaults and unblocked.
#include <QString>

#include <sys/types.h>

namespace pv {

// The helper `name`: beside the running program (the build), in the
// install's lib/plavik (bin/../lib/plavik), or in `buildFolder` (the build's
// program folder, for tests and benches run from elsewhere); empty when none
// has it.
QString FindHelperProgram(const QString& name, const QString& buildFolder);

// Starts `program` without arguments, `in` and `out` as its standard input
// and output (they may be the same descriptor), in this process's
// environment. Returns its pid, or -1 with the errno in `error`.
pid_t StartHelperProgram(const QString& program, int in, int out, int* error);

}  // namespace pv
