#!/usr/bin/env bash
# Start-up to the first idle of the Windows program under Wine, next to the Linux program
# on a machine folder with the same registry. Usage: bench/first-idle-wine.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=$(mktemp -d)
trap 'WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
export WINEDEBUG=-all DISPLAY=
WINEPREFIX=$work/prefix wine wineboot -i >/dev/null 2>&1
WINEPREFIX=$work/prefix wineserver -w
install="$work/prefix/drive_c/Program Files/Purgavia"
mkdir -p "$install"
cp build-win64/*.exe build-win64/*.dll "$install/"
cp -r build-win64/skin "$install/"
mkdir -p "$work/machine/drive_c" "$work/machine/dosdevices"
ln -s ../drive_c "$work/machine/dosdevices/c:"
cp "$work/prefix/"*.reg "$work/machine/"

first_idle() {  # prints milliseconds from start to the first idle event
  python3 - "$@" <<'PY'
import subprocess, sys, time, os
start = time.perf_counter()
p = subprocess.Popen(sys.argv[1:], stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
for line in p.stdout:
    if b'"ev":"idle"' in line:
        print(round((time.perf_counter() - start) * 1000, 1))
        break
p.stdin.close(); p.wait()
PY
}
# One start of each first: installs the skin files and registers the library.
first_idle env WINEPREFIX="$work/prefix" wine 'C:\Program Files\Purgavia\Purgavia.exe' --skin stdio --timers manual >/dev/null
first_idle build/purgavia --skin stdio --machine "$work/machine" --timers manual >/dev/null
echo "runs: $runs (milliseconds to the first idle)"
for i in $(seq "$runs"); do
  w=$(first_idle env WINEPREFIX="$work/prefix" wine 'C:\Program Files\Purgavia\Purgavia.exe' --skin stdio --timers manual)
  l=$(first_idle build/purgavia --skin stdio --machine "$work/machine" --timers manual)
  echo "Windows build under Wine: $w   Linux build: $l"
done
