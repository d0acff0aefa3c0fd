#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when missing.
# Usage: scripts/install-deps.sh [build|test|all]
set -euo pipefail
what=${1:-all}

need=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev pkg-config nlohmann-json3-dev)
if [ "$what" != build ]; then
  need+=(wine wine64 time)
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
# 32-bit Windows programs under Wine need the i386 architecture.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
