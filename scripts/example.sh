#!/usr/bin/env bash
# Builds Coastra and runs the bundled example coasts, each in out/<example>/:
# groin_field (a groin field, a seawall and a retreating boundary),
# nourished_breakwaters (a beach fill behind two detached breakwaters and a
# bypass pair) and inlet_coast (the groin field with a tidal inlet, dredging
# and a sediment budget). With an example's name as argument only that one runs.
# Missing build tools are installed first (scripts/ensure_tools.sh: apt-get, as
# root); GoogleTest too, since build/ is configured with the test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/ensure_tools.sh g++ cmake make libgtest-dev
bash scripts/ensure_tools.sh --optional libnetcdf-dev python3-numpy python3-matplotlib
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DCOASTRA_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)" --target coastra
examples=("$@")
[ ${#examples[@]} -eq 0 ] && examples=(groin_field nourished_breakwaters inlet_coast)
for ex in "${examples[@]}"; do
  out=out/$ex
  [ "$ex" = groin_field ] && out=out/example   # where it has always been written
  rm -rf "$out" && mkdir -p "$out"
  cp "examples/$ex/coast.cfg" "examples/$ex/shoreline.dat" "examples/$ex/waves.dat" "$out/"
  # The NetCDF file of the run as well, when the build has NetCDF output.
  nc=()
  "$root/build/coastra" --version | grep -q "NetCDF yes" && nc=(--netcdf coast.nc)
  (cd "$out" && "$root/build/coastra" "${nc[@]}" coast.cfg)
  echo
  echo "Output written to $out/: coast.out (print file) and coast.slo, coast.qtr,"
  echo "coast.off, coast.mqn, coast.mqr, coast.mql, coast.vcc, coast.vcx (data files)${nc:+, coast.nc}."
  echo "Plots: tools/coastra-plot $out/coast.cfg --out $out/plots"
  echo "What to look at: examples/$ex/README.md"
done
