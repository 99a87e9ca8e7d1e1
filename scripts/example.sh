#!/usr/bin/env bash
# Builds Coastra and runs the bundled example coast in out/example/. Missing
# build tools are installed first (scripts/ensure_tools.sh: apt-get, as root);
# GoogleTest too, since build/ is configured with the test suite as test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure_tools.sh g++ cmake make libgtest-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)" --target coastra
rm -rf out/example && mkdir -p out/example
cp examples/groin_field/coast.cfg examples/groin_field/shoreline.dat \
   examples/groin_field/waves.dat out/example/
cd out/example
../../build/coastra coast.cfg
echo
echo "Output written to out/example/: coast.out (print file) and coast.slo, coast.qtr,"
echo "coast.off, coast.mqn, coast.mqr, coast.mql, coast.vcc, coast.vcx (data files)."
