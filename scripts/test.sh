#!/usr/bin/env bash
# Builds Coastra and its test suite from scratch in build/ and runs every test,
# then builds the suite again with address and undefined-behaviour sanitizers
# and library assertions (the dev preset, in build-dev/) and runs it there too:
# a sanitizer report fails its test. Missing build tools are installed first
# (scripts/ensure_tools.sh: apt-get, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh g++ cmake make libgtest-dev
bash scripts/ensure_tools.sh --optional libnetcdf-dev netcdf-bin python3-numpy python3-matplotlib \
  python3-netcdf4 python3-scipy parallel
jobs=$(nproc)
# 1. Release build and its tests.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"
# 2. Sanitizer build and its tests.
cmake --preset dev
cmake --build --preset dev -j "$jobs"
ctest --preset dev -j "$jobs"
