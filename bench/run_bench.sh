#!/usr/bin/env bash
# Benchmark: a 4000-cell run with 1-hour steps (10 years unless --years says
# otherwise). Prints the wall-steps per second (cell walls x time steps /
# wall-clock seconds), the peak memory and the time per stage of the loop
# (--stage-times), each run interleaved with the reference naive kernel when
# its source is at hand (NAIVE_KERNEL, default ../shared/bench/naive_kernel.cpp
# beside the project), so that the ratio holds on a noisy machine.
#   --structures   two detached breakwaters and two diffracting groins
#   --years N      simulated years (1 for a quick comparison)
#   --dtsave H     a data record every H hours (default once a year)
#   --repeat R     R runs, the median reported (default 1)
#   --simd PATH    coastra --simd PATH
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
case_args=() years=10 dtsave=8760.0 repeat=1 run_args=()
while [[ $# -gt 0 ]]; do
  case "$1" in
    --structures) case_args+=(--structures) ;;
    --years) years="$2"; shift ;;
    --dtsave) dtsave="$2"; shift ;;
    --repeat) repeat="$2"; shift ;;
    --simd) run_args+=("$1" "$2"); shift ;;
    *) echo "run_bench.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j 2 --target coastra >/dev/null
work="$root/out/bench"
rm -rf "$work" && mkdir -p "$work" && cd "$work"
python3 "$root/bench/make_case.py" "${case_args[@]}" >/dev/null
end=$((2000 + years))
sed -i "s/^SIMDATE: .*/SIMDATE: ${end}0101/; s/^DTSAVE: .*/DTSAVE: ${dtsave}/" bench.cfg
naive_src="${NAIVE_KERNEL:-$root/../shared/bench/naive_kernel.cpp}"
naive=""
if [[ -f "$naive_src" ]]; then
  g++ -O2 -std=c++20 "$naive_src" -o naive_kernel && naive="$work/naive_kernel"
fi
steps=$(python3 -c "import datetime as d; print(int((d.datetime($end,1,1)-d.datetime(2000,1,1)).total_seconds()//3600))")
: > runs.txt
for ((r = 1; r <= repeat; r++)); do
  [[ -n "$naive" ]] && "$naive" | sed -n 's/.*, \([0-9.]*\) M wall-steps.*/naive \1/p' >> runs.txt
  /usr/bin/time -f "%e %M" -o time.txt "$root/build/coastra" --stage-times "${run_args[@]}" bench.cfg > console.txt
  read -r seconds peak_kb < time.txt
  echo "coastra $seconds $peak_kb" >> runs.txt
  cp console.txt "console.$r.txt"
done
python3 - "$steps" "$repeat" <<'PY'
import statistics, sys
steps, repeat = int(sys.argv[1]), int(sys.argv[2])
walls = 4001
runs = [l.split() for l in open("runs.txt")]
secs = [float(r[1]) for r in runs if r[0] == "coastra"]
peaks = [int(r[2]) for r in runs if r[0] == "coastra"]
naive = [float(r[1]) for r in runs if r[0] == "naive"]
sec = statistics.median(secs)
rate = walls * steps / sec
print(f"steps: {steps}  walls: {walls}  wall-clock: {sec:.2f} s (median of {repeat})")
print(f"wall-steps per second: {rate:.3e}")
print(f"peak memory: {max(peaks) / 1024:.1f} MiB")
if naive:
    n = statistics.median(naive) * 1e6
    print(f"naive kernel: {n:.3e} wall-steps per second; coastra / naive: {rate / n:.2f}")
PY
sed -n '/STAGE TIMES/,/TOTAL/p' console.txt
