// The eight output data files: names, headers, layouts, record values and units.

#include <gtest/gtest.h>

#include "model/file_writer.h"
#include "output/data_files.h"
#include "support/cases.h"
#include "support/run_helpers.h"
#include "support/state_rig.h"

namespace coastra {
namespace {

using test::lines_of;

// A state of nx cells whose data files are open in a scratch directory as run.*.
struct Files : test::StateRig {
  test::ScratchDir dir;
  explicit Files(int nx) {
    m.cfg.NX = nx;
    m.cfg.OUTBASE = dir.file("run.");
    open_data_files(m.cfg, m.output());
  }
  // Line k of a data file (line 0 is its header).
  std::string record(const char* name, std::size_t k = 1) const {
    const auto lines = lines_of(dir.read(name));
    return k < lines.size() ? lines[k] : "<missing>";
  }
};

// The names, headers and the periodic records' values (metres, feet, cubic
// yards) are pinned by every golden case; the base up to the print file's first
// period by the configuration tests.
TEST(DataFiles, NamedFromThePrintFileUpToItsFirstPeriod) {
  EXPECT_EQ(data_file_name("", "slo"), "slo");  // no period in the print-file name
  EXPECT_EQ(data_file_name("      ", "vcx"), "vcx");
  // A file that cannot be created ends the run with its name.
  Files f(1);
  close_data_files(f.m.cfg, f.m.run(), f.m.output());
  f.m.cfg.OUTBASE = f.dir.file("missing/run.");
  EXPECT_EQ(test::stop_message([&] { open_data_files(f.m.cfg, f.m.output()); }),
            "Cannot open output data file " + f.dir.file("missing/run.slo"));
}

TEST(DataFiles, ShorelineIsInterpolatedAcrossInletsInFixedWidthRecords) {
  Files f(100);
  ModelState& m = f.m;
  m.cfg.INLETS = true;
  m.cfg.NINL = 2;
  m.cfg.IINLS(1) = 3;
  m.cfg.IINLE(1) = 4;
  m.cfg.IINLS(2) = 99;  // touches the right end: takes cell 98
  m.cfg.IINLE(2) = 100;
  m.CURDATE = 20240101;
  m.NEXTDATE = 20240102;   // the records carry the date the step ends on
  const double y[] = {1.0, 20.0, 99.0, -99.0, 50.0};
  for (int i = 1; i <= 100; ++i) m.YSHORE(i) = i <= 5 ? y[i - 1] : 1.0 * i;
  write_periodic_records(m);
  close_data_files(m.cfg, m.run(), m.output());
  const std::string slo = f.record("run.slo");
  EXPECT_EQ(slo.size(), 8U + 100U * 14U);
  EXPECT_EQ(slo.substr(0, 8), "20240102");
  EXPECT_EQ(slo.substr(8 + 14, 4 * 14), "         20.00         30.00         40.00         50.00");
  EXPECT_EQ(slo.substr(8 + 97 * 14), "         98.00         98.00         98.00");
}

TEST(DataFiles, FinalRecordsAverageOverTheStepsSimulated) {
  Files f(1);
  ModelState& m = f.m;
  m.NSPERDAY = 4.0F;
  m.NSTSAVE = 4;
  m.NTS = m.ISTEP = 10;
  m.NEXTDATE = 20240103;
  m.VNET(1) = 1000.0;  // over 10 steps of 6 h: 1000 x 365.25 / 2.5 = 146100 a year
  m.VRIGHT(1) = 1500.0;
  m.VLEFT(1) = -500.0;
  write_final_records(m);   // step 10 was not saved: a final state record
  m.ISTEP = 6;
  m.IRUNERR = 1;            // stopped in step 6: 5 steps simulated, no final state
  write_final_records(m);
  m.IRUNERR = 0;
  m.NSTSAVE = 5;
  m.ISTEP = 10;             // step 10 was already saved
  write_final_records(m);
  m.ISTEP = 12;             // past NTS after a change of DT, not saved
  write_final_records(m);
  close_data_files(m.cfg, m.run(), m.output());
  EXPECT_EQ(f.record("run.mqn", 1), "20240103         146100.              0.");
  EXPECT_EQ(f.record("run.mqn", 2), "20240103         292200.              0.");
  EXPECT_EQ(f.record("run.mqr"), "20240103         219150.              0.");
  EXPECT_EQ(f.record("run.mql"), "20240103         -73050.              0.");
  for (const char* name : {"run.slo", "run.qtr", "run.off", "run.vcc", "run.vcx"})
    EXPECT_EQ(lines_of(f.dir.read(name)).size(), 3U) << name;
}

// The record writer's thread: with fewer buffers than texts in flight each
// buffer is reused many times, so a buffer handed out again before its text
// was written, or a text written to another file or out of order, shows in
// the files. A failed write names its stream.
TEST(DataFiles, RecordWriterKeepsEachFilesOrderAndNamesAFailedStream) {
  test::ScratchDir dir;
  std::ofstream a(dir.file("a.txt")), b(dir.file("b.txt"));
  std::string want_a, want_b;
  {
    FileWriter w(2, 64);
    for (int k = 0; k < 500; ++k) {
      std::string& t = w.next();
      t.assign(static_cast<std::size_t>(k % 37), static_cast<char>('a' + k % 26));
      t += std::to_string(k) + '\n';
      (k % 3 == 0 ? want_b : want_a) += t;
      w.post(k % 3 == 0 ? b : a);
    }
  }   // the destructor writes what it still holds
  a.close();
  b.close();
  EXPECT_EQ(dir.read("a.txt"), want_a);
  EXPECT_EQ(dir.read("b.txt"), want_b);

  std::ofstream full;
  full.rdbuf()->pubsetbuf(nullptr, 0);   // unbuffered, as the data files: the write itself fails
  full.open("/dev/full");
  FileWriter w(1, 64);
  w.next() = "record\n";
  w.post(full);
  (void)w.next();   // with one buffer, returns once the write is done
  EXPECT_EQ(w.failed(), &full);
}

}  // namespace
}  // namespace coastra
