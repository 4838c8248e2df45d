#!/usr/bin/env bash
# Installs what is missing, builds a Release build into build-release/ and
# starts Quorvin.
set -euo pipefail
cd "$(dirname "$0")"
source tools/ensure-packages.sh
ensure_packages

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUORVIN_BUILD_TESTS=OFF
cmake --build build-release -j"$(nproc)"

if [ ! -x build-release/Quorvin ]; then
    echo "Built the libraries. The program window (Quorvin) is not built yet, so there is nothing to start."
    exit 0
fi
exec build-release/Quorvin "$@"
