#!/usr/bin/env bash
# Sets up the machine, builds Lexora and its sample course, and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec build/release/stage/Lexora/lexora "$@"
