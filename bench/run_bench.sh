#!/usr/bin/env bash
# Benchmark: a 4000-cell, 10-year run with 1-hour steps. Prints the wall-steps
# per second (cell walls x time steps / wall-clock seconds), the peak memory
# and the time per stage of the loop (--stage-times).
# "bash bench/run_bench.sh --structures" runs the same coast with two detached
# breakwaters and two diffracting groins.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j 2 --target coastra >/dev/null
work="$root/out/bench"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
python3 "$root/bench/make_case.py" "$@"
/usr/bin/time -f "%e %M" -o time.txt "$root/build/coastra" --stage-times bench.cfg > console.txt
read -r seconds peak_kb < time.txt
steps=$(python3 -c "import datetime as d; print(int((d.datetime(2010,1,1)-d.datetime(2000,1,1)).total_seconds()//3600))")
python3 - "$seconds" "$peak_kb" "$steps" <<'PY'
import sys
seconds, peak_kb, steps = float(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
walls = 4001
print(f"steps: {steps}  walls: {walls}  wall-clock: {seconds:.2f} s")
print(f"wall-steps per second: {walls * steps / seconds:.3e}")
print(f"peak memory: {peak_kb / 1024:.1f} MiB")
PY
sed -n '/STAGE TIMES/,/TOTAL/p' console.txt
