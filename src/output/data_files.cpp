// The eight output data files of a run: their names from the print-file name,
// the header lines, the two record layouts (positions F14.2, volumes F16.0),
// the periodic records (slo, qtr, off, vcc, vcx), the transport records of the
// mean-annual files and the end-of-run records; the write checks of every output.
// Routines: open_data_files, write_periodic_records, write_final_records,
// check_output_streams, close_data_files, close_print_file, data_file_name(s),
// write_volume_record.

#include "output/data_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "model/error_stop.h"
#include "output/bookkeeping.h"
#include "output/format.h"
#include "output/netcdf_file.h"

namespace coastra {

namespace {

constexpr double SECONDS_PER_YEAR = 31557600.0;  // 365.25 days x 86400 s

// Record layouts: an I8 time label, then the values. The layout texts kept in
// the state say the same for a reader of the files; the writers below use the
// field sizes directly so no layout is parsed per record.
constexpr int LABEL_WIDTH = 8;
constexpr int POS_WIDTH = 14, POS_DECIMALS = 2;  // position layout F14.2
constexpr int VOL_WIDTH = 16, VOL_DECIMALS = 0;  // volume layout F16.0
constexpr int WRITER_SLOTS = 5;   // record buffers of the writer: the five of a save

struct DataFileEntry {
  std::ofstream OutputState::*file;
  const char* ext;
  const char* header;
};

constexpr DataFileEntry DATA_FILES[] = {
    {&OutputState::SLO, "slo", "Shoreline Position Output"},
    {&OutputState::QTR, "qtr", "Net Transport Rate"},
    {&OutputState::OFF, "off", "Calculated Offshore Contour"},
    {&OutputState::MQN, "mqn", "Mean Annual Net Transport Rate"},
    {&OutputState::MQR, "mqr", "Mean Annual Transport Rate to the Right"},
    {&OutputState::MQL, "mql", "Mean Annual Transport Rate to the Left"},
    {&OutputState::VCC, "vcc", "Volume Change Per Cell"},
    {&OutputState::VCX, "vcx", "Volume Change Per Linear Distance Unit Alongshore"},
};

// Layout text "(I8,nnnnFw.d)" with the value count in four characters.
std::string record_layout(int n, std::string_view field) {
  std::string s = "(I8,";
  edit_i(s, n, 4);
  s += field;
  s += ')';
  return s;
}

// One record: the label and RECVAL(1..n), edited into a buffer of the writer,
// which writes it to the file while the run goes on (or into the reused
// buffer and written at once, when no writer runs).
void write_record(OutputState& out, std::ofstream& file, int label, int n, int w, int d) {
  FileWriter* writer = out.WRITER.get();
  std::string& b = writer != nullptr ? writer->next() : out.RECBUF;
  b.clear();
  edit_i(b, label, LABEL_WIDTH);
  edit_f_fields(b, out.RECVAL.data() + 1, n, w, d);
  b += '\n';
  if (writer != nullptr) {
    writer->post(file);
  } else {
    file.write(b.data(), static_cast<std::streamsize>(b.size()));
  }
}

// Across an inlet (cells first..last) the shoreline file carries the straight
// line between the cells just outside it: inlet cells hold no beach.
// Design note: an inlet that touches an end of the grid has an outside cell on
// one side only; its cells then carry that cell's value. An inlet covering the
// whole grid keeps its own values.
void interpolate_across(Vec1<double>& v, int first, int last, int n) {
  first = std::max(first, 1);
  last = std::min(last, n);
  if (last < first) return;
  const int lo = first - 1;
  const int hi = last + 1;
  if (lo < 1 && hi > n) return;
  for (int j = first; j <= last; ++j) {
    if (lo < 1) {
      v(j) = v(hi);
    } else if (hi > n) {
      v(j) = v(lo);
    } else {
      v(j) = v(lo) + (v(hi) - v(lo)) * static_cast<double>(j - lo) / static_cast<double>(hi - lo);
    }
  }
}

// RECVAL(1..n) = value(i) / div: the record values in the file's unit.
template <class F>
void fill_record(OutputState& out, int n, double div, F value) {
  double* r = out.RECVAL.data();   // r[i] is RECVAL(i); value(i) reads other arrays only
#pragma omp simd
  for (int i = 1; i <= n; ++i) r[i] = value(i) / div;
}

}  // namespace

// Shoreline positions from the baseline in the user's length unit.
void fill_shoreline_record(const Settings& cfg, const InputState& in, const TransportState& tr,
                           OutputState& out) {
  const int nx = cfg.NX;
  const double len = static_cast<double>(in.LENFAC);
  fill_record(out, nx, len,
              [&in, &tr](int i) { return static_cast<double>(in.YREG(i)) + tr.YSHORE(i); });
  if (!cfg.INLETS) return;
  for (int k = 1; k <= std::min(cfg.NINL, MXINL); ++k)
    interpolate_across(out.RECVAL, cfg.IINLS(k), cfg.IINLE(k), nx);
}

std::string data_file_name(std::string_view outbase, std::string_view ext) {
  const auto end = outbase.find_last_not_of(' ');
  std::string name(end == std::string_view::npos ? std::string_view{} : outbase.substr(0, end + 1));
  name += ext;
  return name;
}

std::vector<std::string> data_file_names(std::string_view outbase) {
  std::vector<std::string> names;
  for (const DataFileEntry& f : DATA_FILES) names.push_back(data_file_name(outbase, f.ext));
  return names;
}

// Design note: every data file is checked to be writable before any is
// truncated, so that a run refused for one of them leaves the files of the
// previous run whole (the print file, which says why, is the one replaced).
// The check opens each for appending, which creates a missing file and keeps
// an existing one as it is; files it created are removed again when one fails.
void check_data_files_writable(const Settings& cfg) {
  std::vector<std::string> created;
  for (const DataFileEntry& f : DATA_FILES) {
    const std::string name = data_file_name(cfg.OUTBASE, f.ext);
    std::error_code ec;
    // A link counts as existing even when its target does not: it is the
    // user's, and is never removed.
    const auto type = std::filesystem::symlink_status(name, ec).type();
    const bool existed = type != std::filesystem::file_type::not_found;
    std::ofstream probe(name, std::ios::out | std::ios::app);
    if (probe.is_open()) {
      if (!existed) created.push_back(name);
      continue;
    }
    for (const std::string& c : created) std::filesystem::remove(c, ec);
    error_stop("Cannot open output data file " + name);
  }
}

void open_data_files(const Settings& cfg, OutputState& out) {
  // 1. Create (or replace) the eight files and write their header lines, once
  //    all eight are known to be writable. A file that cannot be created ends
  //    the run with its name, rather than running on and losing every record
  //    written to it.
  check_data_files_writable(cfg);
  for (const DataFileEntry& f : DATA_FILES) {
    const std::string name = data_file_name(cfg.OUTBASE, f.ext);
    std::ofstream& os = out.*f.file;
    // Unbuffered: every record is already one text written with one call, so
    // a stream buffer would only copy it (and hold 8 KB per file).
    os.rdbuf()->pubsetbuf(nullptr, 0);
    os.open(name, std::ios::out | std::ios::trunc);
    if (!os.is_open()) error_stop("Cannot open output data file " + name);
    const std::string line = std::string(f.header) + '\n';
    os.write(line.data(), static_cast<std::streamsize>(line.size()));
  }
  // 2. The two record layouts, n = NX + 1 values at most per record.
  const int n = cfg.NX + 1;
  out.POSFMT = record_layout(n, "F14.2");
  out.VOLFMT = record_layout(n, "F16.0");
  // 3. The record buffers are reserved once: the periodic records never
  //    allocate. The writer has one buffer per record of a save (slo, qtr,
  //    off, vcc, vcx), so a save waits for none of them unless the writes of
  //    the previous save are still running; the mean-annual records of a
  //    yearly report may wait for a buffer once a year.
  const auto longest = static_cast<std::size_t>(LABEL_WIDTH + VOL_WIDTH * n + 1);
  out.RECBUF.reserve(longest);
  //    Design note: a process that may start no more threads (a limit of the
  //    machine) writes its records directly, with the same text.
  try {
    out.WRITER = std::make_unique<FileWriter>(WRITER_SLOTS, longest);
  } catch (const std::system_error&) {
    out.WRITER.reset();
  }
}

void write_periodic_records(ModelState& m) {
  const int nx = m.cfg.NX;
  const int label = m.NEXTDATE;  // the date at the end of the step
  const double len = static_cast<double>(m.LENFAC);
  const double vdiv = volume_divisor(m.input());
  OutputState& out = m.output();
  // slo: shoreline position from the baseline.
  fill_shoreline_record(m.cfg, m.input(), m.transport(), out);
  write_record(out, m.SLO, label, nx, POS_WIDTH, POS_DECIMALS);
  // qtr: net transport of the last transport step as volume per year.
  fill_record(out, nx + 1, vdiv,
              [&m](int i) { return static_cast<double>(m.QNET(i)) * SECONDS_PER_YEAR; });
  write_record(out, m.QTR, label, nx + 1, VOL_WIDTH, VOL_DECIMALS);
  // off: representative offshore contour from the baseline.
  fill_record(out, nx, len, [&m](int i) { return static_cast<double>(m.YSMOOTH(i) + m.YREG(i)); });
  write_record(out, m.OFF, label, nx, POS_WIDTH, POS_DECIMALS);
  // vcc: volume change per cell (m3 or cubic yards).
  fill_record(out, nx, vdiv, [&m](int i) { return m.VOLCELL(i); });
  write_record(out, m.VCC, label, nx, POS_WIDTH, POS_DECIMALS);
  // vcx: volume change per unit length (m3/m or cubic yards per foot).
  fill_record(out, nx, vdiv, [&m, len](int i) { return m.VOLLEN(i) * len; });
  write_record(out, m.VCX, label, nx, POS_WIDTH, POS_DECIMALS);
  write_netcdf_record(m);   // the same record in the NetCDF file, when one is written
  check_output_streams(m.cfg, m.run(), out);
}

// A stream holds its error once a write (or the flush of a full buffer) has
// failed, so looking at its state after each save interval finds a full disk
// within one or two intervals (the writer may still be writing the last
// save's records); the look allocates nothing, flushes nothing and waits for
// nothing. The data files' streams are the writer's while it runs: it says
// which of them failed.
void check_output_streams(const Settings& cfg, const RunState& run, const OutputState& out) {
  if (run.PRTFILE.is_open() && run.PRTFILE.fail()) {
    error_stop("Cannot write print file " + cfg.PRFILE);
  }
  const FileWriter* writer = out.WRITER.get();
  for (const DataFileEntry& f : DATA_FILES) {
    const std::ofstream& os = out.*f.file;
    const bool failed = writer != nullptr ? writer->failed() == &os : os.is_open() && os.fail();
    if (failed) {
      error_stop("Cannot write output data file " + data_file_name(cfg.OUTBASE, f.ext));
    }
  }
}

void write_volume_record(const Settings& cfg, OutputState& out, std::ofstream& file, int label,
                         const Vec1<double>& vol, double factor) {
  const int nwall = cfg.NX + 1;
  for (int i = 1; i <= nwall; ++i) out.RECVAL(i) = vol(i) * factor;
  write_record(out, file, label, nwall, VOL_WIDTH, VOL_DECIMALS);
}

void write_final_records(ModelState& m) {
  // 1. Mean annual transports of the run, in the user's volume unit per year.
  const double f = annual_factor(m.run(), m.input()) / volume_divisor(m.input());
  write_volume_record(m.cfg, m.output(), m.MQN, m.NEXTDATE, m.VNET, f);
  write_volume_record(m.cfg, m.output(), m.MQR, m.NEXTDATE, m.VRIGHT, f);
  write_volume_record(m.cfg, m.output(), m.MQL, m.NEXTDATE, m.VLEFT, f);
  // 2. The final state, unless the last step already wrote it as a periodic
  //    record. Only a run that reached NTS without an error: a stopped step is
  //    half done and its NEXTDATE does not describe the state.
  //    Design note: "reached NTS" is ISTEP >= NTS and "already written" is the
  //    last step's own save test, because a step number recomputed after a
  //    change of DT may jump past NTS; with ISTEP = NTS both read as
  //    "NTS is not a multiple of the steps per save interval".
  const int nstsave = std::max(m.NSTSAVE, 1);
  const bool reached_end = m.NTS > 0 && m.ISTEP >= m.NTS && m.IRUNERR == 0;
  if (reached_end && m.ISTEP % nstsave != 0) write_periodic_records(m);
}

void close_data_files(const Settings& cfg, const RunState& run, OutputState& out) {
  out.WRITER.reset();   // every posted record written, the thread ended
  check_output_streams(cfg, run, out);
  for (const DataFileEntry& f : DATA_FILES) {
    std::ofstream& os = out.*f.file;
    if (!os.is_open()) continue;
    os.close();  // the last flush: a full disk may show only here
    if (os.fail()) {
      error_stop("Cannot write output data file " + data_file_name(cfg.OUTBASE, f.ext));
    }
  }
}

void close_print_file(const Settings& cfg, RunState& run) {
  if (!run.PRTFILE.is_open()) return;
  run.PRTFILE.close();
  if (run.PRTFILE.fail()) error_stop("Cannot write print file " + cfg.PRFILE);
}

}  // namespace coastra
