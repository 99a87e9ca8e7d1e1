// Entry functions of the fuzz targets: each feeds one arbitrary input through a
// reader of the program (configuration, shoreline and grid files, wave records)
// in a scratch directory of its own. An error stop or a silent stop is the
// program's normal refusal and is caught here; anything else (a crash, another
// exception, a sanitizer report) escapes to the fuzzer or the replay test.
#pragma once

#include <cstddef>
#include <cstdint>

namespace coastra::fuzz {

enum class Outcome { ACCEPTED, REFUSED };  // read whole, or stopped by the program

// The input is a configuration file, read by read_config in a scratch directory
// that also holds a small shoreline, regional, grid-spacing and wave file
// (shore.dat, reg.dat, dx.dat, waves.dat). Every '/' of the input is read as
// '_', so the file names it gives (print file included) stay inside that
// directory; it is emptied and refilled before every input.
Outcome config_input(const std::uint8_t* data, std::size_t size);

// Byte 1 sets NX = 1 + byte % 40; byte 2 holds flags: bits 0-1 IREG (0, 1, 3,
// 2), bit 2 variable cell spacing, bit 3 feet, bit 4 regional file left out.
// The rest is split at form feeds into the initial shoreline, regional contour
// and cell-spacing files (missing parts are empty files), then read by
// read_cell_spacing, build_cell_coordinates and read_shoreline_files.
Outcome shoreline_input(const std::uint8_t* data, std::size_t size);

// Byte 1 sets NX = 1 + byte % 16; byte 2 holds flags: bits 0-2 NWAVEV (0 the
// undated form), bits 3-4 DT (1, 0.5, 2, 3 hours), bit 5 wave heights in feet,
// bit 6 IREG 1, bit 7 a second station at wall NX+1 reading the same file.
// The rest is the wave file, read through the start-up of the wave events and
// the wave input, then up to 2 NWAVEV + 3 wave steps of the time-step loop.
Outcome waves_input(const std::uint8_t* data, std::size_t size);

}  // namespace coastra::fuzz
