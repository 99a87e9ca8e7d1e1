#!/usr/bin/env bash
# Installs the build in $1 into a scratch prefix and checks that the programs,
# the README and the examples land in their places and that the installed
# coastra runs an installed example.
set -euo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/coastra_install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/coastra bin/coastra-plot bin/coastra-ensemble bin/coastra-calibrate; do
  [ -x "$prefix/$f" ] || { echo "missing or not executable: $f"; exit 1; }
done
doc=$prefix/share/doc/coastra
for f in README.md examples/groin_field/coast.cfg examples/inlet_coast/coast.cfg; do
  [ -f "$doc/$f" ] || { echo "missing: share/doc/coastra/$f"; exit 1; }
done
"$prefix/bin/coastra" --version | grep -q '^coastra ' || { echo "installed coastra --version failed"; exit 1; }
"$prefix/bin/coastra-plot" --help | grep -q timestack || { echo "installed coastra-plot --help failed"; exit 1; }
# The installed calibration finds its batch runner (share/coastra/coastra_runner.py).
"$prefix/bin/coastra-calibrate" --help | grep -q -- '--slurm' || { echo "installed coastra-calibrate --help failed"; exit 1; }
echo "install OK"
