#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
# Usage: scripts/install-deps.sh [build|test|all]
set -euo pipefail
what=${1:-all}

need=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev pkg-config nlohmann-json3-dev libboost-dev
      g++-mingw-w64-i686 g++-mingw-w64-x86-64)
if [ "$what" != build ]; then
  need+=(wine wine64 time)
fi

# The browser tests of the web skin run Debian's Chromium. They are skipped, not failed,
# where it cannot be installed, so its install may fail without stopping the rest.
if [ "$what" != build ] && ! dpkg-query -W -f='${Status}' chromium 2>/dev/null | grep -q 'install ok installed'; then
  SUDO_WEB=
  [ "$(id -u)" -ne 0 ] && SUDO_WEB=sudo
  echo "installing: chromium chromium-driver" >&2
  { $SUDO_WEB apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive $SUDO_WEB apt-get install -y -qq --no-install-recommends chromium chromium-driver >/dev/null; } ||
    echo "chromium could not be installed; the browser tests will be skipped" >&2
fi

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
