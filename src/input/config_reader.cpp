// The configuration reader: a first pass refuses over-long lines and collects
// the input file names, then the keyword file is read line by line into the
// settings record, opening the data files it names as their lines are met;
// the key table is in config_keys, the end-of-file steps in config_end.
//   read_config   the whole file and its end-of-file steps

#include "input/config_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "input/config_end.h"
#include "input/config_keys.h"
#include "input/config_lint.h"
#include "input/field_reader.h"
#include "input/file_checks.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

// Design note: a configuration line may be up to 64 KiB long (a per-cell list
// of values easily passes column 255) and is read whole; a longer line is
// refused by its number, never cut, since a cut list would silently leave its
// last entries at 0.
constexpr std::size_t CONFIG_LINE_MAX = 65536;  // characters of the longest configuration line
constexpr std::size_t CONFIG_NAME_MAX = 255;    // characters of the longest file or inlet name
constexpr std::size_t KEY_LEN = 15;     // longest keyword
constexpr std::size_t MSG_LINE = 52;    // characters of the line quoted by "Invalid config data: "

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_left(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}
std::string_view trim_right(std::string_view s) {
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// The keyword of a configuration line, upper case, and its value (left-
// adjusted). False for a line without a colon or with a keyword field longer
// than KEY_LEN: such a line matches no key. The keyword starts in column 1, so
// an indented keyword matches nothing.
bool split_key_line(std::string_view raw, std::string& key, std::string_view& value) {
  const std::size_t colon = raw.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view field = trim_right(raw.substr(0, colon));
  if (field.size() > KEY_LEN) return false;
  key.assign(field);
  for (char& ch : key)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  value = trim_left(raw.substr(colon + 1));
  return true;
}

// An integer as text, edited by the formatting layer (for messages).
std::string int_text(int v) {
  std::string s;
  edit_i(s, v, 11);
  return std::string(trim_left(s));
}

// One value as parsed, in the member its kind uses.
struct Value { int i = 0; float f = 0.0F; double d = 0.0; bool b = false; };

struct ConfigReader {
  ConfigReader(Settings& settings, RunState& streams) : run(streams), c(settings) {}
  RunState& run;
  Settings& c;
  std::string_view line;                 // the line being read (for messages)
  std::vector<std::string> inputs;       // the configuration file and every file named in it
  int number = 0;                        // number of the line being read
  ReadFacts facts;                       // what the end-of-file steps need of the lines read
  std::vector<int> seqcount = std::vector<int>(static_cast<std::size_t>(config_key_count()), 0);
                                         // lines read so far of each seq key
  int ktmet_key = find_key("KTMETDB");

  [[noreturn]] void invalid() const {
    std::string msg = "Invalid config data: ";
    for (const char ch : line.substr(0, MSG_LINE)) {
      // Control characters (a binary file) are shown as '?' so the message
      // stays one readable console line.
      const auto u = static_cast<unsigned char>(ch);
      msg += (u < 32 || u == 127) ? '?' : ch;
    }
    error_stop(msg);
  }

  int group_count(Group g) const {
    if (g == Group::KTMET) return seqcount[static_cast<std::size_t>(ktmet_key)];
    return c.*group_spec(g).count;
  }

  void process(std::string_view raw);
  bool parse(const KeySpec& ks, std::string_view value, Value& v) const;
  int entry_index(const KeySpec& ks, int idx);
  void store(const KeySpec& ks, int k, const Value& v);
  void after_store(const KeySpec& ks, int k);
  void special_key(std::string_view key, std::string_view value);
  void list_key(std::string_view key, std::string_view value);
  std::string name_value(std::string_view key, std::string_view name) const;
  void count_tip_distances() const;
};

// The first groin line without a tip distance (0 when every groin has one),
// for the set-up check.
void ConfigReader::count_tip_distances() const {
  const int yndg = seqcount[static_cast<std::size_t>(find_key("YNDG"))];
  const int ydg = seqcount[static_cast<std::size_t>(find_key("YDG"))];
  c.NOTIPNDG = std::min(c.NNDG, MXNDG) > yndg ? yndg + 1 : 0;
  c.NOTIPDG = std::min(c.NDG, MXDG) > ydg ? ydg + 1 : 0;
}

// Reads one value with its kind; false when the value holds no item (a list
// like "," leaves the setting unchanged). An unreadable value ends the run.
bool ConfigReader::parse(const KeySpec& ks, std::string_view value, Value& v) const {
  bool bad = false;
  int got = 1;
  switch (ks.kind) {
    case Kind::INT8: bad = !read_int8(value, v.i); break;
    case Kind::INT: got = read_ints(value, &v.i, 1, bad); break;
    case Kind::REAL: got = read_reals(value, &v.f, 1, bad); break;
    case Kind::DOUBLE: got = read_doubles(value, &v.d, 1, bad); break;
    case Kind::LOGICAL: bad = !read_logical(value, v.b); break;
    // Design note: a list given again is replaced whole (the last line wins,
    // as for a scalar), not overlaid item by item on the earlier one, whose
    // surplus items would otherwise stay. v.i returns the number of items.
    case Kind::REALS: {
      auto& vec = c.*std::get<Vec1<float> Settings::*>(ks.target);
      const int n = std::min(ks.n, vec.n());
      std::fill(vec.data() + 1, vec.data() + 1 + n, 0.0F);
      v.i = read_reals(value, vec.data() + 1, n, bad);
      break;
    }
    case Kind::INTS: {
      auto& vec = c.*std::get<Vec1<int> Settings::*>(ks.target);
      const int n = std::min(ks.n, vec.n());
      std::fill(vec.data() + 1, vec.data() + 1 + n, 0);
      v.i = read_ints(value, vec.data() + 1, n, bad);
      break;
    }
    case Kind::SPECIAL: break;
  }
  if (bad) invalid();
  return got > 0 && ks.kind != Kind::REALS && ks.kind != Kind::INTS;
}

// The list entry a value goes to: 0 for a scalar, -1 when it is counted but not
// stored (beyond the capacity of a list that keeps counting).
int ConfigReader::entry_index(const KeySpec& ks, int idx) {
  if (ks.role == Role::SCALAR) return 0;
  if (ks.role == Role::FIRST) return 1;
  const GroupInfo& g = group_spec(ks.group);
  const int cap = g.cap;
  int k = 0;
  if (ks.role == Role::CUR) {
    k = group_count(ks.group);
    // Design note: a key that stores into the latest entry of its list has
    // nothing to store into before the list's first entry; a dredging key also
    // needs an event of the inlet now being described. Either way the line is
    // out of place and the run stops naming it.
    bool before = k == 0;
    if (ks.group == Group::NDRED && !before) before = c.DREDINL(k) != c.NINL;
    if (before) error_stop(std::string(ks.key) + " given before " + std::string(g.opener));
    return k > cap ? -1 : k;
  }
  if (ks.hook == Hook::IMOR && c.NINL == 0) error_stop("IMOR given before IINLS");
  if (ks.role == Role::OPENS) {
    k = ++(c.*g.count);
  } else {
    k = ++seqcount[static_cast<std::size_t>(idx)];
  }
  if (k <= cap) return k;
  if (g.counts_past) return -1;
  error_stop("Too many " + std::string(ks.key) + " entries; maximum is " + int_text(cap));
}

void ConfigReader::store(const KeySpec& ks, int k, const Value& v) {
  std::visit(
      [&](auto p) {
        using P = decltype(p);
        if constexpr (std::is_same_v<P, int Settings::*>) c.*p = v.i;
        if constexpr (std::is_same_v<P, float Settings::*>) c.*p = v.f;
        if constexpr (std::is_same_v<P, double Settings::*>) c.*p = v.d;
        if constexpr (std::is_same_v<P, bool Settings::*>) c.*p = v.b;
        if constexpr (std::is_same_v<P, Vec1<int> Settings::*>) (c.*p)(k) = v.i;
        if constexpr (std::is_same_v<P, Vec1<float> Settings::*>) (c.*p)(k) = v.f;
        if constexpr (std::is_same_v<P, Vec1<double> Settings::*>) (c.*p)(k) = v.d;
      },
      ks.target);
}

void ConfigReader::after_store(const KeySpec& ks, int k) {
  switch (ks.hook) {
    case Hook::AZIMUTH: c.AZIMUTH90 = c.AZIMUTH - 90.0F; break;
    case Hook::INLETS: c.INLETS = true; break;
    case Hook::QQKEY:   // which of the four keys of the event-file form were given
      c.QQGIVEN |= ks.key == "QQDATS" ? 1 : ks.key == "QQDATE" ? 2 : ks.key == "IQQS" ? 4 : 8;
      break;
    case Hook::IMOR:
      c.DREDINL(k) = c.NINL;
      c.NDREDLAST(c.NINL) = k;
      c.DREDGING = true;
      break;
    case Hook::KTMETDB:
      // Methods 0 and 1 take the breakwater as fully permeable; method 2 has
      // no armour grain size.
      if (c.KTMETDB(k) == 0 || c.KTMETDB(k) == 1) c.PDB(k) = 1.0F;
      if (c.KTMETDB(k) == 2) c.D50DB(k) = 0.0F;
      break;
    default: break;
  }
}

void ConfigReader::process(std::string_view raw) {
  line = raw;
  ++number;
  lint_key_shape(run, number, raw);
  std::string key;
  std::string_view value;
  if (!split_key_line(raw, key, value)) return;
  if (key == "COASTRA") {
    c.HEADER = true;
    return;
  }
  if (trim_right(value).empty()) return;
  const int idx = find_key(key);
  if (idx < 0) return;  // comments and unknown keys
  if (key == "SIMDATS") facts.simdats8 = eight_digits(value);
  if (key == "SIMDATE") facts.simdate8 = eight_digits(value);
  const KeySpec& ks = config_key(idx);
  facts.given[static_cast<std::size_t>(idx)] += 1;
  if (ks.kind == Kind::SPECIAL) {
    special_key(ks.key, value);
    return;
  }
  lint_value(run, number, ks, value);
  Value v;
  const bool has = parse(ks, value, v);
  if (ks.kind == Kind::REALS || ks.kind == Kind::INTS) {
    facts.given[static_cast<std::size_t>(idx)] = v.i;   // the list's items
    return;
  }
  const int k = entry_index(ks, idx);
  // Settings that follow the line even when its entry is beyond capacity.
  if (ks.hook == Hook::TRANDB) c.TRANMODE = 0;
  if (ks.hook == Hook::KTMETDB) {
    c.TRANMODE = 1;
    c.NKTMET = group_count(Group::KTMET);
  }
  if (ks.hook == Hook::DDG && has) facts.lastddg = v.f;
  if (k < 0 || !has) return;
  if (ks.hook == Hook::ZEROVOL && v.f == 0.0F) {
    // A zero equilibrium volume would divide by zero in the reservoir model.
    v.f = 0.00001F;
    const std::string msg = std::string(ks.key) + " cannot = 0; resetting to 0.00001";
    lwrite(*run.CON, msg);
    lwrite(*run.PRT, msg);
  }
  if (ks.hook == Hook::DREDV) {
    // Total volume over DRDAY days to a volume per hour; the dredging stage
    // takes it times the DT in force, so a change of DT keeps the volume per day.
    // Design note: a DRDAY of 0 (or never given) would divide by zero and a
    // negative one has no meaning, so the run stops naming DRDAY.
    if (!(c.DRDAY > 0.0F)) error_stop("DRDAY must be > 0 before DREDV");
    v.f = v.f / c.DRDAY / 24.0F;
  }
  store(ks, k, v);
  after_store(ks, k);
}

// Text kinds: the value cut or blank-padded to n characters.
std::string text_n(std::string_view value, std::size_t n) {
  std::string t(value.substr(0, n));
  t.resize(n, ' ');
  return t;
}

// A data file: its console line, then the file opened for reading. A blank
// name, a name that is not a regular file or a file that cannot be opened ends
// the run with the file's message. A key given twice reopens its stream on the
// later file.
// Design note: only a regular file is read. A directory opens on some systems
// but holds no records, a FIFO or a device may block the run or never end; a
// name holding a NUL character (a binary configuration) would be cut there by
// the system and open some other file.
void open_input(RunState& run, const std::string& name, std::string_view console,
                std::ifstream& f, std::string_view fail) {
  lwrite(*run.CON, console, name);
  if (f.is_open()) f.close();
  f.clear();
  if (!is_regular_input(name)) error_stop(fail);
  f.open(name, std::ios::in);
  if (!f.is_open()) error_stop(fail);
}

// Derives IDOT and OUTBASE from the print-file name, checks that neither the
// print file nor a data file named from it is an input of the run or another
// output, then opens the print file and moves into it what was written for it
// before its name was known.
// Design note: the period that ends OUTBASE is the first one of the file's own
// name, after the last '/': a name like "./run.prt" or "../out/run.prt" then
// gives the data files "./run.slo" or "../out/run.slo" beside the print file,
// not hidden files ".slo" in the working directory. For a name without a
// directory this is the first period of the name.
void open_print_file(Settings& cfg, RunState& run, const std::string& name,
                     const std::vector<std::string>& inputs) {
  Settings& c = cfg;
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot == std::string::npos) {
    c.IDOT = 256;
    c.OUTBASE.clear();
  } else {
    c.IDOT = static_cast<int>(dot) + 1;
    c.OUTBASE = name.substr(0, dot + 1);
  }
  // A blank name or one holding a NUL cannot be opened as named; a directory
  // opens on some systems but takes no text.
  std::error_code ec;
  if (name.empty() || name.find('\0') != std::string::npos ||
      std::filesystem::is_directory(name, ec)) {
    error_stop("Cannot open prtfil file");
  }
  check_output_names(name, c.OUTBASE, inputs);
  if (run.CHECKONLY) return;   // --check writes no file: its text stays in memory
  // The print file is locked before it is replaced: a second run started in
  // the folder stops here and leaves the running one's files alone.
  run.PRTLOCK.release();
  const int fd = lock_print_file(name);
  if (fd == LOCK_HELD) error_stop("PRFILE " + name + " is in use by another run");
  run.PRTLOCK.fd = fd >= 0 ? fd : -1;
  if (run.PRTFILE.is_open()) run.PRTFILE.close();
  run.PRTFILE.clear();
  run.PRTFILE.open(name, std::ios::out | std::ios::trunc);
  if (!run.PRTFILE.is_open()) error_stop("Cannot open prtfil file");
  run.PRTFILE << run.PRTPENDING.str();
  run.PRTPENDING.str("");
  run.PRTPENDING.clear();
  run.PRT = &run.PRTFILE;
}

// A file or inlet name of the configuration. Design note: names are held in
// CONFIG_NAME_MAX characters; a longer one (possible now that lines are read whole)
// is refused naming its key rather than cut to another file's name.
std::string ConfigReader::name_value(std::string_view key, std::string_view name) const {
  if (name.size() > CONFIG_NAME_MAX) {
    error_stop(std::string(key) + " name longer than " +
               int_text(static_cast<int>(CONFIG_NAME_MAX)) + " characters");
  }
  return std::string(name);
}

void ConfigReader::special_key(std::string_view key, std::string_view value) {
  if (key == "TITLE") {
    c.TITLE = text_n(value, 64);
    lwrite(*run.CON, "Simulation Title: ", trim_right(c.TITLE));
  } else if (key == "INIFILE") {
    c.INIFILE = name_value(key, file_name(value));
    open_input(run, c.INIFILE, "Reading Initial Shoreline: ", run.FINI,
               "Cannot open initial shoreline file");
  } else if (key == "REGFILE") {
    c.REGFILE = name_value(key, file_name(value));
    open_input(run, c.REGFILE, "Reading Regional Shoreline: ", run.FREG,
               "Cannot open regional shoreline file");
  } else if (key == "PRFILE") {
    c.PRFILE = name_value(key, file_name(value));
    open_print_file(c, run, c.PRFILE, inputs);
  } else if (key == "DXFILE") {
    c.DXFILE = name_value(key, file_name(value));  // opened by the grid reader when DX asks for it
    lwrite(*run.CON, "Reading Variable Grid Cell Spacing File: ", c.DXFILE);
  } else if (key == "BYPFILE") {
    c.BYPFILE = name_value(key, file_name(value));
    open_input(run, c.BYPFILE, "Opening Non-uniform Bypass Event Input File: ", run.FBYP,
               "Cannot open bypass event file");
  } else if (key == "CSTUNITS") {
    c.CSTUNITS = text_n(value, 6);
  } else if (key == "WAVUNITS") {
    c.WAVUNITS = text_n(value, 6);
  } else if (key == "INLNAME") {
    if (c.NINL == 0) error_stop("INLNAME given before IINLS");
    c.INLNAME[c.NINL] = name_value(key, file_name(value));
    // The inlet's .irv file goes beside the print file: a name with a path
    // separator would write it elsewhere ("../x" outside the run's folder).
    if (c.INLNAME[c.NINL].find_first_of("/\\") != std::string::npos)
      error_stop("INLNAME " + c.INLNAME[c.NINL] + " holds a path separator");
  } else {
    list_key(key, value);
  }
}

// The data-file lists WAVEID, WLFILE and TIDEFILE. Their items are read in turn
// until one cannot be read; a malformed list is not reported, and the items
// after the first unreadable one keep their values (a file name left blank then
// fails to open with the file's message).
void ConfigReader::list_key(std::string_view key, std::string_view value) {
  std::size_t pos = 0;
  std::string_view item;
  auto next = [&]() { return next_item(value, pos, item); };
  auto name = [&]() { return name_value(key, trim_right(item)); };
  if (key == "WAVEID") {
    const int k = c.NWAVEFILES + 1;
    if (k > MXWAVEF) error_stop("Too many WAVEID entries; maximum is " + int_text(MXWAVEF));
    c.NWAVEFILES = k;
    if (next() && parse_int(item, c.IWAVEID(k)) && next() && parse_real(item, c.WMDEP(k)) &&
        next() && parse_int(item, c.NWAVEV) && next())
      c.WAVEFILE[k] = name();
    open_input(run, c.WAVEFILE[k], "Opening Wave Input File: ",
               run.FWAVE[static_cast<std::size_t>(k)], "Cannot open wave file");
  } else if (key == "WLFILE") {
    if (next() && parse_int(item, c.IWLFILE) && next()) c.WLFILE = name();
    open_input(run, c.WLFILE, "Opening Water Level Input File: ", run.FWL,
               "Cannot open water level file");
  } else if (key == "TIDEFILE") {
    const int k = c.NTIDEFILES + 1;
    if (k > MXTIDEF) error_stop("Too many TIDEFILE entries; maximum is " + int_text(MXTIDEF));
    c.NTIDEFILES = k;
    c.TIDES = true;
    if (next() && parse_int(item, c.ITIDEWALL(k)) && next() && parse_int(item, c.ITIDE2) &&
        next())
      c.TIDEFILE[k] = name();
    if (run.FTIDE.size() <= static_cast<std::size_t>(k)) run.FTIDE.resize(static_cast<std::size_t>(k) + 1);
    open_input(run, c.TIDEFILE[k], "Opening Tidal Current Input File: ",
               run.FTIDE[static_cast<std::size_t>(k)], "Cannot open tidal current file");
  }
}

// The first pass over the configuration: refuses a line longer than
// CONFIG_LINE_MAX by its number, and collects every file name the file gives
// for reading, so that the print file, which is opened when its line is met,
// can be checked against inputs named on later lines too.
void scan_config(std::istream& in, std::string& line, std::vector<std::string>& inputs) {
  std::string key;
  std::string_view value;
  bool cut = false;
  for (int number = 1; read_record(in, line, CONFIG_LINE_MAX, cut); ++number) {
    if (cut) {
      error_stop("Configuration line " + int_text(number) + " longer than " +
                 int_text(static_cast<int>(CONFIG_LINE_MAX)) + " characters");
    }
    if (!split_key_line(line, key, value)) continue;
    if (key == "INIFILE" || key == "REGFILE" || key == "DXFILE" || key == "BYPFILE") {
      inputs.push_back(file_name(value));
    } else if (key == "WAVEID" || key == "WLFILE" || key == "TIDEFILE") {
      // The file name is the list's last item: 4th, 2nd and 3rd.
      const int place = key == "WAVEID" ? 4 : key == "WLFILE" ? 2 : 3;
      std::size_t pos = 0;
      std::string_view item;
      int k = 0;
      while (k < place && next_item(value, pos, item)) ++k;
      if (k == place) inputs.emplace_back(trim_right(item));
    }
  }
}

}  // namespace

bool read_config(Settings& cfg, RunState& run, const std::string& cfgname) {
  const std::string name(trim_right(cfgname));
  if (name.empty()) error_stop("Specify a config file");
  lwrite(*run.CON, "Reading CONFIGFILE: ", name);
  std::ifstream in;
  if (is_regular_input(name)) in.open(name, std::ios::binary);
  if (!in.is_open()) error_stop("Cannot open config file");

  ConfigReader r(cfg, run);
  r.facts.given.assign(static_cast<std::size_t>(config_key_count()), 0);
  std::string line;
  line.reserve(CONFIG_LINE_MAX);
  r.inputs.push_back(name);
  scan_config(in, line, r.inputs);
  if (in.bad()) error_stop("Specify a config file");
  in.clear();
  in.seekg(0);
  bool cut = false;
  while (read_record(in, line, CONFIG_LINE_MAX, cut)) r.process(line);
  if (in.bad()) error_stop("Specify a config file");
  in.close();
  r.count_tip_distances();
  run.INPUTNAMES = r.inputs;
  return config_end_of_file(cfg, run, r.facts);
}

}  // namespace coastra
