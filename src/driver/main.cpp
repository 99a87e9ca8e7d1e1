// Program entry: hands the command line to the run sequence. On a terminal the
// console goes through TerminalConsole, which lets the run draw its progress
// line; redirected, the console is standard output as it is.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "driver/progress.h"
#include "driver/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (isatty(STDOUT_FILENO) == 0) return coastra::run_coastra(args, std::cout);
  coastra::TerminalConsole terminal(std::cout.rdbuf());
  std::ostream console(&terminal);
  const int status = coastra::run_coastra(args, console);
  terminal.wipe();
  console.flush();
  return status;
}
