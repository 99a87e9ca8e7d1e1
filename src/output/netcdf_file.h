// The NetCDF file of a run (CF conventions): the shoreline, transport, offshore
// contour and volume-change records of the data files along an unlimited time
// dimension, written at each save interval and synced, so that a run stopped
// at any point leaves a valid file; the mean-annual transports at the end.
// Routines: netcdf_available, open_netcdf_file, write_netcdf_record,
// write_netcdf_final, close_netcdf_file.
#pragma once

#include "model/state.h"

namespace coastra {

bool netcdf_available();                  // the build has the NetCDF library
// Creates out.NCFILE (when not blank) with its dimensions, coordinates and the
// configuration file's keys as global attributes.
void open_netcdf_file(const Settings& cfg, const InputState& in, OutputState& out,
                      const std::string& cfgname);
void write_netcdf_record(ModelState& m);  // one time record, after the data files' one
// The mean-annual transports of the run (VNET, VRIGHT, VLEFT).
void write_netcdf_final(const Settings& cfg, const RunState& run, const InputState& in,
                        OutputState& out);
// Closes the file if open (NCID); with check, a failure ends the run naming the file.
void close_netcdf_file(OutputState& out, bool check);

}  // namespace coastra
