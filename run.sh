#!/usr/bin/env bash
# Installs what is missing, builds Vimbo and runs it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
# Only the program (its web extension comes with it): the tests and benchmarks wait for ./test.sh.
cmake --build build/release -j "$(nproc)" --target vimbo
exec build/release/src/vimbo "$@"
