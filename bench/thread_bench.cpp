// Micro benchmark of the two-thread team: the wave-number pass over a 4001-wall
// coast on one thread and on two, and the cost of the handshake (a split call
// of a kernel that only copies, against the same call on one thread), and the
// wave-number pass between GAP_US microseconds of one-thread work, as between
// the kernels of a time step (the worker has gone to sleep when the call comes).
// Build: cmake --build build --target coastra_thread_bench
// Run:   build/coastra_thread_bench [CALLS] [SPIN_US] [GAP_US]   (default 20000, 50, 300)
// Prints the median of five interleaved rounds per case, in microseconds per call.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "model/simd_path.h"
#include "model/thread_team.h"
#include "waves/wave_relations.h"

namespace {

using coastra::ThreadTeamScope;

[[gnu::always_inline]] inline void copy_body(int lo, int hi, const float* __restrict in,
                                             float* __restrict out) {
#pragma omp simd
  for (int i = lo; i <= hi; ++i) out[i] = in[i];
}

struct Coast {
  int nw = 4001;
  std::vector<float> t, h, cg, n, k;
  Coast() : t(4002), h(4002), cg(4002), n(4002), k(4002) {
    for (int i = 0; i <= nw; ++i) {
      t[static_cast<std::size_t>(i)] = 4.0F + 0.002F * static_cast<float>(i);       // (s)
      h[static_cast<std::size_t>(i)] = 0.5F + 0.001F * static_cast<float>(i % 4000);   // (m)
    }
  }
};

// Busy work on the calling thread for about us microseconds.
void serial_work(int us) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(us);
  while (std::chrono::steady_clock::now() < end) {
  }
}

// Microseconds per call of f over `calls` calls.
template <class F>
double per_call_us(int calls, F f) {
  const auto start = std::chrono::steady_clock::now();
  for (int c = 0; c < calls; ++c) f();
  const std::chrono::duration<double, std::micro> d = std::chrono::steady_clock::now() - start;
  return d.count() / calls;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int calls = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int spin_us = argc > 2 ? std::atoi(argv[2]) : ThreadTeamScope::DEFAULT_SPIN_US;
  const int gap_us = argc > 3 ? std::atoi(argv[3]) : 300;
  Coast c;
  const auto waves = [&] {
    coastra::wave_numbers(c.t.data(), c.h.data(), 1, c.nw, c.cg.data(), c.n.data(), c.k.data());
  };
  const auto copy = [&] { coastra::run_kernel<copy_body>(1, c.nw, c.t.data(), c.cg.data()); };
  const auto copy512 = [&] { coastra::run_kernel<copy_body>(1, 512, c.t.data(), c.cg.data()); };
  // The gapped case's kernel time: the call's time less the gap's, measured
  // apart on one thread.
  const auto gapped = [&] {
    serial_work(gap_us);
    waves();
  };
  std::vector<double> w[2], cp[2], cp512[2], gp[2];
  long long split = 0, worker = 0;
  for (int round = 0; round < 5; ++round) {
    for (int threads : {1, 2}) {
      const ThreadTeamScope team(threads, spin_us);
      const auto before = coastra::team_counts();
      w[threads - 1].push_back(per_call_us(calls, waves));
      cp[threads - 1].push_back(per_call_us(calls, copy));
      cp512[threads - 1].push_back(per_call_us(calls, copy512));
      gp[threads - 1].push_back(per_call_us(std::max(1, calls / 10), gapped));
      if (threads == 2) {
        split += coastra::team_counts().split - before.split;
        worker += coastra::team_counts().worker - before.worker;
      }
    }
  }
  std::printf("path %s, %d calls per case, spin %d us, median of 5 rounds (us per call)\n",
              coastra::simd_path_name(coastra::simd_path()), calls, spin_us);
  std::printf("wave_numbers 4001 walls: 1 thread %.3f  2 threads %.3f  speed-up %.2f\n",
              median(w[0]), median(w[1]), median(w[0]) / median(w[1]));
  std::printf("copy 4001 elements:      1 thread %.3f  2 threads %.3f\n", median(cp[0]), median(cp[1]));
  std::printf("copy 512 elements:       1 thread %.3f  2 threads %.3f\n", median(cp512[0]),
              median(cp512[1]));
  std::printf("wave_numbers after %d us of serial work (call + gap): 1 thread %.3f  2 threads %.3f\n",
              gap_us, median(gp[0]), median(gp[1]));
  std::printf("split calls %lld, worker took part in %lld (%.1f %%)\n", split, worker,
              100.0 * static_cast<double>(worker) / static_cast<double>(split));
  return 0;
}
