#!/usr/bin/env bash
# Which loops of the per-wall kernels the compiler vectorised: compiles every
# source that calls run_kernel with the project's flags and the vectoriser's
# report, and prints each vectorised loop (by the source line GCC names) with
# the vector widths reached: 16 bytes is the baseline path, 32 AVX2, 64
# AVX-512 (8-byte lines are remainder loops). Loops GCC could not vectorise
# for a branch or a combined mask left in them ("control flow in loop") are
# listed after them: a kernel loop among those runs one wall at a time. (Other
# loops of the same files are listed there too: only the kernels' lines matter.)
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
for f in $(grep -rl "run_kernel<" src --include=*.cpp); do
  report=$(g++ -O2 -DNDEBUG -std=c++20 -Isrc -ffp-contract=off -fno-math-errno -fno-trapping-math \
    -fopenmp-simd -c "$f" -o /dev/null -fopt-info-vec-optimized -fopt-info-vec-missed 2>&1)
  grep -E "optimized: loop vectorized using" <<<"$report" |
    sed -E 's/^([^:]*:[0-9]+):[0-9]+: .*using ([0-9]+) byte.*/\1 \2/' | sort -u |
    awk '{w[$1] = w[$1] " " $2} END {for (l in w) print l ":" w[l] " bytes"}' | sort
  grep -E "missed: not vectorized: control flow" <<<"$report" |
    sed -E 's/^([^:]*:[0-9]+):.*/\1: not vectorised (control flow)/' | sort -u
done
