#!/usr/bin/env bash
# Builds Kinetra and starts it with the bundled catalogue; arguments go to kinetra.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target kinetra
exec build/default/src/kinetra "$@"
