// Test support: scratch directories and in-process runs.

#include "support/run_helpers.h"

#include <sys/wait.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "driver/run.h"
#include "support/cases.h"

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

int shell(const ScratchDir& dir, const std::string& cmd) {
  const std::string line = "cd '" + dir.path().string() + "' && " + cmd + " >out.txt 2>err.txt";
  const int raw = std::system(line.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

void copy_from_tree(const ScratchDir& dir, const std::string& folder, const std::vector<std::string>& names) {
  const fs::path in = fs::path(COASTRA_SOURCE_DIR) / folder;
  if (!names.empty()) {
    for (const auto& n : names) fs::copy_file(in / n, dir.path() / n);
    return;
  }
  for (const auto& e : fs::directory_iterator(in)) fs::copy_file(e.path(), dir.path() / e.path().filename());
}

std::string read_file(const fs::path& p) {
  std::ifstream is(p, std::ios::binary);
  std::ostringstream ss;
  ss << is.rdbuf();
  return ss.str();
}

std::string ScratchDir::read(const std::string& name) const { return read_file(dir_ / name); }

bool ScratchDir::exists(const std::string& name) const { return fs::exists(dir_ / name); }

RunResult run_in(const ScratchDir& dir, const std::vector<std::string>& args, ModelState* state) {
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  std::ostringstream console;
  RunResult r;
  r.status = state != nullptr ? run_coastra_on(*state, args, console) : run_coastra(args, console);
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

std::string last_line(const std::string& text) {
  const auto lines = lines_of(text);
  return lines.empty() ? "" : lines.back();
}

RunCase::RunCase() : cfg(base_config(20, 50.0, 20200101, 20200401, 6.0, 24.0)) {
  dir.write("shore.dat", cell_file(std::vector<double>(20, 100.0)));
  dir.write("waves.dat", "1.0 7.0 10.0\n");
  for (const char* ext : {"slo", "qtr", "off", "mqn", "mqr", "mql", "vcc", "vcx"})
    dir.write(std::string("run.") + ext, std::string("earlier ") + ext + "\n");
}

void RunCase::edit(const std::string& key, const std::string& lines) {
  if (key.empty()) {
    cfg += lines + "\n";
  } else {
    set(key, lines);
  }
}

void RunCase::set(const std::string& key, const std::string& line) {
  const auto at = cfg.find(key);
  if (at == std::string::npos) throw std::runtime_error("no line " + key + " in the case");
  cfg.replace(at, cfg.find('\n', at) - at, line);
}

RunResult RunCase::run() {
  dir.write("run.cfg", cfg);
  return run_in(dir, {"run.cfg"});
}

std::map<std::string, std::string> RunCase::files() const {
  std::map<std::string, std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(e.path(), ec))
      out[e.path().filename().string()] = dir.read(e.path().filename().string());
  }
  return out;
}

}  // namespace coastra::test
