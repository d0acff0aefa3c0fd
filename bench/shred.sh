#!/usr/bin/env bash
# The shredder against dd, GNU shred and BleachBit, measured in one run on one disk (the
# disk of the build folder), each tool's whole command timed the same way:
#   - one 1 GiB file: FileShred / dd conv=notrunc,fdatasync + rm / shred -n1 -u / bleachbit --shred
#   - 20,000 files of 1-16 KiB in 200 folders: FolderShred / find -exec shred -n1 -u + rm -r /
#     bleachbit --shred
#   - the free space of a 512 MiB ext4 file system: ShredFreeSpace / dd if=/dev/zero until
#     full, synced, removed / bleachbit --wipe-free-space
# Before every measurement caches are dropped and the disk is left to finish what the
# previous tool's deletions gave it to do; each run starts with another tool. Prints the
# median of RUNS runs (TREE_RUNS for the tree, whose GNU shred run takes minutes) and the
# ratios.
#
#   bench/shred.sh [BUILD_DIR]          RUNS=3 TREE_RUNS=1 PGV_BENCH_DIR=<folder on the disk to test>
#
# Needs root for the file system of the free-space part and for dropping caches (without
# it that part is skipped and caches stay warm), and about 2 GiB free. Goals: the file
# faster than each tool; the tree at least 5x faster than GNU shred and 2.5x faster than
# BleachBit; the free space at least 0.9x the throughput of dd and faster than BleachBit.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${RUNS:-3}
tree_runs=${TREE_RUNS:-1}
bench="$build/bench/shred_bench"
[ -x "$bench" ] || cmake --build "$build" --target shred_bench >/dev/null
bench=$(realpath "$bench")

if ! command -v bleachbit >/dev/null; then
  echo "installing bleachbit (Debian package) to compare against..." >&2
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq bleachbit >/dev/null
fi

root=no
[ "$(id -u)" = 0 ] && root=yes

work=$(mktemp -d "$(realpath "${PGV_BENCH_DIR:-$build}")/shred-bench.XXXXXX")
mnt="$work/mnt"
cleanup() {
  mountpoint -q "$mnt" 2>/dev/null && umount "$mnt"
  rm -rf "$work"
}
trap cleanup EXIT

free=$(df --output=avail -B1 "$work" | tail -1)
if [ "$free" -lt $((2 * 1024 * 1024 * 1024)) ]; then
  echo "need 2 GiB free in $work, have $((free / 1024 / 1024)) MiB" >&2
  exit 1
fi

machine="$work/machine"
"$bench" machine "$machine"
drive_c="$machine/drive_c"

disk=$(basename "$(df --output=source "$work" | tail -1)")
inflight="/sys/block/$disk/inflight"

drop_caches() {
  sync
  [ $root = yes ] && echo 3 >/proc/sys/vm/drop_caches
  return 0
}

# Waits until the disk has had nothing in flight for half a second (at most 60 s): what
# one tool's deletions leave the disk to do (discards above all) must not be charged to
# the next tool.
settle() {
  [ -r "$inflight" ] || return 0
  local quiet=0 i
  for ((i = 0; i < 600 && quiet < 5; i++)); do
    if [ "$(awk '{ print $1 + $2 }' "$inflight")" = 0 ]; then quiet=$((quiet + 1)); else quiet=0; fi
    sleep 0.1
  done
}

# Seconds the command takes, caches dropped and the disk settled first.
measure() {
  drop_caches
  settle
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  local took
  took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  echo "  $took s  $*" | cut -c1-110 >&2
  echo "$took"
}

median() { tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

must_be_gone() {
  if [ -e "$1" ]; then
    echo "$2 left $1 behind" >&2
    exit 1
  fi
}

declare -A times

# ---- one 1 GiB file ------------------------------------------------------------------
big="$drive_c/big.bin"
make_big() { dd if=/dev/zero of="$big" bs=4M count=256 conv=fsync status=none; }
# Each run starts with another tool, so that none is always first or last.
rotated() {
  local run=$1
  shift
  local tools=("$@") i
  for ((i = 0; i < ${#tools[@]}; i++)); do echo "${tools[(i + run) % ${#tools[@]}]}"; done
}

file_run() {
  make_big
  case $1 in
    ours) times[file_ours]+=" $(measure "$bench" file "$machine" 'C:\big.bin')"; must_be_gone "$big" FileShred ;;
    dd) times[file_dd]+=" $(measure sh -c "dd if=/dev/zero of='$big' bs=1M count=1024 conv=notrunc,fdatasync status=none && rm '$big'")" ;;
    shred) times[file_shred]+=" $(measure shred -n1 -u "$big")"; must_be_gone "$big" shred ;;
    bleachbit) times[file_bleachbit]+=" $(measure bleachbit --shred "$big")"; must_be_gone "$big" bleachbit ;;
  esac
}
for ((r = 0; r < runs; r++)); do
  for tool in $(rotated $r ours dd shred bleachbit); do file_run "$tool"; done
done

# ---- 20,000 small files ------------------------------------------------------------------
tree="$drive_c/tree"
tree_run() {
  "$bench" mktree "$tree" 20000
  case $1 in
    ours) times[tree_ours]+=" $(measure "$bench" folder "$machine" 'C:\tree')"; must_be_gone "$tree" FolderShred ;;
    shred) times[tree_shred]+=" $(measure sh -c "find '$tree' -type f -exec shred -n1 -u {} + && rm -r '$tree'")" ;;
    bleachbit) times[tree_bleachbit]+=" $(measure bleachbit --shred "$tree")"; must_be_gone "$tree" bleachbit ;;
  esac
}
for ((r = 0; r < tree_runs; r++)); do
  for tool in $(rotated $r ours shred bleachbit); do tree_run "$tool"; done
done

# ---- the free space of a 512 MiB file system ------------------------------------------------
if [ $root = yes ]; then
  # Written in full, so that no tool pays for the host allocating the image's blocks.
  dd if=/dev/zero of="$work/fs.img" bs=4M count=128 conv=fsync status=none
  # Inode tables and journal written now, not by a background thread during the runs.
  mkfs.ext4 -q -F -m 0 -E lazy_itable_init=0,lazy_journal_init=0 "$work/fs.img"
  mkdir -p "$mnt"
  mount -o loop "$work/fs.img" "$mnt"
  ln -s "$mnt" "$machine/dosdevices/d:"
  space=$(df --output=avail -B1 "$mnt" | tail -1)
  free_run() {
    case $1 in
      ours) times[free_ours]+=" $(measure "$bench" freespace "$machine" 'D:')" ;;
      dd) times[free_dd]+=" $(measure sh -c "dd if=/dev/zero of='$mnt/fill' bs=1M conv=fdatasync status=none; sync; rm '$mnt/fill'; sync")" ;;
      bleachbit) times[free_bleachbit]+=" $(measure bleachbit --wipe-free-space "$mnt")" ;;
    esac
  }
  for ((r = 0; r < runs; r++)); do
    for tool in $(rotated $r ours dd bleachbit); do free_run "$tool"; done
  done
  must_be_gone "$mnt/TmpShred.x" ShredFreeSpace
fi

# ---- report ---------------------------------------------------------------------------------
m() { echo "${times[$1]:-}" | median; }
echo "shredder benchmark on $(df --output=source "$work" | tail -1), medians in seconds"
echo
printf '1 GiB file          FileShred %6s   dd %6s (%sx)   shred -n1 -u %6s (%sx)   bleachbit %6s (%sx)\n' \
  "$(m file_ours)" "$(m file_dd)" "$(ratio "$(m file_dd)" "$(m file_ours)")" \
  "$(m file_shred)" "$(ratio "$(m file_shred)" "$(m file_ours)")" \
  "$(m file_bleachbit)" "$(ratio "$(m file_bleachbit)" "$(m file_ours)")"
printf '20,000 files        FolderShred %6s   find+shred %6s (%sx, goal 5x)   bleachbit %6s (%sx, goal 2.5x)\n' \
  "$(m tree_ours)" "$(m tree_shred)" "$(ratio "$(m tree_shred)" "$(m tree_ours)")" \
  "$(m tree_bleachbit)" "$(ratio "$(m tree_bleachbit)" "$(m tree_ours)")"
if [ $root = yes ]; then
  mbps() { awk -v b="$space" -v t="$1" 'BEGIN { printf "%.0f", b / t / 1e6 }'; }
  printf '512 MiB free space  ShredFreeSpace %6s (%s MB/s)   dd %6s (%s MB/s, ours %sx, goal 0.9x)   bleachbit %6s (%sx)\n' \
    "$(m free_ours)" "$(mbps "$(m free_ours)")" "$(m free_dd)" "$(mbps "$(m free_dd)")" \
    "$(ratio "$(m free_dd)" "$(m free_ours)")" "$(m free_bleachbit)" "$(ratio "$(m free_bleachbit)" "$(m free_ours)")"
else
  echo "512 MiB free space  skipped: mounting a file system needs root"
fi
echo
echo "ratios: the other tool's time / the shredder's time (above 1: the shredder is faster)"
