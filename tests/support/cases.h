// Test support: small coasts written as configuration and data files, and a
// reader of the data-file records a run writes.
#pragma once

#include <string>
#include <vector>

namespace coastra::test {

// A data file of the shoreline-file layout: four header lines, ten values a line.
std::string cell_file(const std::vector<double>& values);

// A metric configuration for a coast of nx cells of width dx, with the initial
// shoreline in shore.dat, undated waves in waves.dat (station at cell 1, depth
// 10 m), the run's dates and DT/DTSAVE, print file run.out. Lines appended to
// it override its scalar settings (the last value read wins).
std::string base_config(int nx, double dx, int simdats, int simdate, double dt, double dtsave);

struct Record {
  long long label = 0;          // the date of the record
  std::vector<double> values;   // the values in cell or wall order
};
// The records of a data file (its header line skipped).
std::vector<Record> read_records(const std::string& text);

// Dated six-hourly wave records (1.0 m, 7 s, 10 degrees) from 1 January 2020
// for the given days; record number bad (1-based, 0 for none) has an
// unreadable period.
std::string six_hourly_waves(int days, int bad);

// The value of the total-volume line of a print file (the last one written).
double total_volume_change(const std::string& print_file);

// The number that follows each occurrence of label in text, in order.
std::vector<double> values_after(const std::string& text, const std::string& label);

}  // namespace coastra::test
