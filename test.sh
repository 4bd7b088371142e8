#!/usr/bin/env bash
# Installs what is missing, builds a Release tree, an ASan+UBSan tree, a TSan tree of the core and,
# with clang, a tree of fuzz targets, and runs every test of all of them under one CTest summary.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

jobs=$(nproc)
configure() { # tree, extra cmake arguments...
    local tree=$1; shift
    cmake -S . -B "build/$tree" -G Ninja -DVIMBO_TEST_PREFIX="$tree." "$@" >/dev/null
    cmake --build "build/$tree" -j "$jobs"
}
configure release -DCMAKE_BUILD_TYPE=Release -DVIMBO_WERROR=ON -DVIMBO_SANITIZE=
configure asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIMBO_SANITIZE=address
configure tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIMBO_SANITIZE=thread -DVIMBO_CORE_ONLY=ON
trees='"release" "asan" "tsan"'
if command -v clang++ >/dev/null; then
    configure fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DVIMBO_SANITIZE=address -DVIMBO_CORE_ONLY=ON -DVIMBO_FUZZ=ON
    trees+=' "fuzz"'
fi

# One CTest run over the trees, so the summary at the end covers everything.
echo "subdirs($trees)" > build/CTestTestfile.cmake
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
cd build
ctest --output-on-failure -j "$jobs" "$@"
