// Checks on the files a run reads and writes: an input must be a regular file,
// and no output (the print file and the data files named from it) may be the
// configuration file, an input named in it, or another output.
//   is_regular_input     an input name that may be opened for reading
//   same_file            two names for one file (by identity, not spelling)
//   check_output_names   the print-file and data-file names against the inputs
//   check_output_kind    an output name that is a FIFO, socket, block device or directory
//   lock_print_file      the print file's exclusive lock against another run
#pragma once

#include <string>
#include <vector>

namespace coastra {

// True when name is a regular file (a link to one counts); false for a blank
// name, a name holding a NUL, a missing file, a directory, a FIFO or a device.
bool is_regular_input(const std::string& name);

// True when a and b name the same file: the same device and inode for files
// that exist, else the same path once made absolute and normalised (links in
// the existing part of the path resolved).
bool same_file(const std::string& a, const std::string& b);

// Ends the run, naming PRFILE, when the print file prfile or a data file named
// from outbase is one of inputs (the configuration file first, then every file
// name given in it), or when two of these outputs are one file. Outputs that
// are not regular files (/dev/null, say) may coincide: nothing is overwritten.
void check_output_names(const std::string& prfile, const std::string& outbase,
                        const std::vector<std::string>& inputs);

// Ends the run, naming key, when the output file out (named after the print
// file, such as an inlet's reservoir file) is one of inputs or one of the
// outputs already checked (the print file, the data files from outbase, and
// earlier ones in others).
void check_later_output(const std::string& key, const std::string& out,
                        const std::string& prfile, const std::string& outbase,
                        const std::vector<std::string>& inputs,
                        const std::vector<std::string>& others);

// Ends the run, naming key, when out exists and is a FIFO, a socket or a
// block device: a FIFO would block the run until a reader came, a block device
// would be overwritten. A character device (/dev/null) is taken: it holds
// nothing to destroy and never blocks. (A directory fails to open with the
// output's own message.)
void check_output_kind(const std::string& key, const std::string& out);

// Opens name (created when missing, never truncated here) and takes the
// exclusive write lock of the whole file. Returns the descriptor that holds
// it; LOCK_HELD when another process holds the lock (the file is left as it
// was); LOCK_NONE when no lock applies (not a regular file) or the file cannot
// be opened (its open then fails with its own message).
inline constexpr int LOCK_HELD = -2, LOCK_NONE = -1;
int lock_print_file(const std::string& name);

}  // namespace coastra
