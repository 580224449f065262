#!/usr/bin/env bash
# Runs every fuzz target of the sanitizer build side by side for a number of
# minutes: tools/fuzz.sh MINUTES [TARGET ...] (targets by name without
# "fuzz_"; all of them when none is named). Findings and logs go to
# build-sanitize/fuzz-out/TARGET/; the summary gives each target's runs.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:?usage: tools/fuzz.sh MINUTES [TARGET ...]}
shift
build=${SANITIZE_DIR:-build-sanitize}
bash tools/setup.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAVIK_SANITIZE=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=0:intercept_tls_get_addr=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
pids=()
for t in "${targets[@]}"; do
  out="$build/fuzz-out/$t"
  mkdir -p "$out"
  "$build/fuzz/fuzz_$t" --seconds $((minutes * 60)) --out "$out" >"$out/log" 2>&1 &
  pids+=($!)
done
status=0
for i in "${!targets[@]}"; do
  t=${targets[$i]}
  if wait "${pids[$i]}"; then
    echo "$t: $(tail -n 1 "$build/fuzz-out/$t/log")"
  else
    echo "$t: FAULT, see $build/fuzz-out/$t/log"
    status=1
  fi
done
exit $status
