#!/usr/bin/env bash
# startlibraries_test.sh PROGRAM READERS: the libraries the dynamic loader
# maps when PROGRAM starts, as ldd lists them. The shape library is part of
# the program; with READERS=1 (a linker that leaves out a library only
# left-out code used) no library of the database readers, which run in the
# reader program, is loaded either: each would cost every start its loading
# and its symbol look-ups.
set -euo pipefail
program=$1
readers=$2

loaded=$(LD_TRACE_LOADED_OBJECTS=1 "$program")
[ -n "$loaded" ] || { echo "FAIL: no library list for $program" >&2; exit 1; }
echo "$loaded" | grep -q 'libplavikplatform\.so' || { echo "FAIL: the list lacks the platform library" >&2; exit 1; }

unwanted=(liblineo2)
if [ "$readers" = 1 ]; then
  unwanted+=(libmdb libshp libpx libfreexl libodbc libgsf)
fi
status=0
for name in "${unwanted[@]}"; do
  if echo "$loaded" | grep -q "^[[:space:]]*$name\.so"; then
    echo "FAIL: $program loads $name at its start" >&2
    status=1
  fi
done
[ "$status" -ne 0 ] || echo "ok"
exit "$status"
