#!/usr/bin/env bash
# Installs what is missing, builds a Debug build with AddressSanitizer and
# UndefinedBehaviorSanitizer into build/, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages

export CCACHE_DIR="${CCACHE_DIR:-${HOME:-/root}/.cache/ccache}"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Debug -DQUORVIN_SANITIZE=ON
cmake --build build -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Board threads of the tests stay ordinary threads: a fault in one must not
# freeze a machine that runs the tests as root.
export QUORVIN_NO_REALTIME=1
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
cd build
exec ctest --output-on-failure -j"$(nproc)"
