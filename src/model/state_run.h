// Model-state section of the run driver: the console and print-file streams,
// the data files the configuration names, the run's counters and flags.
#pragma once

#include <array>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/constants.h"
#include "model/stage_times.h"

namespace coastra {

class TerminalConsole;   // the console on a terminal (driver/progress.h)

// The descriptor that holds the exclusive lock of the run's print file, so
// that a second run started in the same folder is refused instead of mixing
// its records into this one's. The lock goes with the descriptor: when the
// run ends, or its state is dropped, the file is free again.
struct PrintLock {
  int fd = -1;   // -1: no lock held
  PrintLock() = default;
  PrintLock(const PrintLock&) = delete;
  PrintLock& operator=(const PrintLock&) = delete;
  ~PrintLock() { release(); }
  void release();   // closes fd (model/print_lock.cpp)
};

struct RunState {
  // Text goes to these streams, never straight to std::cout, so tests can capture it.
  std::ostream* CON = &std::cout;       // console
  std::ofstream PRTFILE;                // the print file once PRFILE is read
  std::ostringstream PRTPENDING;        // print-file text written before PRFILE was read
  std::ostream* PRT = &PRTPENDING;      // where print-file text goes now
  std::ofstream NOPRINT;                // never opened: drops the text of a run without print file
  std::vector<std::string> INPUTNAMES;  // the configuration file and every file named in it
                                        // (outputs named later are checked against them)
  TerminalConsole* PROGRESS = nullptr;  // the console when a progress line is drawn on it, else none
  long long PROGT0 = 0;                 // wall clock at the first step (ns, steady clock)
  long long PROGLAST = 0;               // wall clock at the last progress line (ns)
  std::string PROGBUF;                  // the progress line being built

  // data files opened by the configuration reader, read by later stages
  std::ifstream FINI, FREG, FWL, FBYP;
  std::array<std::ifstream, MXWAVEF + 2> FWAVE;   // wave file k on FWAVE[k]
  // Tidal-current file k on FTIDE[k], grown as TIDEFILE lines open them (a stream
  // object is half a kilobyte; MXTIDEF of them would be most of the state's own size).
  std::vector<std::ifstream> FTIDE;

  // counters and flags of the run
  int ISTEP = 0;                  // step number: 0 before the loop, 1..NTS inside it
  double ELAPSED = 0.0;           // elapsed simulation time at the step start (hours)
  int IRUNERR = 0;                // run error flag: 1 stops the simulation, reports still written
  int IPROUT = 1;                 // next PRDATE entry to match
  bool ADAPTED = false;           // DT changed in this step
  int ISTARTDAY = 0;              // whole start day of the clock (start-day mark)
  bool STARTDAY = true;           // the step still belongs to the start day
  bool CALM = false;              // the current step is calm
  StageTimes TIMES;               // time per stage of the loop (--stage-times)
  bool STRICT = false;            // --strict: a warning about a configuration line refuses the run
  bool CHECKONLY = false;         // --check: set-up and its checks only; no file is written
  std::string STOPWHY;            // why the simulation stopped (IRUNERR), the print file's words
  bool STOPSHOWN = false;         // the console already has the line of that stop
  PrintLock PRTLOCK;              // the print file's lock, held for the run
};

}  // namespace coastra
