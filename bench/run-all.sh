#!/usr/bin/env bash
# Runs every benchmark of the project against the default build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash bench/registry.sh
bash bench/shell.sh
bash bench/shred.sh build
bash bench/first-idle-wine.sh
