// The NetCDF file of a run: a netCDF-3 (64-bit offset) file with dimensions
// time (unlimited), cell (NX) and wall (NX + 1). Values are those of the text
// data files, unrounded, in the user's units (length unit, volume unit per
// year for transports); the units attributes say which. Every record is synced
// to disk, so the header always counts the records already written.

#include "output/netcdf_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "inlets/inlet_setup.h"
#include "input/clock.h"
#include "model/error_stop.h"
#include "output/bookkeeping.h"
#include "output/data_files.h"
#include "output/echo.h"
#include "output/format.h"

#ifdef COASTRA_WITH_NETCDF
#include <dlfcn.h>
#include <netcdf.h>

#include <cstring>
#include <ctime>
#endif

namespace coastra {

#ifndef COASTRA_WITH_NETCDF

bool netcdf_available() { return false; }
void open_netcdf_file(const Settings&, const InputState&, OutputState& out, const std::string&) {
  if (!out.NCFILE.empty())
    error_stop("NetCDF output requested, but this build has no NetCDF library");
}
void write_netcdf_record(ModelState&) {}
void write_netcdf_final(const Settings&, const RunState&, const InputState&, OutputState&) {}
void close_netcdf_file(OutputState&, bool) {}

#else

namespace {

// The NetCDF library is loaded when a run first needs it, not linked into the
// program: it brings the HDF5, HTTP and TLS libraries with it, several MB of
// memory that every run without --netcdf would otherwise carry.
// Design note: the library is looked up once, by the file name it had when the
// program was built; its functions are then a table that never changes. A
// system without that library runs as a build without NetCDF output.
struct NcLib {
  bool ok = false;
  decltype(&::nc_close) close = nullptr;
  decltype(&::nc_create) create = nullptr;
  decltype(&::nc_def_dim) def_dim = nullptr;
  decltype(&::nc_def_var) def_var = nullptr;
  decltype(&::nc_enddef) enddef = nullptr;
  decltype(&::nc_get_att_text) get_att_text = nullptr;
  decltype(&::nc_inq_attlen) inq_attlen = nullptr;
  decltype(&::nc_open) open = nullptr;
  decltype(&::nc_put_att_text) put_att_text = nullptr;
  decltype(&::nc_put_var1_double) put_var1_double = nullptr;
  decltype(&::nc_put_var1_int) put_var1_int = nullptr;
  decltype(&::nc_put_var_double) put_var_double = nullptr;
  decltype(&::nc_put_vara_double) put_vara_double = nullptr;
  decltype(&::nc_put_vara_text) put_vara_text = nullptr;
  decltype(&::nc_strerror) strerror = nullptr;
  decltype(&::nc_sync) sync = nullptr;
};

template <class F>
void bind(void* lib, const char* name, F& fn, bool& ok) {
  void* p = dlsym(lib, name);
  if (p == nullptr) ok = false;
  std::memcpy(&fn, &p, sizeof fn);   // the object pointer dlsym returns, as a function pointer
}

const NcLib& nc_lib() {
  static const NcLib lib = [] {
    NcLib t;
    void* h = dlopen(COASTRA_NETCDF_SONAME, RTLD_NOW | RTLD_LOCAL);
    if (h == nullptr) return t;
    t.ok = true;
    bind(h, "nc_close", t.close, t.ok);
    bind(h, "nc_create", t.create, t.ok);
    bind(h, "nc_def_dim", t.def_dim, t.ok);
    bind(h, "nc_def_var", t.def_var, t.ok);
    bind(h, "nc_enddef", t.enddef, t.ok);
    bind(h, "nc_get_att_text", t.get_att_text, t.ok);
    bind(h, "nc_inq_attlen", t.inq_attlen, t.ok);
    bind(h, "nc_open", t.open, t.ok);
    bind(h, "nc_put_att_text", t.put_att_text, t.ok);
    bind(h, "nc_put_var1_double", t.put_var1_double, t.ok);
    bind(h, "nc_put_var1_int", t.put_var1_int, t.ok);
    bind(h, "nc_put_var_double", t.put_var_double, t.ok);
    bind(h, "nc_put_vara_double", t.put_vara_double, t.ok);
    bind(h, "nc_put_vara_text", t.put_vara_text, t.ok);
    bind(h, "nc_strerror", t.strerror, t.ok);
    bind(h, "nc_sync", t.sync, t.ok);
    return t;
  }();
  return lib;
}

const NcLib& nc() {
  const NcLib& lib = nc_lib();
  if (!lib.ok) error_stop("--netcdf: the NetCDF library " COASTRA_NETCDF_SONAME " cannot be loaded");
  return lib;
}

}  // namespace

namespace {

constexpr double SECONDS_PER_YEAR = 31557600.0;  // 365.25 days x 86400 s

// Variable slots in NCVAR.
enum Slot {
  V_TIME, V_DATE, V_CELLS, V_WALLS, V_CELLX, V_CELLY, V_WALLX, V_WALLY,
  V_SHORE, V_TRANS, V_OFF, V_VCC, V_VCX, V_MQN, V_MQR, V_MQL, V_INIT,
  V_INL1, V_INL2, V_VSAL, V_VSBL, V_VSE, V_VSF, V_VSBR, V_VSAR,   // inlets, when there are any
  V_XSHORE   // the cross-shore excursion, with the response on
};

// The six reservoir volumes of an inlet, in the order of the variables V_VSAL..V_VSAR.
struct Reservoir {
  const char* name;
  const char* long_name;
  Vec1<double> ModelState::*volume;   // (m3)
};
constexpr Reservoir RESERVOIRS[] = {
    {"inlet_left_attachment_bar", "volume of the left attachment bar", &ModelState::VVSAL},
    {"inlet_left_bypass_bar", "volume of the left bypass bar", &ModelState::VVSBL},
    {"inlet_ebb_shoal", "volume of the ebb shoal", &ModelState::VVSE},
    {"inlet_flood_shoal", "volume of the flood shoal", &ModelState::VVSF},
    {"inlet_right_bypass_bar", "volume of the right bypass bar", &ModelState::VVSBR},
    {"inlet_right_attachment_bar", "volume of the right attachment bar", &ModelState::VVSAR},
};

int inlet_count(const Settings& cfg) { return cfg.INLETS ? std::min(cfg.NINL, MXINL) : 0; }

void check(OutputState& out, int status) {
  if (status == NC_NOERR) return;
  const std::string name = out.NCFILE;
  if (out.NCID >= 0) nc().close(out.NCID);
  out.NCID = -1;
  error_stop("Cannot write NetCDF file " + name + ": " + nc().strerror(status));
}

void put_text(OutputState& out, int var, const char* att, const std::string& text) {
  check(out, nc().put_att_text(out.NCID, var, att, text.size(), text.c_str()));
}

int define(OutputState& out, const char* name, nc_type type, std::initializer_list<int> dims,
           const char* long_name, const std::string& units) {
  int id = -1;
  const std::vector<int> d(dims);
  check(out, nc().def_var(out.NCID, name, type, static_cast<int>(d.size()), d.data(), &id));
  put_text(out, id, "long_name", long_name);
  if (!units.empty()) put_text(out, id, "units", units);
  return id;
}

// The configuration file's "KEY: value" lines as global attributes
// "config_KEY", the values as text exactly as written; the values of a key
// given on several lines (one line per groin, per fill) one per line.
// Returns the TITLE line's value in full (the run keeps its first 64
// characters), blank without one.
std::string put_configuration(OutputState& out, const std::string& cfgname) {
  std::ifstream in(cfgname);
  std::string line;
  std::vector<std::pair<std::string, std::string>> keys;
  while (std::getline(in, line)) {
    const auto colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || line[0] == ' ') continue;
    std::string key = line.substr(0, colon);
    bool plain = true;
    for (char& c : key) {
      if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_') plain = false;
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    std::string value = line.substr(colon + 1);
    const auto b = value.find_first_not_of(" \t\r");
    const auto e = value.find_last_not_of(" \t\r");
    if (!plain || b == std::string::npos) continue;
    value = value.substr(b, e - b + 1);
    auto same = std::find_if(keys.begin(), keys.end(), [&](const auto& kv) { return kv.first == key; });
    if (same == keys.end()) {
      keys.emplace_back(key, value);
    } else {
      same->second += '\n' + value;
    }
  }
  std::string title;
  for (const auto& [key, value] : keys) {
    put_text(out, NC_GLOBAL, ("config_" + key).c_str(), value);
    if (key == "TITLE") title = value.substr(0, value.find('\n'));
  }
  return title;
}

// Alongshore distance of every wall from the first (model length unit): the
// running sum of the cell widths. The widths are held in metres after set-up
// (the user's value times LENFAC, in float); each is turned back into the
// user's unit and rounded to float, which gives the width as read, and the sum
// is formed in double, so a coast in feet has its walls at 0, DX, 2 DX, ... ft.
std::vector<double> wall_distances(const Settings& cfg, const InputState& in) {
  const int nx = cfg.NX;
  const double len = static_cast<double>(in.LENFAC);
  std::vector<double> s(static_cast<std::size_t>(nx) + 1, 0.0);
  for (int i = 1; i <= nx; ++i) {
    const float width = static_cast<float>(static_cast<double>(cfg.DX(i)) / len);
    s[static_cast<std::size_t>(i)] = s[static_cast<std::size_t>(i - 1)] + static_cast<double>(width);
  }
  return s;
}

// The baseline points at alongshore distance s (model length unit) in the
// user's map frame.
// Design note: AZIMUTH is read as a compass bearing of the baseline (degrees
// clockwise from north, from cell 1 towards cell NX), so a point s along it
// lies at X0 + s sin(AZIMUTH), Y0 + s cos(AZIMUTH).
void put_coordinates(const Settings& cfg, const InputState& in, OutputState& out) {
  const int nx = cfg.NX;
  const double az = static_cast<double>(cfg.AZIMUTH) * 3.14159265358979323846 / 180.0;
  const double x0 = static_cast<double>(cfg.X0), y0 = static_cast<double>(cfg.Y0);
  const std::vector<double> wx = wall_distances(cfg, in);
  std::vector<double> cx(static_cast<std::size_t>(nx));
  for (std::size_t i = 0; i < cx.size(); ++i) cx[i] = 0.5 * (wx[i] + wx[i + 1]);
  auto put_frame = [&](const std::vector<double>& s, int vs, int vx, int vy) {
    std::vector<double> x(s.size()), y(s.size());
    for (std::size_t k = 0; k < s.size(); ++k) {
      x[k] = x0 + s[k] * std::sin(az);
      y[k] = y0 + s[k] * std::cos(az);
    }
    check(out, nc().put_var_double(out.NCID, out.NCVAR[vs], s.data()));
    check(out, nc().put_var_double(out.NCID, out.NCVAR[vx], x.data()));
    check(out, nc().put_var_double(out.NCID, out.NCVAR[vy], y.data()));
  };
  put_frame(cx, V_CELLS, V_CELLX, V_CELLY);
  put_frame(wx, V_WALLS, V_WALLX, V_WALLY);
}

// The inlet dimension with its coordinate (inlet numbers 1..n) and the names
// as a character variable, so that tools label the reservoir series by name.
struct InletVars {
  int number = -1, name = -1;   // variable ids, -1 without inlets
  std::size_t name_len = 0;     // characters of the longest name
};

InletVars define_inlets(const Settings& cfg, OutputState& out, int dt, const std::string& vol) {
  InletVars iv;
  const int n = inlet_count(cfg);
  if (n == 0) return iv;
  for (int k = 1; k <= n; ++k) iv.name_len = std::max(iv.name_len, inlet_name(cfg, k).size());
  int di = -1, ds = -1;
  check(out, nc().def_dim(out.NCID, "inlet", static_cast<std::size_t>(n), &di));
  check(out, nc().def_dim(out.NCID, "inlet_name_length", std::max<std::size_t>(iv.name_len, 1), &ds));
  auto& v = out.NCVAR;
  iv.number = define(out, "inlet", NC_INT, {di}, "inlet number, in the order of the configuration", "");
  iv.name = define(out, "inlet_name", NC_CHAR, {di, ds}, "inlet name (INLNAME, else InletN)", "");
  put_text(out, iv.name, "cf_role", "timeseries_id");
  v[V_INL1] = define(out, "inlet_first_cell", NC_INT, {di}, "first cell of the inlet", "");
  v[V_INL2] = define(out, "inlet_last_cell", NC_INT, {di}, "last cell of the inlet", "");
  for (int r = 0; r < 6; ++r) {
    const int id = define(out, RESERVOIRS[r].name, NC_DOUBLE, {dt, di}, RESERVOIRS[r].long_name, vol);
    put_text(out, id, "coordinates", "inlet_name");
    v[static_cast<std::size_t>(V_VSAL + r)] = id;
  }
  return iv;
}

void put_inlets(const Settings& cfg, OutputState& out, const InletVars& iv) {
  for (int k = 1; k <= inlet_count(cfg); ++k) {
    const std::size_t at = static_cast<std::size_t>(k - 1);
    const std::string name = inlet_name(cfg, k);
    const std::size_t start[2] = {at, 0}, count[2] = {1, name.size()};
    check(out, nc().put_var1_int(out.NCID, iv.number, &at, &k));
    if (!name.empty()) check(out, nc().put_vara_text(out.NCID, iv.name, start, count, name.c_str()));
    check(out, nc().put_var1_int(out.NCID, out.NCVAR[V_INL1], &at, &cfg.IINLS(k)));
    check(out, nc().put_var1_int(out.NCID, out.NCVAR[V_INL2], &at, &cfg.IINLE(k)));
  }
}

// The history attribute: when the file was made (UTC) and by which command
// line. Design note: the writer reads the process's own command line from
// /proc/self/cmdline (arguments separated by blanks), so the file records
// exactly how it was made, options included; where that cannot be read the
// line names the program alone.
std::string history_line() {
  std::string cmd;
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  for (std::string arg; std::getline(in, arg, '\0');) cmd += (cmd.empty() ? "" : " ") + arg;
  if (cmd.empty()) cmd = "coastra";
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[32] = {};
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return std::string(stamp) + ": " + cmd + " (coastra " + std::string(VERSION_LINE) + ")";
}

void put_row(OutputState& out, int slot, std::size_t rec, int n) {
  const std::size_t start[2] = {rec, 0};
  const std::size_t count[2] = {1, static_cast<std::size_t>(n)};
  check(out, nc().put_vara_double(out.NCID, out.NCVAR[slot], start, count, &out.RECVAL(1)));
}

}  // namespace

bool netcdf_available() { return nc_lib().ok; }

// Design note: the NetCDF file replaces an older NetCDF file but no other
// file, so that a slip on the command line (`--netcdf run.cfg`, or the name of
// the print file or an input) never destroys the user's data.
void refuse_to_replace(const OutputState& out) {
  std::ifstream old(out.NCFILE, std::ios::binary);
  if (!old.is_open()) return;
  char magic[4] = {};
  old.read(magic, 4);
  const bool classic = old.gcount() >= 3 && magic[0] == 'C' && magic[1] == 'D' && magic[2] == 'F';
  const bool hdf5 = old.gcount() == 4 && magic[0] == '\x89' && magic[1] == 'H' && magic[2] == 'D' && magic[3] == 'F';
  if (!classic && !hdf5) error_stop("--netcdf: " + out.NCFILE + " exists and is not a NetCDF file");
  // Design note: Coastra marks its files with the global attribute source,
  // "coastra" and its version (written at creation; earlier files hold
  // "coastra" alone); a NetCDF file without that mark is some other program's
  // data and is never replaced.
  int id = -1;
  std::size_t len = 0;
  std::string source;
  if (nc().open(out.NCFILE.c_str(), NC_NOWRITE, &id) == NC_NOERR) {
    if (nc().inq_attlen(id, NC_GLOBAL, "source", &len) == NC_NOERR && len < 64) {
      source.resize(len);
      if (nc().get_att_text(id, NC_GLOBAL, "source", source.data()) != NC_NOERR) source.clear();
    }
    nc().close(id);
  }
  if (source != "coastra" && source.rfind("coastra ", 0) != 0)
    error_stop("--netcdf: " + out.NCFILE + " is a NetCDF file Coastra did not write");
}

void open_netcdf_file(const Settings& cfg, const InputState& in, OutputState& out,
                      const std::string& cfgname) {
  if (out.NCFILE.empty()) return;
  refuse_to_replace(out);
  const int nx = cfg.NX;
  const bool metric = cfg.UNITSYS == 1;
  const std::string len = metric ? "m" : "ft";
  const std::string vol = metric ? "m3" : "yd3";
  check(out, nc().create(out.NCFILE.c_str(), NC_CLOBBER | NC_64BIT_OFFSET, &out.NCID));
  int dt = -1, dc = -1, dw = -1;
  check(out, nc().def_dim(out.NCID, "time", NC_UNLIMITED, &dt));
  check(out, nc().def_dim(out.NCID, "cell", static_cast<std::size_t>(nx), &dc));
  check(out, nc().def_dim(out.NCID, "wall", static_cast<std::size_t>(nx) + 1, &dw));
  // Time at the end of the recorded step, from the start of the run.
  std::string tunits = "hours";
  if (cfg.SIMDATS > DATE_THRESHOLD) {
    tunits = "hours since ";
    edit_iso_date(tunits, cfg.SIMDATS);
    tunits += " 00:00:00";
  }
  auto& v = out.NCVAR;
  v[V_TIME] = define(out, "time", NC_DOUBLE, {dt}, "time at the end of the recorded step", tunits);
  put_text(out, v[V_TIME], "standard_name", "time");
  put_text(out, v[V_TIME], "calendar", "proleptic_gregorian");
  v[V_DATE] = define(out, "date", NC_INT, {dt}, "record label of the data files (YYYYMMDD or step)", "");
  v[V_CELLS] = define(out, "cell", NC_DOUBLE, {dc}, "alongshore distance of the cell centre", len);
  v[V_WALLS] = define(out, "wall", NC_DOUBLE, {dw}, "alongshore distance of the cell wall", len);
  v[V_CELLX] = define(out, "cell_x", NC_DOUBLE, {dc}, "map x of the cell centre on the baseline", len);
  v[V_CELLY] = define(out, "cell_y", NC_DOUBLE, {dc}, "map y of the cell centre on the baseline", len);
  v[V_WALLX] = define(out, "wall_x", NC_DOUBLE, {dw}, "map x of the cell wall on the baseline", len);
  v[V_WALLY] = define(out, "wall_y", NC_DOUBLE, {dw}, "map y of the cell wall on the baseline", len);
  v[V_SHORE] = define(out, "shoreline", NC_DOUBLE, {dt, dc}, "shoreline position seaward of the baseline", len);
  v[V_TRANS] = define(out, "transport", NC_DOUBLE, {dt, dw}, "net longshore transport rate, positive towards higher cells", vol + "/year");
  v[V_OFF] = define(out, "offshore_contour", NC_DOUBLE, {dt, dc}, "representative offshore contour seaward of the baseline", len);
  v[V_VCC] = define(out, "volume_change", NC_DOUBLE, {dt, dc}, "volume change per cell since the start", vol);
  v[V_VCX] = define(out, "volume_change_per_length", NC_DOUBLE, {dt, dc}, "volume change per unit length alongshore since the start", vol + "/" + len);
  v[V_MQN] = define(out, "mean_annual_net_transport", NC_DOUBLE, {dw}, "mean annual net transport over the run", vol + "/year");
  v[V_MQR] = define(out, "mean_annual_transport_right", NC_DOUBLE, {dw}, "mean annual transport towards higher cells", vol + "/year");
  v[V_MQL] = define(out, "mean_annual_transport_left", NC_DOUBLE, {dw}, "mean annual transport towards lower cells (negative)", vol + "/year");
  v[V_INIT] = define(out, "initial_shoreline", NC_DOUBLE, {dc}, "initial shoreline position seaward of the baseline", len);
  if (cfg.XSHORE == 1) {
    v[V_XSHORE] = define(out, "cross_shore_excursion", NC_DOUBLE, {dt, dc},
                         "shoreline shift of the cross-shore response since the start (in shoreline)", len);
    put_text(out, v[V_XSHORE], "coordinates", "cell_x cell_y");
  }
  for (int s : {V_CELLX, V_CELLY, V_WALLX, V_WALLY}) put_text(out, v[s], "comment", "from X0, Y0 and AZIMUTH");
  for (int s : {V_INIT, V_SHORE, V_OFF, V_VCC, V_VCX}) put_text(out, v[s], "coordinates", "cell_x cell_y");
  put_text(out, v[V_TRANS], "coordinates", "wall_x wall_y");
  // 2. The inlets: their numbers, names, cells and reservoir volumes.
  const InletVars inl = define_inlets(cfg, out, dt, vol);
  put_text(out, NC_GLOBAL, "Conventions", "CF-1.8");
  put_text(out, NC_GLOBAL, "source", "coastra " + std::string(VERSION_LINE));
  put_text(out, NC_GLOBAL, "history", history_line());
  put_text(out, NC_GLOBAL, "configuration_file", cfgname);
  const std::string title = put_configuration(out, cfgname);
  put_text(out, NC_GLOBAL, "title", title.empty() ? "Coastra one-line shoreline simulation" : title);
  check(out, nc().enddef(out.NCID));
  put_coordinates(cfg, in, out);
  put_inlets(cfg, out, inl);
  out.NCREC = 0;
  check(out, nc().sync(out.NCID));
}

void write_netcdf_record(ModelState& m) {
  if (m.NCID < 0) return;
  const int nx = m.cfg.NX;
  const auto rec = static_cast<std::size_t>(m.NCREC);
  const double len = static_cast<double>(m.LENFAC);
  const double vdiv = volume_divisor(m.input());
  const double hours = m.ELAPSED + static_cast<double>(m.DT);
  const int label = m.NEXTDATE;
  check(m.output(), nc().put_var1_double(m.NCID, m.NCVAR[V_TIME], &rec, &hours));
  check(m.output(), nc().put_var1_int(m.NCID, m.NCVAR[V_DATE], &rec, &label));
  if (rec == 0) {
    // The initial line as the run starts from it (inlet cells set at start-up).
    for (int i = 1; i <= nx; ++i) m.RECVAL(i) = (static_cast<double>(m.YREG(i)) + m.YINIT(i)) / len;
    check(m.output(), nc().put_var_double(m.NCID, m.NCVAR[V_INIT], &m.RECVAL(1)));
  }
  fill_shoreline_record(m.cfg, m.input(), m.transport(), m.output());
  put_row(m.output(), V_SHORE, rec, nx);
  for (int i = 1; i <= nx + 1; ++i) m.RECVAL(i) = static_cast<double>(m.QNET(i)) * SECONDS_PER_YEAR / vdiv;
  put_row(m.output(), V_TRANS, rec, nx + 1);
  for (int i = 1; i <= nx; ++i) m.RECVAL(i) = static_cast<double>(m.YSMOOTH(i) + m.YREG(i)) / len;
  put_row(m.output(), V_OFF, rec, nx);
  for (int i = 1; i <= nx; ++i) m.RECVAL(i) = m.VOLCELL(i) / vdiv;
  put_row(m.output(), V_VCC, rec, nx);
  for (int i = 1; i <= nx; ++i) m.RECVAL(i) = m.VOLLEN(i) * len / vdiv;
  put_row(m.output(), V_VCX, rec, nx);
  if (m.cfg.XSHORE == 1) {
    for (int i = 1; i <= nx; ++i) m.RECVAL(i) = m.YC(i) / len;
    put_row(m.output(), V_XSHORE, rec, nx);
  }
  for (int r = 0; r < 6 && inlet_count(m.cfg) > 0; ++r) {
    const Vec1<double>& vol = m.*RESERVOIRS[r].volume;
    for (int k = 1; k <= inlet_count(m.cfg); ++k) m.RECVAL(k) = vol(k) / vdiv;
    put_row(m.output(), V_VSAL + r, rec, inlet_count(m.cfg));
  }
  m.NCREC += 1;
  check(m.output(), nc().sync(m.NCID));
}

void write_netcdf_final(const Settings& cfg, const RunState& run, const InputState& in,
                        OutputState& out) {
  if (out.NCID < 0) return;
  const double f = annual_factor(run, in) / volume_divisor(in);
  const int nw = cfg.NX + 1;
  const std::pair<int, const Vec1<double>*> rows[] = {{V_MQN, &out.VNET}, {V_MQR, &out.VRIGHT}, {V_MQL, &out.VLEFT}};
  for (const auto& [slot, vol] : rows) {
    for (int i = 1; i <= nw; ++i) out.RECVAL(i) = (*vol)(i) * f;
    check(out, nc().put_var_double(out.NCID, out.NCVAR[slot], &out.RECVAL(1)));
  }
}

void close_netcdf_file(OutputState& out, bool checked) {
  if (out.NCID < 0) return;
  const int status = nc().close(out.NCID);
  out.NCID = -1;
  if (checked && status != NC_NOERR)
    error_stop("Cannot write NetCDF file " + out.NCFILE + ": " + nc().strerror(status));
}

#endif

}  // namespace coastra
