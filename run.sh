#!/usr/bin/env bash
# Installs what is missing, builds Vimbo and runs it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)"
exec build/release/src/vimbo "$@"
