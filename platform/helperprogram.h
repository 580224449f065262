#pragma once
// The program's helper programs (the reader of data sources, the page
// workers): where one is found, and how it is started, with its standard
// input and output on descriptors of the caller's choosing and every other
// descriptor closed, the signals at their defaults and unblocked.
#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

namespace pv {

// The helper `name`: beside the running program (the build), in the
// install's lib/plavik (bin/../lib/plavik), or in `buildFolder` (the build's
// program folder, for tests and benches run from elsewhere); empty when none
// has it.
QString FindHelperProgram(const QString& name, const QString& buildFolder);

// Starts `program` with `args` (argv[1] on), `in` and `out` as its standard
// input and output (they may be the same descriptor) and `environment`
// (NAME=value entries; empty: this process's environment). Returns its pid,
// or -1 with the errno in `error`.
pid_t StartHelperProgram(const QString& program, const QList<QByteArray>& args, int in, int out,
                         const QList<QByteArray>& environment, int* error);

}  // namespace pv
