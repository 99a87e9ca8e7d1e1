// The key table of the configuration file, with the capacities of its lists.
// The table checks its own consistency when it is compiled (unique keys, one
// opening key per list, roles and lists that agree, positive capacities).
// Defines find_key, config_key, config_key_count and group_spec.

#include "input/config_keys.h"

#include <iterator>

namespace coastra {

namespace {

// In the order of Group.
constexpr GroupInfo GROUPS[] = {
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
template <class T>
constexpr KeySpec first(std::string_view k, Group g, T t) {
  return entry(k, Role::FIRST, g, t, Hook::QQKEY);
}
constexpr KeySpec special(std::string_view k) { return {k, Kind::SPECIAL}; }

using K = Kind;
using G = Group;
using S = Settings;
constexpr Hook ZV = Hook::ZEROVOL;

constexpr KeySpec KEYS[] = {
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
    scalar("XSHORE", K::INT, &S::XSHORE),
    list("XSS", &S::XSSSEG, MXWALL), list("IXSSEND", &S::IXSSEND, MXWALL),
    list("XSKACC", &S::XSKACCSEG, MXWALL), list("IXSKACCEND", &S::IXSKACCEND, MXWALL),
    list("XSKERO", &S::XSKEROSEG, MXWALL), list("IXSKEROEND", &S::IXSKEROEND, MXWALL),
    list("XSEREF", &S::XSEREFSEG, MXWALL), list("IXSEREFEND", &S::IXSEREFEND, MXWALL),
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
    // The QQ keys are the same four values of bypass operation 1.
    first("QQDATS", G::NBP, &S::BPDATS), first("QQDATE", G::NBP, &S::BPDATE),
    first("IQQS", G::NBP, &S::IBPS), first("IQQE", G::NBP, &S::IBPE),
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

// ---- compile-time checks of the table ----

consteval bool keys_unique() {
  for (std::size_t i = 0; i < std::size(KEYS); ++i)
    for (std::size_t j = i + 1; j < std::size(KEYS); ++j)
      if (KEYS[i].key == KEYS[j].key) return false;
  return true;
}

// A scalar or special key belongs to no list; every list role names a list.
consteval bool roles_match_groups() {
  for (const KeySpec& k : KEYS) {
    const bool in_list = k.group != Group::NONE;
    if (in_list != (k.role != Role::SCALAR)) return false;
    if (k.kind == Kind::SPECIAL && (k.role != Role::SCALAR || k.hook != Hook::NONE)) return false;
    if ((k.kind == Kind::REALS || k.kind == Kind::INTS) != (k.n > 0)) return false;
    if (k.n > MXWALL) return false;   // no REALS / INTS list is longer than the walls
  }
  return true;
}

// Every list but NONE has a positive capacity and an opening key in the table;
// a list with an entry count has exactly one key that opens its entries, and it
// is the opener named in GROUPS.
consteval bool lists_open_once() {
  for (std::size_t g = 1; g < std::size(GROUPS); ++g) {
    const GroupInfo& group = GROUPS[g];
    if (group.cap <= 0) return false;
    int openers = 0;
    bool named_opener_found = false;
    for (const KeySpec& k : KEYS) {
      if (k.key == group.opener) named_opener_found = true;
      if (static_cast<std::size_t>(k.group) != g || k.role != Role::OPENS) continue;
      ++openers;
      if (k.key != group.opener) return false;
    }
    if (!named_opener_found) return false;
    if (group.count != nullptr && openers != 1) return false;
  }
  return true;
}

static_assert(std::size(GROUPS) == static_cast<std::size_t>(Group::NDRED) + 1,
              "one GROUPS entry per Group, in its order");
static_assert(GROUPS[0].count == nullptr && GROUPS[0].cap == 0, "Group::NONE has no list");
static_assert(keys_unique(), "every configuration key appears once in the table");
static_assert(roles_match_groups(), "list roles name a list, scalars and specials none");
static_assert(lists_open_once(), "every list has its opening key, and only one");

}  // namespace

int find_key(std::string_view key) {
  for (std::size_t i = 0; i < std::size(KEYS); ++i)
    if (KEYS[i].key == key) return static_cast<int>(i);
  return -1;
}

const KeySpec& config_key(int index) { return KEYS[index]; }

int config_key_count() { return static_cast<int>(std::size(KEYS)); }

const GroupInfo& group_spec(Group g) { return GROUPS[static_cast<int>(g)]; }

}  // namespace coastra
