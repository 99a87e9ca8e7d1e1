// Test support: scratch directories and in-process runs.

#include "support/run_helpers.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "driver/run.h"

namespace coastra::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  dir_ = fs::temp_directory_path() /
         ("coastra_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void ScratchDir::write(const std::string& name, const std::string& text) const {
  std::ofstream os(dir_ / name, std::ios::binary);
  os << text;
}

std::string ScratchDir::read(const std::string& name) const {
  std::ifstream is(dir_ / name, std::ios::binary);
  std::ostringstream ss;
  ss << is.rdbuf();
  return ss.str();
}

bool ScratchDir::exists(const std::string& name) const { return fs::exists(dir_ / name); }

RunResult run_in(const ScratchDir& dir, const std::vector<std::string>& args) {
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  std::ostringstream console;
  RunResult r;
  r.status = run_coastra(args, console);
  fs::current_path(here);
  r.console = console.str();
  return r;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream is(text);
  std::string line;
  while (std::getline(is, line)) out.push_back(line);
  return out;
}

bool has_line(const std::string& text, const std::string& line) {
  for (const auto& l : lines_of(text))
    if (l == line) return true;
  return false;
}

int count_of(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace coastra::test
