#!/usr/bin/env bash
# Formats the tracked C++ sources by the style in .clang-format. With --check
# it changes nothing and fails when formatting would change a file, naming
# the places.
set -euo pipefail
cd "$(dirname "$0")/.."
CLANG_FORMAT=${CLANG_FORMAT:-clang-format}
mode=(-i)
if [ "${1:-}" = "--check" ]; then mode=(--dry-run --Werror); fi
git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r -n 40 -P "$(nproc)" "$CLANG_FORMAT" --style=file "${mode[@]}"
