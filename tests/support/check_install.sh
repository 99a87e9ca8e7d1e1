#!/usr/bin/env bash
# Installs the build in $1 into a scratch prefix and checks that the programs,
# the README with its pictures, the examples, the key list and the manual page
# land in their places, and that the installed coastra-ensemble runs an
# installed example with the coastra beside it while PATH holds none, through
# the batch runner in share/coastra that it shares with coastra-calibrate.
set -euo pipefail
build=$1
prefix=$(mktemp -d "${TMPDIR:-/tmp}/coastra_install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/coastra bin/coastra-plot bin/coastra-ensemble bin/coastra-calibrate; do
  [ -x "$prefix/$f" ] || { echo "missing or not executable: $f"; exit 1; }
done
doc=$prefix/share/doc/coastra
pictures=$(grep -o '](docs/[^)]*)' "$doc/README.md" | sed 's/^](//; s/)$//')
[ -n "$pictures" ] || { echo "the installed README shows no picture"; exit 1; }
for f in README.md examples/groin_field/coast.cfg examples/inlet_coast/coast.cfg $pictures; do
  [ -f "$doc/$f" ] || { echo "missing: share/doc/coastra/$f"; exit 1; }
done
grep -qx K1 "$prefix/share/coastra/config_keys.txt" || { echo "share/coastra/config_keys.txt lacks K1"; exit 1; }
[ -f "$prefix/share/coastra/coastra_runner.py" ] || { echo "missing: share/coastra/coastra_runner.py"; exit 1; }
man=$prefix/share/man/man1/coastra.1
grep -q '^\.TH COASTRA 1' "$man" && grep -q '^\.B \\-\\-netcdf FILE' "$man" || { echo "bad manual page $man"; exit 1; }
"$prefix/bin/coastra" --version | grep -q '^coastra ' || { echo "installed coastra --version failed"; exit 1; }
"$prefix/bin/coastra-plot" --help | grep -q timestack || { echo "installed coastra-plot --help failed"; exit 1; }
# Two weeks of the groin-field example, PATH without coastra.
if /usr/bin/python3 -c 'import csv' 2>/dev/null; then
  work=$prefix/work
  mkdir "$work"
  printf 'K1,SIMDATE\n0.35,20200115\n' >"$work/k1.csv"
  (cd "$work" && PATH=/usr/bin:/bin && ! command -v coastra >/dev/null &&
    "$prefix/bin/coastra-ensemble" "$doc/examples/groin_field/coast.cfg" k1.csv --out ens >/dev/null) ||
    { echo "installed coastra-ensemble failed"; exit 1; }
  grep -q '^member_001,0.35,20200115,0,' "$work/ens/summary.csv" || { echo "installed ensemble: $(cat "$work/ens/summary.csv")"; exit 1; }
  grep -q '^0 [0-9.]* [0-9.]*$' "$work/ens/member_001/status.txt" || { echo "installed ensemble: no runner's status file"; exit 1; }
fi
# The installed calibration finds its batch runner (share/coastra/coastra_runner.py).
"$prefix/bin/coastra-calibrate" --help | grep -q -- '--slurm' || { echo "installed coastra-calibrate --help failed"; exit 1; }
echo "install OK"
