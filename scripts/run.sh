#!/usr/bin/env bash
# Starts the program on its default machine folder (created with demo traces on first start).
set -euo pipefail
cd "$(dirname "$0")/.."
machine=${PURGAVIA_MACHINE:-${XDG_DATA_HOME:-$HOME/.local/share}/purgavia/machine}
if [ ! -f "$machine/system.reg" ]; then
  mkdir -p "$(dirname "$machine")"
  build/purgavia init-machine "$machine" --demo
fi
# The stdio skin host until the web skin is built.
exec build/purgavia --skin stdio --machine "$machine" "$@"
