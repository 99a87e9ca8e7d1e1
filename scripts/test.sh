#!/usr/bin/env bash
# Builds Coastra and its test suite from scratch in build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian_packages.sh
coastra_debian_packages
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)"
