#!/usr/bin/env bash
# Starts the program on its default machine folder (created with demo traces on first start).
set -euo pipefail
cd "$(dirname "$0")/.."
machine=${PURGAVIA_MACHINE:-${XDG_DATA_HOME:-$HOME/.local/share}/purgavia/machine}
if [ ! -f "$machine/system.reg" ]; then
  mkdir -p "$(dirname "$machine")"
  build/purgavia init-machine "$machine" --demo
fi
# The web skin (the default): the program prints its address and opens the desktop's
# browser, or only prints the address where there is no desktop.
exec build/purgavia --machine "$machine" "$@"
