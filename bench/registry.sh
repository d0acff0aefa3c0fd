#!/usr/bin/env bash
# Speed and memory of the registry backend on the system.reg of a fresh Wine prefix.
#
#   bench/registry.sh [build-folder] [prefix]
#
# Goals: loading and saving each take at most 20 times as long as `cat` of the file
# (one cat process per read), and the benchmark's peak RSS stays below 5 times the
# file's size. Build optimised first, for example:
#   cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPGV_BUILD_TESTS=OFF
#   cmake --build build-bench --target registry_bench
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
prefix=${2:-$build/bench-wine-prefix}
bench=$build/bench/registry_bench
runs=${RUNS:-30}
cats=${CATS:-200}

if [ ! -x "$bench" ]; then
  echo "registry.sh: $bench is missing; build the target registry_bench first" >&2
  exit 1
fi

if [ ! -f "$prefix/system.reg" ]; then
  wine=
  for candidate in wine wine64 /usr/lib/wine/wine64; do
    if WINEDEBUG=-all "$candidate" --version >/dev/null 2>&1; then wine=$candidate; break; fi
  done
  if [ -z "$wine" ]; then
    echo "registry.sh: no working wine to make a prefix; pass a prefix that has system.reg" >&2
    exit 1
  fi
  echo "making a Wine prefix in $prefix ..."
  WINEPREFIX=$prefix WINEDEBUG=-all "$wine" wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX=$prefix wineserver -w || true
fi

file=$prefix/system.reg
size=$(stat -c %s "$file")

start=$(date +%s%N)
for ((i = 0; i < cats; i++)); do cat "$file" >/dev/null; done
end=$(date +%s%N)
cat_ms=$(awk -v s="$start" -v e="$end" -v n="$cats" 'BEGIN { printf "%.3f", (e - s) / n / 1e6 }')

out=$("$bench" "$file" "$runs")
value() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$out"; }
read_ms=$(value read_ms_median)
load_ms=$(value load_ms_median)
save_ms=$(value save_ms_median)

rss_kb=$( { /usr/bin/time -f '%M' "$bench" "$file" 1 >/dev/null; } 2>&1 | tail -n 1)

awk -v size="$size" -v cat="$cat_ms" -v rd="$read_ms" -v load="$load_ms" -v save="$save_ms" -v rss="$rss_kb" \
    -v file="$file" 'BEGIN {
  printf "file            %s (%d bytes)\n", file, size
  printf "cat             %8.3f ms per process\n", cat
  printf "read in-process %8.3f ms\n", rd
  printf "load            %8.3f ms   %6.2fx cat (goal <= 20)   %6.1fx read\n", load, load / cat, load / rd
  printf "save            %8.3f ms   %6.2fx cat (goal <= 20)   %6.1fx read  (includes fsync)\n", save, save / cat, save / rd
  printf "peak RSS        %8d kB   %6.2fx file (goal < 5)\n", rss, rss * 1024 / size
}'
