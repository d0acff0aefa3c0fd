#!/usr/bin/env bash
# Start-up to the first idle and the command round trip of the program (stdio skin host),
# on fresh machine folders and on a copy of a real Wine prefix.
#   bench/shell.sh [BUILD_DIR]
# The Wine prefix is $PGV_BENCH_PREFIX, else BUILD_DIR/bench-wine-prefix, made once with
# wineboot when Wine is installed (that takes a minute).
# Goals: first idle within 150 ms; a round trip within 1 ms.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
[ -x "$build/bench/shell_bench" ] || cmake --build "$build" --target shell_bench purgavia PGVX >/dev/null

prefix=${PGV_BENCH_PREFIX:-$build/bench-wine-prefix}
if [ ! -f "$prefix/system.reg" ] && command -v wineboot >/dev/null; then
  echo "making a Wine prefix in $prefix (once)..." >&2
  WINEPREFIX="$(realpath -m "$prefix")" WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$(realpath -m "$prefix")" wineserver -w || true
fi
args=()
[ -f "$prefix/system.reg" ] && args+=(--prefix "$(realpath "$prefix")")

"$build/bench/shell_bench" "$(realpath "$build")" --runs "${RUNS:-10}" --trips "${TRIPS:-1000}" "${args[@]}"
