// Checks on input and output file names: regular inputs only, outputs that
// never overwrite an input or each other. Files are compared by identity
// (device and inode) so that "./run.cfg", "../d/run.cfg" and a hard or
// symbolic link to it are all recognised as run.cfg.
//   is_regular_input, same_file, check_output_names

#include "input/file_checks.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "model/error_stop.h"
#include "output/data_files.h"

namespace coastra {

namespace fs = std::filesystem;

bool is_regular_input(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return false;
  std::error_code ec;
  return fs::is_regular_file(name, ec);
}

bool same_file(const std::string& a, const std::string& b) {
  if (a == b) return true;
  if (a.find('\0') != std::string::npos || b.find('\0') != std::string::npos) return false;
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  // One of them does not exist yet: compare the normalised absolute paths.
  const fs::path pa = fs::weakly_canonical(fs::absolute(a, ec), ec);
  if (ec) return false;
  const fs::path pb = fs::weakly_canonical(fs::absolute(b, ec), ec);
  return !ec && pa == pb;
}

namespace {

// An output that exists and is not a regular file (a device, a FIFO) holds no
// data that a second writer could destroy.
bool special_output(const std::string& name) {
  std::error_code ec;
  const fs::file_status st = fs::status(name, ec);
  return !ec && fs::exists(st) && !fs::is_regular_file(st);
}

}  // namespace

void check_output_kind(const std::string& key, const std::string& out) {
  std::error_code ec;
  const fs::file_status st = fs::status(out, ec);
  if (ec || !fs::exists(st)) return;
  if (fs::is_fifo(st) || fs::is_socket(st) || fs::is_block_file(st))
    error_stop(key + " output " + out + " is not a regular file");
}

// Design note: the lock is a POSIX record lock of the whole file, which
// another process cannot take while this one holds it (a second run started
// in the folder is refused by name) and which goes when the process ends,
// however it ends: a run that crashed or was killed never leaves a stale
// lock behind. The file is opened without truncation so that a refused run
// leaves the running one's print file whole; the caller truncates it once the
// lock is held. A record lock is also dropped when the process closes any
// descriptor of the file: a run without print file (PRTOUT false), which
// empties and closes it at set-up, holds no lock after that.
int lock_print_file(const std::string& name) {
  std::error_code ec;
  const fs::file_status st = fs::status(name, ec);
  if (!ec && fs::exists(st) && !fs::is_regular_file(st)) return LOCK_NONE;
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return LOCK_NONE;
  struct flock lk {};
  lk.l_type = F_WRLCK;
  lk.l_whence = SEEK_SET;   // l_start 0, l_len 0: the whole file, however long
  if (::fcntl(fd, F_SETLK, &lk) == 0) return fd;
  const int err = errno;
  ::close(fd);
  return (err == EACCES || err == EAGAIN) ? LOCK_HELD : LOCK_NONE;
}

void check_later_output(const std::string& key, const std::string& out,
                        const std::string& prfile, const std::string& outbase,
                        const std::vector<std::string>& inputs,
                        const std::vector<std::string>& others) {
  check_output_kind(key, out);
  for (const std::string& in : inputs) {
    if (!in.empty() && same_file(out, in))
      error_stop(key + " output " + out + " would overwrite input file " + in);
  }
  if (special_output(out)) return;
  std::vector<std::string> outputs{prfile};
  for (const std::string& name : data_file_names(outbase)) outputs.push_back(name);
  outputs.insert(outputs.end(), others.begin(), others.end());
  for (const std::string& o : outputs) {
    if (same_file(out, o)) error_stop(key + " outputs " + o + " and " + out + " are one file");
  }
}

void check_output_names(const std::string& prfile, const std::string& outbase,
                        const std::vector<std::string>& inputs) {
  std::vector<std::string> outputs{prfile};
  for (const std::string& name : data_file_names(outbase)) outputs.push_back(name);
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    const std::string& out = outputs[i];
    check_output_kind("PRFILE", out);
    for (const std::string& in : inputs) {
      if (!in.empty() && same_file(out, in)) {
        error_stop("PRFILE output " + out + " would overwrite input file " + in);
      }
    }
    if (special_output(out)) continue;
    for (std::size_t j = 0; j < i; ++j) {
      if (same_file(out, outputs[j])) {
        error_stop("PRFILE outputs " + outputs[j] + " and " + out + " are one file");
      }
    }
  }
}

}  // namespace coastra
