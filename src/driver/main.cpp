// Program entry: hands the command line to the run sequence.

#include <iostream>
#include <string>
#include <vector>

#include "driver/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return coastra::run_coastra(args, std::cout);
}
