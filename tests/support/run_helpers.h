// Test support: a scratch directory with files written from strings, and an
// in-process run of the program in that directory with its console captured.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace coastra {
struct ModelState;
}

namespace coastra::test {

class ScratchDir {
 public:
  ScratchDir();                       // a new empty directory under the system temp dir
  ~ScratchDir();                      // removes it
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return dir_; }
  std::string file(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const;
  std::string read(const std::string& name) const;   // "" when missing
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path dir_;
};

struct RunResult {
  int status = -1;        // exit status the program would return
  std::string console;    // everything written to the console
};

// Runs the program in-process with the given arguments, the working directory
// set to dir for the duration of the run; on state when one is given.
RunResult run_in(const ScratchDir& dir, const std::vector<std::string>& args,
                 ModelState* state = nullptr);

// Runs a shell command in dir with its output in out.txt and err.txt there;
// the exit status (-1 when it did not exit).
int shell(const ScratchDir& dir, const std::string& cmd);
// Copies the files of a folder of the source tree (e.g. "examples/groin_field")
// into dir: those named, or all of them.
void copy_from_tree(const ScratchDir& dir, const std::string& folder,
                    const std::vector<std::string>& names = {});

// The contents of a file ("" when missing).
std::string read_file(const std::filesystem::path& p);
// Lines of a text (without their '\n').
std::vector<std::string> lines_of(const std::string& text);
// True when some line of text equals line exactly.
bool has_line(const std::string& text, const std::string& line);
// How often what occurs in text.
int count_of(const std::string& text, const std::string& what);
// The last line of a text ("" for none).
std::string last_line(const std::string& text);

// A whole run kept as text so that one line can be replaced: 20 cells of 50 m
// under steady 1 m waves, three months of 6-hour steps, with the eight data
// files of an "earlier run" already in the folder (run.slo holds
// "earlier slo", ...).
struct RunCase {
  ScratchDir dir;
  std::string cfg;
  RunCase();
  // Replaces the first line that starts with key (e.g. "PRFILE:") by line.
  void set(const std::string& key, const std::string& line);
  // set(key, lines), or lines appended when key is "".
  void edit(const std::string& key, const std::string& lines);
  RunResult run();   // writes run.cfg and runs it
  // Contents of every regular file of the folder (links followed, devices and
  // directories left out).
  std::map<std::string, std::string> files() const;
};

}  // namespace coastra::test
