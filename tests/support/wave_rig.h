// Test support: a state on a grid of cells 10 m wide with wave stations whose
// wave files live in a scratch directory (files w1.dat, w2.dat, ...).
#pragma once

#include <string>

#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra::test {

struct WaveRig : StateRig {
  ScratchDir dir;
  explicit WaveRig(int nx) {
    m.cfg.NX = nx;
    m.cfg.SIMDATS = 20200101;
    for (int i = 1; i <= nx + 1; ++i) {
      m.cfg.DX(i) = 10.0F;
      m.XCELL(i) = 10.0F * static_cast<float>(i);
      m.cfg.HAMP(i) = 1.0F;
      m.cfg.THETAAMP(i) = 1.0F;
    }
  }
  // Adds a station at cell with its depth (m) and the records of its wave file.
  void station(int cell, float depth, const std::string& records) {
    const int k = ++m.cfg.NWAVEFILES;
    m.cfg.NUMWAVES = k;
    const std::string name = "w" + std::to_string(k) + ".dat";
    dir.write(name, records);
    m.cfg.WAVEFILE[k] = name;
    m.FWAVE[static_cast<std::size_t>(k)].open(dir.file(name));
    m.cfg.IWAVEID(k) = cell;
    m.cfg.WMDEP(k) = depth;
  }
};

}  // namespace coastra::test
