// Entry functions of the fuzz targets: a scratch directory per process, and for
// each reader the small model state it needs, built from the control bytes of
// the input, with the rest of the input as the file the reader takes.
//   config_input, shoreline_input, waves_input

#include "fuzz/fuzz_entry.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "driver/wave_events.h"
#include "input/config_reader.h"
#include "input/shoreline_files.h"
#include "model/error_stop.h"
#include "model/state.h"
#include "waves/wave_input.h"

namespace coastra::fuzz {
namespace {

namespace fs = std::filesystem;

// A directory of this process under the system temp directory, removed at exit.
struct Scratch {
  fs::path dir = fs::temp_directory_path() / ("coastra_fuzz_" + std::to_string(::getpid()));
  Scratch() {
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::string file(std::string_view name) const { return (dir / name).string(); }
  void write(std::string_view name, std::string_view text) const {
    std::ofstream os(dir / name, std::ios::binary | std::ios::trunc);
    os.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  // Removes whatever the last input left (print files, files it named).
  void empty() const {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec)) fs::remove_all(e.path(), ec);
  }
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

// The working directory set to dir for the lifetime of the object.
class WorkDir {
 public:
  explicit WorkDir(const fs::path& dir) : here_(fs::current_path()) { fs::current_path(dir); }
  ~WorkDir() {
    std::error_code ec;
    fs::current_path(here_, ec);
  }
  WorkDir(const WorkDir&) = delete;
  WorkDir& operator=(const WorkDir&) = delete;

 private:
  fs::path here_;
};

// A state whose console and print file are strings (a fuzzed run would
// otherwise flood the terminal).
struct Rig {
  std::unique_ptr<ModelState> owner = make_state();
  ModelState& m = *owner;
  std::ostringstream con;  // console text
  std::ostringstream prt;  // print-file text
  Rig() {
    m.CON = &con;
    m.PRT = &prt;
  }
};

// Runs f, which returns whether the input was accepted; the program's own
// stops are a refusal.
template <class F>
Outcome guarded(F&& f) {
  try {
    return f() ? Outcome::ACCEPTED : Outcome::REFUSED;
  } catch (const ErrorStop&) {
    return Outcome::REFUSED;
  } catch (const SilentStop&) {
    return Outcome::REFUSED;
  }
}

// A cell-value file: four header lines, then n values ten to a line.
std::string cell_file(int n, float first, float step) {
  std::string s = "header 1\nheader 2\nheader 3\nheader 4\n";
  for (int i = 1; i <= n; ++i) {
    s += std::to_string(first + step * static_cast<float>(i - 1));
    s += i % 10 == 0 ? '\n' : ' ';
  }
  return s + '\n';
}

std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

Outcome config_input(const std::uint8_t* data, std::size_t size) {
  const Scratch& s = scratch();
  std::string text(as_text(data, size));
  std::replace(text.begin(), text.end(), '/', '_');
  s.empty();
  s.write("run.cfg", text);
  s.write("shore.dat", cell_file(100, 100.0F, 1.0F));
  s.write("reg.dat", cell_file(100, 0.0F, 0.5F));
  s.write("dx.dat", cell_file(100, 50.0F, 0.0F));
  s.write("waves.dat", "20200101 0000 1.0 8.0 10.0\n20200101 0100 1.2 8.0 -5.0\n");
  const WorkDir wd(s.dir);
  Rig r;  // after wd: its files close before the directory is left
  return guarded([&] { return read_config(r.m.cfg, r.m.run(), "run.cfg"); });
}

Outcome shoreline_input(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return Outcome::REFUSED;
  const Scratch& s = scratch();
  const int nx = 1 + data[0] % 40;
  const unsigned flags = data[1];
  // Files: initial shoreline, regional contour, cell spacing, at form feeds.
  std::array<std::string_view, 3> part{};
  std::string_view rest = as_text(data + 2, size - 2);
  for (std::size_t k = 0; k < part.size(); ++k) {
    const std::size_t ff = k + 1 < part.size() ? rest.find('\f') : std::string_view::npos;
    part[k] = rest.substr(0, ff);
    rest = ff == std::string_view::npos ? std::string_view{} : rest.substr(ff + 1);
  }
  s.write("ini.dat", part[0]);
  s.write("reg.dat", part[1]);
  s.write("dx.dat", part[2]);

  Rig r;
  Settings& c = r.m.cfg;
  constexpr std::array<int, 4> IREGS = {0, 1, 3, 2};
  c.NX = nx;
  c.IREG = IREGS[flags & 3U];
  c.DXFILE = s.file("dx.dat");
  r.m.LENFAC = (flags & 8U) != 0 ? 0.3048F : 1.0F;
  for (int i = 1; i <= nx + 1; ++i) c.DX(i) = 50.0F;
  if ((flags & 4U) != 0) c.DX(1) = -1.0F;
  r.m.FINI.open(s.file("ini.dat"));
  if ((flags & 16U) == 0) r.m.FREG.open(s.file("reg.dat"));
  return guarded([&] {
    read_cell_spacing(r.m.cfg, r.m.run(), r.m.input());
    build_cell_coordinates(r.m.cfg, r.m.input());
    read_shoreline_files(r.m.cfg, r.m.run(), r.m.input());
    return true;
  });
}

Outcome waves_input(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return Outcome::REFUSED;
  const Scratch& s = scratch();
  const int nx = 1 + data[0] % 16;
  const unsigned flags = data[1];
  s.write("waves.dat", as_text(data + 2, size - 2));

  Rig r;
  ModelState& m = r.m;
  Settings& c = m.cfg;
  constexpr std::array<float, 4> DTS = {1.0F, 0.5F, 2.0F, 3.0F};  // hours
  constexpr float DX = 50.0F;                                      // cell width (m)
  c.NX = nx;
  c.NWAVEV = static_cast<int>(flags & 7U);
  c.DT = m.DT = DTS[(flags >> 3U) & 3U];
  c.WAVEFAC = (flags & 32U) != 0 ? 0.3048F : 1.0F;
  c.IREG = (flags & 64U) != 0 ? 1 : 0;
  c.SIMDATS = 20200101;
  for (int i = 1; i <= nx + 1; ++i) {
    c.DX(i) = DX;
    c.HAMP(i) = 1.0F;
    c.THETAAMP(i) = 1.0F;
    c.THETADEL(i) = 0.0F;
    m.XCELL(i) = DX * static_cast<float>(i);
    m.YREG(i) = 2.0F * static_cast<float>(i);  // a gently turning regional contour (m)
  }
  const int stations = (flags & 128U) != 0 ? 2 : 1;
  for (int k = 1; k <= stations; ++k) {
    c.NWAVEFILES = c.NUMWAVES = k;
    c.IWAVEID(k) = k == 1 ? 1 : nx + 1;
    c.WMDEP(k) = 10.0F;
    c.WAVEFILE[k] = "waves.dat";
    m.FWAVE[static_cast<std::size_t>(k)].open(s.file("waves.dat"));
  }
  return guarded([&] {
    setup_wave_events(m);
    check_wave_timestep(m.step(), m.run(), m.waves());
    setup_wave_input(m.cfg, m.input(), m.wave_input());
    const int steps = 2 * c.NWAVEV + 3;
    for (m.ISTEP = 1; m.ISTEP <= steps && m.IRUNERR == 0; ++m.ISTEP) wave_step(m);
    return m.IRUNERR == 0;  // set by a file that ended early or a bad record
  });
}

}  // namespace coastra::fuzz
