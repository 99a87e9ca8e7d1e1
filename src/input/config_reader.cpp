// The configuration reader: reads the keyword file line by line into the
// settings record, opens the data files it names as their lines are met, then
// sorts the groins, checks the required items, expands the alongshore
// parameters to the cell walls and derives the unit settings.
//   read_config   the whole file and its end-of-file steps

#include "input/config_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "input/field_reader.h"
#include "model/error_stop.h"
#include "output/format.h"

namespace coastra {

namespace {

constexpr std::size_t LINE_LEN = 255;   // characters kept of a configuration line
constexpr std::size_t KEY_LEN = 15;     // longest keyword
constexpr std::size_t MSG_LINE = 52;    // characters of the line quoted by "Invalid config data: "

// How a value is read.
enum class Kind : unsigned char { INT8, INT, REAL, DOUBLE, LOGICAL, REALS, INTS, SPECIAL };
// Where it is stored: a scalar; a new entry of a list (opens); entry k for the
// k-th line of the key (seq); the latest entry of its list (cur).
enum class Role : unsigned char { SCALAR, OPENS, SEQ, CUR };
// The list an entry belongs to.
enum class Group : unsigned char {
  NONE, NOUT, NNDG, NDG, NDB, KTMET, NSW, NBF, NBP, NINL, NQMAPV, NQMAPQ, NDRED
};
// Extra handling of a few keys beyond storing the value.
enum class Hook : unsigned char {
  NONE, AZIMUTH, INLETS, TRANDB, KTMETDB, ZEROVOL, DDG, IMOR, DREDV
};

using Target = std::variant<std::monostate, int Settings::*, float Settings::*, double Settings::*,
                            bool Settings::*, Vec1<int> Settings::*, Vec1<float> Settings::*,
                            Vec1<double> Settings::*>;

struct KeySpec {
  std::string_view key;
  Kind kind;
  Role role = Role::SCALAR;
  Group group = Group::NONE;
  Target target = {};
  int n = 0;               // items of a REALS / INTS list
  Hook hook = Hook::NONE;
};

// Design note: a list whose count a later set-up check reports with its own
// message (print-out dates, groins, breakwaters, bypass operations) keeps
// counting past its capacity without storing, so that check fires with its
// message; the other lists end the run at their first entry beyond capacity
// with "Too many KEY entries; maximum is N". Nothing is ever written past a list.
struct GroupSpec {
  int Settings::*count;     // the list's entry count (none for the KTMETDB sequence)
  std::string_view opener;  // the key that opens an entry
  int cap;                  // capacity of the list
  bool counts_past;         // keep counting beyond the capacity
};

// In the order of Group.
const GroupSpec GROUPS[] = {
    {nullptr, "", 0, false},            {&Settings::NOUT, "PRDATE", MXOUT, true},
    {&Settings::NNDG, "IXNDG", MXNDG, true}, {&Settings::NDG, "IXDG", MXDG, true},
    {&Settings::NDB, "DBI1", MXDB, true},    {nullptr, "KTMETDB", MXDB, true},
    {&Settings::NSW, "ISWBEG", MXSW, false}, {&Settings::NBF, "BFDATS", MXBF, false},
    {&Settings::NBP, "BPDATS", MXBP, true},  {&Settings::NINL, "IINLS", MXINL, false},
    {&Settings::NQMAPV, "IQMAPV1", MXQMAP, false}, {&Settings::NQMAPQ, "IQMAPQ1", MXQMAP, false},
    {&Settings::NDRED, "IMOR", MXDRED, false},
};

constexpr KeySpec scalar(std::string_view k, Kind kind, Target t, Hook h = Hook::NONE) {
  return {k, kind, Role::SCALAR, Group::NONE, t, 0, h};
}
constexpr KeySpec list(std::string_view k, Vec1<float> Settings::*t, int n) {
  return {k, Kind::REALS, Role::SCALAR, Group::NONE, t, n};
}
constexpr KeySpec list(std::string_view k, Vec1<int> Settings::*t, int n) {
  return {k, Kind::INTS, Role::SCALAR, Group::NONE, t, n};
}
// List entries: integers are 8-character fields, reals free format.
// Design note: QBP, held in double precision, is read straight into a double,
// so a rate written 0.1 keeps its decimal value instead of a float's.
constexpr Kind entry_kind(Vec1<int> Settings::*) { return Kind::INT8; }
constexpr Kind entry_kind(Vec1<float> Settings::*) { return Kind::REAL; }
constexpr Kind entry_kind(Vec1<double> Settings::*) { return Kind::DOUBLE; }
template <class T>
constexpr KeySpec entry(std::string_view k, Role r, Group g, T t, Hook h = Hook::NONE) {
  return {k, entry_kind(t), r, g, t, 0, h};
}
template <class T>
constexpr KeySpec opens(std::string_view k, Group g, T t, Hook h = Hook::NONE) {
  return entry(k, Role::OPENS, g, t, h);
}
template <class T>
constexpr KeySpec seq(std::string_view k, Group g, T t, Hook h = Hook::NONE) {
  return entry(k, Role::SEQ, g, t, h);
}
template <class T>
constexpr KeySpec cur(std::string_view k, Group g, T t, Hook h = Hook::NONE) {
  return entry(k, Role::CUR, g, t, h);
}
constexpr KeySpec special(std::string_view k) { return {k, Kind::SPECIAL}; }

using K = Kind;
using G = Group;
using S = Settings;
constexpr Hook ZV = Hook::ZEROVOL;

const KeySpec KEYS[] = {
    // header, titles, files and units
    special("TITLE"), special("INIFILE"), special("REGFILE"), special("WAVEID"),
    special("WLFILE"), special("TIDEFILE"), special("PRFILE"), special("DXFILE"),
    special("CSTUNITS"), special("WAVUNITS"), special("BYPFILE"), special("INLNAME"),
    scalar("NUMWAVES", K::INT8, &S::NUMWAVES), scalar("KTIDE", K::REAL, &S::KTIDE),
    // grid, time and output control
    scalar("X0", K::REAL, &S::X0), scalar("Y0", K::REAL, &S::Y0),
    scalar("AZIMUTH", K::REAL, &S::AZIMUTH, Hook::AZIMUTH), scalar("NX", K::INT, &S::NX),
    list("DX", &S::DX, MXCELL), scalar("SIMDATS", K::INT8, &S::SIMDATS),
    scalar("SIMDATE", K::INT8, &S::SIMDATE), scalar("DT", K::REAL, &S::DT),
    scalar("DTSAVE", K::REAL, &S::DTSAVE), scalar("PRTOUT", K::LOGICAL, &S::PRTOUT),
    scalar("PRWARN", K::LOGICAL, &S::PRWARN), opens("PRDATE", G::NOUT, &S::PRDATE),
    scalar("DTADAPT", K::INT, &S::DTADAPT), scalar("DTMIN", K::DOUBLE, &S::DTMIN),
    scalar("DTMAX", K::REAL, &S::DTMAX), scalar("NSTABDTMIN", K::REAL, &S::NSTABDTMIN),
    scalar("STABMIN", K::REAL, &S::STABMIN), scalar("STABMAX", K::REAL, &S::STABMAX),
    // transport, waves and profile
    list("K1", &S::K1SEG, MXWALL), list("IK1END", &S::IK1END, MXWALL),
    list("K2", &S::K2SEG, MXWALL), list("IK2END", &S::IK2END, MXWALL),
    list("HAMP", &S::HAMPSEG, MXWALL), list("IHAMPEND", &S::IHAMPEND, MXWALL),
    list("THETAAMP", &S::THETAAMPSEG, MXWALL), list("ITHETAAMPEND", &S::ITHETAAMPEND, MXWALL),
    list("THETADEL", &S::THETADELSEG, MXWALL), list("ITHETADELEND", &S::ITHETADELEND, MXWALL),
    list("BERMHT", &S::BERMHTSEG, MXWALL), list("IBERMHTEND", &S::IBERMHTEND, MXWALL),
    list("DCLOS", &S::DCLOSSEG, MXWALL), list("IDCLOSEND", &S::IDCLOSEND, MXWALL),
    scalar("ISMOOTH", K::INT8, &S::ISMOOTH), scalar("IREG", K::INT8, &S::IREG),
    scalar("GAMMA", K::REAL, &S::GAMMA), scalar("WAVREGANG", K::INT, &S::WAVREGANG),
    scalar("IWAVREGSMOOTH", K::INT, &S::IWAVREGSMOOTH), scalar("D50", K::REAL, &S::D50),
    // lateral boundaries
    scalar("LBCTYPE", K::INT8, &S::LBCTYPE), scalar("LMOVY", K::REAL, &S::LMOVY),
    scalar("LMOVPER", K::INT8, &S::LMOVPER), scalar("LGROINY", K::REAL, &S::LGROINY),
    scalar("RBCTYPE", K::INT8, &S::RBCTYPE), scalar("RMOVY", K::REAL, &S::RMOVY),
    scalar("RMOVPER", K::INT8, &S::RMOVPER), scalar("RGROINY", K::REAL, &S::RGROINY),
    // groins
    opens("IXNDG", G::NNDG, &S::IXNDG), seq("YNDG", G::NNDG, &S::YNDG),
    seq("PNDG", G::NNDG, &S::PNDG), opens("IXDG", G::NDG, &S::IXDG),
    seq("YDG", G::NDG, &S::YDG), seq("DDG", G::NDG, &S::DDG, Hook::DDG),
    seq("PDG", G::NDG, &S::PDG),
    // detached breakwaters
    opens("DBI1", G::NDB, &S::DBI1), seq("DBY1", G::NDB, &S::DBY1),
    seq("DBDEP1", G::NDB, &S::DBDEP1), seq("DBI2", G::NDB, &S::DBI2),
    seq("DBY2", G::NDB, &S::DBY2), seq("DBDEP2", G::NDB, &S::DBDEP2),
    seq("TRANDB", G::NDB, &S::TRANDB, Hook::TRANDB),
    seq("KTMETDB", G::NDB, &S::KTMETDB, Hook::KTMETDB), seq("HDB", G::NDB, &S::HDB),
    seq("BDB", G::NDB, &S::BDB), seq("SSDB", G::NDB, &S::SSDB), seq("SHSDB", G::NDB, &S::SHSDB),
    cur("D50DB", G::KTMET, &S::D50DB), cur("PDB", G::KTMET, &S::PDB),
    scalar("IDB1", K::INT8, &S::IDB1), scalar("IDBN", K::INT8, &S::IDBN),
    // seawalls, water level, beach fills and bypassing
    opens("ISWBEG", G::NSW, &S::ISWBEG), cur("ISWEND", G::NSW, &S::ISWEND),
    seq("SWY1", G::NSW, &S::SWY1), seq("SWY2", G::NSW, &S::SWY2),
    scalar("DTWL", K::REAL, &S::DTWL), opens("BFDATS", G::NBF, &S::BFDATS),
    seq("BFDATE", G::NBF, &S::BFDATE), seq("IBFS", G::NBF, &S::IBFS),
    seq("IBFE", G::NBF, &S::IBFE), seq("YADD", G::NBF, &S::YADD),
    scalar("QQDATS", K::INT8, &S::QQDATS), scalar("QQDATE", K::INT8, &S::QQDATE),
    scalar("IQQS", K::INT8, &S::IQQS), scalar("IQQE", K::INT8, &S::IQQE),
    opens("BPDATS", G::NBP, &S::BPDATS), seq("BPDATE", G::NBP, &S::BPDATE),
    seq("IBPS", G::NBP, &S::IBPS), seq("IBPE", G::NBP, &S::IBPE), seq("QBP", G::NBP, &S::QBP),
    // inlets
    opens("IINLS", G::NINL, &S::IINLS, Hook::INLETS), seq("IINLE", G::NINL, &S::IINLE),
    seq("IBYPL1", G::NINL, &S::IBYPL1), seq("IBYPL2", G::NINL, &S::IBYPL2),
    seq("IBYPR1", G::NINL, &S::IBYPR1), seq("IBYPR2", G::NINL, &S::IBYPR2),
    seq("VVSE", G::NINL, &S::VVSE), seq("VVSF", G::NINL, &S::VVSF),
    seq("VVSBL", G::NINL, &S::VVSBL), seq("VVSBR", G::NINL, &S::VVSBR),
    seq("VVSAL", G::NINL, &S::VVSAL), seq("VVSAR", G::NINL, &S::VVSAR),
    seq("VVSEQ", G::NINL, &S::VVSEQ, ZV), seq("VVSFQ", G::NINL, &S::VVSFQ, ZV),
    seq("VVSBQL", G::NINL, &S::VVSBQL, ZV), seq("VVSBQR", G::NINL, &S::VVSBQR, ZV),
    seq("VVSAQL", G::NINL, &S::VVSAQL, ZV), seq("VVSAQR", G::NINL, &S::VVSAQR, ZV),
    seq("YINLL", G::NINL, &S::YINLL), seq("YINLR", G::NINL, &S::YINLR),
    cur("JBCL", G::NINL, &S::JBCL), cur("JBCR", G::NINL, &S::JBCR),
    opens("IMOR", G::NDRED, &S::IMOR, Hook::IMOR), cur("IDREDS", G::NDRED, &S::IDREDS),
    cur("IDREDE", G::NDRED, &S::IDREDE), scalar("DRDAY", K::REAL, &S::DRDAY),
    cur("DREDV", G::NDRED, &S::DREDV, Hook::DREDV),
    // sediment-budget cells
    opens("IQMAPV1", G::NQMAPV, &S::IQMAPV1), cur("IQMAPV2", G::NQMAPV, &S::IQMAPV2),
    opens("IQMAPQ1", G::NQMAPQ, &S::IQMAPQ1), cur("IQMAPQ2", G::NQMAPQ, &S::IQMAPQ2),
};
constexpr std::size_t NKEYS = std::size(KEYS);

int key_index(std::string_view key) {
  for (std::size_t i = 0; i < NKEYS; ++i)
    if (KEYS[i].key == key) return static_cast<int>(i);
  return -1;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_left(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  return s;
}
std::string_view trim_right(std::string_view s) {
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
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
  explicit ConfigReader(ModelState& state) : m(state), c(state.cfg) {}
  ModelState& m;
  Settings& c;
  std::string_view line;                 // the line being read (for messages)
  std::array<int, NKEYS> seqcount{};     // lines read so far of each seq key
  int ktmet_key = key_index("KTMETDB");
  float lastddg = 0.0F;                  // most recent DDG value (0 when none)

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
    return c.*GROUPS[static_cast<int>(g)].count;
  }

  void process(std::string_view raw);
  bool parse(const KeySpec& ks, std::string_view value, Value& v) const;
  int entry_index(const KeySpec& ks, std::size_t idx);
  void store(const KeySpec& ks, int k, const Value& v);
  void after_store(const KeySpec& ks, int k);
  void special_key(std::string_view key, std::string_view value);
  void list_key(std::string_view key, std::string_view value);
  bool end_of_file();
};

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
    case Kind::REALS: {
      auto& vec = c.*std::get<Vec1<float> Settings::*>(ks.target);
      read_reals(value, vec.data() + 1, std::min(ks.n, vec.n()), bad);
      break;
    }
    case Kind::INTS: {
      auto& vec = c.*std::get<Vec1<int> Settings::*>(ks.target);
      read_ints(value, vec.data() + 1, std::min(ks.n, vec.n()), bad);
      break;
    }
    case Kind::SPECIAL: break;
  }
  if (bad) invalid();
  return got > 0 && ks.kind != Kind::REALS && ks.kind != Kind::INTS;
}

// The list entry a value goes to: 0 for a scalar, -1 when it is counted but not
// stored (beyond the capacity of a list that keeps counting).
int ConfigReader::entry_index(const KeySpec& ks, std::size_t idx) {
  if (ks.role == Role::SCALAR) return 0;
  const GroupSpec& g = GROUPS[static_cast<int>(ks.group)];
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
    k = ++seqcount[idx];
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
  const std::size_t colon = raw.find(':');
  if (colon == std::string_view::npos) return;
  // The keyword starts in column 1: an indented keyword matches nothing.
  const std::string_view field = trim_right(raw.substr(0, colon));
  if (field.size() > KEY_LEN) return;
  char buf[KEY_LEN];
  for (std::size_t i = 0; i < field.size(); ++i)
    buf[i] = (field[i] >= 'a' && field[i] <= 'z') ? static_cast<char>(field[i] - 32) : field[i];
  const std::string_view key(buf, field.size());
  if (key == "COASTRA") {
    c.HEADER = true;
    return;
  }
  const std::string_view value = trim_left(raw.substr(colon + 1));
  if (trim_right(value).empty()) return;
  const int idx = key_index(key);
  if (idx < 0) return;  // comments and unknown keys
  const KeySpec& ks = KEYS[idx];
  if (ks.kind == Kind::SPECIAL) {
    special_key(ks.key, value);
    return;
  }
  Value v;
  const bool has = parse(ks, value, v);
  if (ks.kind == Kind::REALS || ks.kind == Kind::INTS) return;
  const int k = entry_index(ks, static_cast<std::size_t>(idx));
  // Settings that follow the line even when its entry is beyond capacity.
  if (ks.hook == Hook::TRANDB) c.TRANMODE = 0;
  if (ks.hook == Hook::KTMETDB) c.TRANMODE = 1;
  if (ks.hook == Hook::DDG && has) lastddg = v.f;
  if (k < 0 || !has) return;
  if (ks.hook == Hook::ZEROVOL && v.f == 0.0F) {
    // A zero equilibrium volume would divide by zero in the reservoir model.
    v.f = 0.00001F;
    const std::string msg = std::string(ks.key) + " cannot = 0; resetting to 0.00001";
    lwrite(m.con(), msg);
    lwrite(m.prt(), msg);
  }
  if (ks.hook == Hook::DREDV) {
    // Total volume over DRDAY days to a volume per time step of DT hours; a DT
    // not yet read (0) gives 0.
    // Design note: a DRDAY of 0 (or never given) would divide by zero and a
    // negative one has no meaning, so the run stops naming DRDAY.
    if (!(c.DRDAY > 0.0F)) error_stop("DRDAY must be > 0 before DREDV");
    v.f = v.f / c.DRDAY / 24.0F * c.DT;
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

// Opens a file named in the configuration; a blank name, a directory or a file
// that cannot be opened ends the run with the file's message. A key given twice
// reopens its stream on the later file.
template <class F>
void open_named(F& f, const std::string& name, std::ios::openmode mode, std::string_view fail) {
  if (f.is_open()) f.close();
  f.clear();
  std::error_code ec;
  if (name.empty() || std::filesystem::is_directory(name, ec)) error_stop(fail);
  f.open(name, mode);
  if (!f.is_open()) error_stop(fail);
}

// A data file: its console line, then the file opened for reading.
void open_input(ModelState& m, const std::string& name, std::string_view console,
                std::ifstream& f, std::string_view fail) {
  lwrite(m.con(), console, name);
  open_named(f, name, std::ios::in, fail);
}

// Opens the print file, moves into it what was written for it before its name
// was known, and derives IDOT and OUTBASE from its name.
// Design note: the period that ends OUTBASE is the first one of the file's own
// name, after the last '/': a name like "./run.prt" or "../out/run.prt" then
// gives the data files "./run.slo" or "../out/run.slo" beside the print file,
// not hidden files ".slo" in the working directory. For a name without a
// directory this is the first period of the name.
void open_print_file(ModelState& m, const std::string& name) {
  open_named(m.PRTFILE, name, std::ios::out | std::ios::trunc, "Cannot open prtfil file");
  m.PRTFILE << m.PRTPENDING.str();
  m.PRTPENDING.str("");
  m.PRTPENDING.clear();
  m.PRT = &m.PRTFILE;

  Settings& c = m.cfg;
  const std::size_t slash = name.rfind('/');
  const std::size_t dot = name.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot == std::string::npos) {
    c.IDOT = 256;
    c.OUTBASE.clear();
  } else {
    c.IDOT = static_cast<int>(dot) + 1;
    c.OUTBASE = name.substr(0, dot + 1);
  }
}

void ConfigReader::special_key(std::string_view key, std::string_view value) {
  if (key == "TITLE") {
    c.TITLE = text_n(value, 64);
    lwrite(m.con(), "Simulation Title: ", trim_right(c.TITLE));
  } else if (key == "INIFILE") {
    c.INIFILE = file_name(value);
    open_input(m, c.INIFILE, "Reading Initial Shoreline: ", m.FINI,
               "Cannot open initial shoreline file");
  } else if (key == "REGFILE") {
    c.REGFILE = file_name(value);
    open_input(m, c.REGFILE, "Reading Regional Shoreline: ", m.FREG,
               "Cannot open regional shoreline file");
  } else if (key == "PRFILE") {
    c.PRFILE = file_name(value);
    open_print_file(m, c.PRFILE);
  } else if (key == "DXFILE") {
    c.DXFILE = file_name(value);  // opened by the grid reader when DX asks for it
    lwrite(m.con(), "Reading Variable Grid Cell Spacing File: ", c.DXFILE);
  } else if (key == "BYPFILE") {
    c.BYPFILE = file_name(value);
    open_input(m, c.BYPFILE, "Opening Non-uniform Bypass Event Input File: ", m.FBYP,
               "Cannot open bypass event file");
  } else if (key == "CSTUNITS") {
    c.CSTUNITS = text_n(value, 6);
  } else if (key == "WAVUNITS") {
    c.WAVUNITS = text_n(value, 6);
  } else if (key == "INLNAME") {
    if (c.NINL == 0) error_stop("INLNAME given before IINLS");
    c.INLNAME[c.NINL] = file_name(value);
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
  auto name = [&]() { return std::string(trim_right(item)); };
  if (key == "WAVEID") {
    const int k = c.NWAVEFILES + 1;
    if (k > MXWAVEF) error_stop("Too many WAVEID entries; maximum is " + int_text(MXWAVEF));
    c.NWAVEFILES = k;
    if (next() && parse_int(item, c.IWAVEID(k)) && next() && parse_real(item, c.WMDEP(k)) &&
        next() && parse_int(item, c.NWAVEV) && next())
      c.WAVEFILE[k] = name();
    open_input(m, c.WAVEFILE[k], "Opening Wave Input File: ", m.FWAVE[static_cast<std::size_t>(k)],
               "Cannot open wave file");
  } else if (key == "WLFILE") {
    if (next() && parse_int(item, c.IWLFILE) && next()) c.WLFILE = name();
    open_input(m, c.WLFILE, "Opening Water Level Input File: ", m.FWL,
               "Cannot open water level file");
  } else if (key == "TIDEFILE") {
    const int k = c.NTIDEFILES + 1;
    if (k > MXTIDEF) error_stop("Too many TIDEFILE entries; maximum is " + int_text(MXTIDEF));
    c.NTIDEFILES = k;
    c.TIDES = true;
    if (next() && parse_int(item, c.ITIDEWALL(k)) && next() && parse_int(item, c.ITIDE2) &&
        next())
      c.TIDEFILE[k] = name();
    open_input(m, c.TIDEFILE[k], "Opening Tidal Current Input File: ",
               m.FTIDE[static_cast<std::size_t>(k)], "Cannot open tidal current file");
  }
}

// Selection sort of a groin list by wall: the smallest remaining wall (the
// first among equals) is swapped into place, its attributes with it; ord keeps
// each groin's position in file order.
template <class... A>
void sort_by_wall(int n, Vec1<int>& ix, Vec1<int>& ord, A&... attr) {
  for (int k = 1; k <= n; ++k) ord(k) = k;
  for (int i = 1; i < n; ++i) {
    int jmin = i;
    for (int j = i + 1; j <= n; ++j)
      if (ix(j) < ix(jmin)) jmin = j;
    if (jmin == i) continue;
    std::swap(ix(i), ix(jmin));
    std::swap(ord(i), ord(jmin));
    (std::swap(attr(i), attr(jmin)), ...);
  }
}

// One alongshore parameter from its segment values and segment end cells to the
// walls 1..NX+1. Segment j runs from the wall after end cell j-1 to end cell j;
// an end cell equal to NX, or a 0 (no further end cell), runs the segment to
// the last wall. Walls beyond NX+1 (and beyond the capacity, when NX is too
// large, which set-up reports) are never filled, nor walls below 1 when end
// cells are out of order.
void expand_alongshore(ModelState& m, const Vec1<float>& seg, const Vec1<int>& ends,
                       Vec1<float>& wall, std::string_view name, std::string_view endname) {
  const int nx = m.cfg.NX;
  const int last = std::min(nx + 1, MXWALL);
  if (ends(1) == 0) {
    const std::string msg =
        "No " + std::string(endname) + " specified. " + std::string(name) +
        " is constant alongshore";
    lwrite(m.con(), msg);
    lwrite(m.prt(), msg);
    for (int i = 1; i <= last; ++i) wall(i) = seg(1);
    return;
  }
  int start = 1;
  for (int j = 1; j <= last; ++j) {
    const int e = ends(j);
    const bool to_end = e == nx || e == 0;
    const int stop = to_end ? last : std::min(e, last);
    for (int i = std::max(start, 1); i <= stop; ++i) wall(i) = seg(j);
    if (to_end) break;
    start = e + 1;
  }
}

// Left-adjusted, lower case, 6 characters: the form the unit texts are held in.
std::string unit_text(const std::string& s) {
  std::string t(trim_left(s));
  for (char& ch : t)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  t.resize(6, ' ');
  return t;
}
// 2 for feet "(ft)", 1 for metres "(m)", 0 for anything else.
int unit_kind(const std::string& t) {
  if (t[1] == 'f' && t[2] == 't') return 2;
  if (t[1] == 'm') return 1;
  return 0;
}

bool ConfigReader::end_of_file() {
  // Design note: the text settings are held at their full width, as the
  // reports lay them out: TITLE 64 characters, the unit texts 6 (left-adjusted
  // and lower case, below); a name (file or inlet) is held without trailing blanks.
  c.TITLE.resize(64, ' ');
  // 1. Groins in ascending wall order (only the stored entries: a count beyond
  // capacity is reported by set-up).
  sort_by_wall(std::min(c.NNDG, MXNDG), c.IXNDG, c.INDGORD, c.YNDG, c.PNDG);
  sort_by_wall(std::min(c.NDG, MXDG), c.IXDG, c.IDGORD, c.YDG, c.DDG, c.PDG);
  // 2.-4. Required items.
  if (!c.HEADER) error_stop("Configuration file not targeted for Coastra");
  if (c.INIFILE.empty()) error_stop("Initial Shoreline filename omitted in config file");
  if (c.NWAVEFILES == 0 || c.WAVEFILE[c.NWAVEFILES].empty())
    error_stop("WAVEINFILE filename omitted in config file");
  // 5. Diffraction needs the depth at the groin tips.
  if (c.NDG > 0 && lastddg == 0.0F) {
    lwrite(m.con(),
           "Diffracting groin depth file DDG omitted or set to             zero in config file");
    return false;
  }
  // 6. Alongshore parameters per wall.
  expand_alongshore(m, c.K1SEG, c.IK1END, c.K1, "K1", "IK1END");
  expand_alongshore(m, c.K2SEG, c.IK2END, c.K2, "K2", "IK2END");
  expand_alongshore(m, c.HAMPSEG, c.IHAMPEND, c.HAMP, "HAMP", "IHAMPEND");
  expand_alongshore(m, c.THETAAMPSEG, c.ITHETAAMPEND, c.THETAAMP, "THETAAMP", "ITHETAAMPEND");
  expand_alongshore(m, c.THETADELSEG, c.ITHETADELEND, c.THETADEL, "THETADEL", "ITHETADELEND");
  expand_alongshore(m, c.BERMHTSEG, c.IBERMHTEND, c.BERMHT, "BERMHT", "IBERMHTEND");
  expand_alongshore(m, c.DCLOSSEG, c.IDCLOSEND, c.DCLOS, "DCLOS", "IDCLOSEND");
  // 7. Print file.
  if (c.PRTOUT && c.PRFILE.empty()) error_stop("PRTFILE filename omitted in config file");
  // 8. Warnings flag.
  c.IPRWARN = c.PRWARN ? 1 : 0;
  // 9. Units of the model lengths and of the wave heights.
  c.CSTUNITS = unit_text(c.CSTUNITS);
  switch (unit_kind(c.CSTUNITS)) {
    case 2: c.UNITSYS = 2; c.ENGLISH = true; c.VOLLABEL = "CY"; break;
    case 1: c.UNITSYS = 1; c.ENGLISH = false; c.VOLLABEL = "M3"; break;
    default: error_stop("CSTUNITS must be (ft) or (m)");
  }
  c.WAVUNITS = unit_text(c.WAVUNITS);
  switch (unit_kind(c.WAVUNITS)) {
    case 2: c.WAVEFAC = 0.3048F; break;
    case 1: c.WAVEFAC = 1.0F; break;
    default: error_stop("WAVUNITS must be (ft) or (m)");
  }
  // 10. Dates and steps.
  if (c.SIMDATE < c.SIMDATS) error_stop("SIMDATE must be >= SIMDATS");
  if (c.DT <= 0.0F) error_stop("DT must be > 0.");
  if (c.DTSAVE <= 0.0F) error_stop("DTSAVE must be > 0.");
  return true;
}

}  // namespace

bool read_config(ModelState& m, const std::string& cfgname) {
  const std::string name(trim_right(cfgname));
  if (name.empty()) error_stop("Specify a config file");
  lwrite(m.con(), "Reading CONFIGFILE: ", name);
  std::ifstream in;
  std::error_code ec;
  if (!std::filesystem::is_directory(name, ec)) in.open(name, std::ios::binary);
  if (!in.is_open()) error_stop("Cannot open config file");

  ConfigReader r(m);
  std::string line;
  line.reserve(LINE_LEN);
  while (read_record(in, line, LINE_LEN)) r.process(line);
  if (in.bad()) error_stop("Specify a config file");
  in.close();
  return r.end_of_file();
}

}  // namespace coastra
