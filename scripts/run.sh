#!/usr/bin/env bash
# Sets up the machine, builds Lexora and its sample course, and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
# The staged course is used the installed way, so the child's record lives in their own data folder
# and outlives the build folder.
exec build/release/stage/Lexora/lexora --course build/release/stage "$@"
