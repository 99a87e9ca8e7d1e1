#!/usr/bin/env bash
# Builds one libFuzzer target with clang in build-fuzz/ and runs it for a given
# number of seconds: bash scripts/fuzz.sh TARGET SECONDS, TARGET one of config,
# shoreline, waves. It starts from the seeds in fuzz/corpus/TARGET/ and keeps
# the inputs it finds in build-fuzz/corpus/TARGET/; an input that crashes or
# hangs the target is written to fuzz/regressions/TARGET/, where the test suite
# replays it (commit it with the fix).
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { echo "usage: bash scripts/fuzz.sh config|shoreline|waves SECONDS" >&2; exit 2; }
[ $# -eq 2 ] || usage
target=$1
seconds=$2
case "$target" in config|shoreline|waves) ;; *) usage ;; esac
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || usage

bash scripts/ensure_tools.sh g++ cmake make clang
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1" \
  -DCOASTRA_TESTS=OFF -DCOASTRA_FUZZ=ON >/dev/null
cmake --build build-fuzz -j 2 --target "fuzz_$target"

# Absolute paths: the configuration target works in a scratch directory of
# its own, and a crash is written from inside it.
root=$(pwd)
mkdir -p "build-fuzz/corpus/$target" "fuzz/regressions/$target"
# -timeout: an input that takes 10 s is a hang; -rss_limit_mb: memory bound.
"$root/build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$root/fuzz/regressions/$target/" \
  "$root/build-fuzz/corpus/$target" "$root/fuzz/corpus/$target"
