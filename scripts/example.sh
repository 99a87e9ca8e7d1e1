#!/usr/bin/env bash
# Builds Coastra and runs a bundled example coast: groin_field (the default)
# in out/example/, or the one named (inlet_coast) in out/example_<name>/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)" --target coastra
name=${1:-groin_field}
out=out/example
[[ "$name" != groin_field ]] && out=out/example_$name
rm -rf "$out" && mkdir -p "$out"
cp "examples/$name/coast.cfg" "examples/$name/shoreline.dat" "examples/$name/waves.dat" "$out/"
cd "$out"
"$OLDPWD/build/coastra" coast.cfg
echo
echo "Output written to $out/: coast.out (print file) and coast.slo, coast.qtr,"
echo "coast.off, coast.mqn, coast.mqr, coast.mql, coast.vcc, coast.vcx (data files)."
