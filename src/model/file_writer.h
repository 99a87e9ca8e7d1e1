// Asynchronous writer of the data records: the time loop edits a record into
// one of the writer's buffers and posts it with its file; the writer's thread
// hands it to the kernel while the loop goes on with the next steps.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace coastra {

// Design note: a record is some 60 KB of text on a 4000-cell coast, and
// copying the records of a save into the page cache took about half the
// output time of a run that records every day. The copy does not need the
// loop: a thread of its own does it, and the loop waits for it only when
// every buffer is still being written, and at the end of the run, when the
// writer is destroyed: it writes what it holds before the streams close.
// Records reach each file in the order they were posted, so every file holds
// the same text as with direct writes. The writer waits passively (a
// condition variable), so it takes no processor time between saves.
class FileWriter {
 public:
  // slots buffers, each reserved for capacity characters once here.
  FileWriter(int slots, std::size_t capacity);
  // Writes what was posted, then ends the thread.
  ~FileWriter();
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;

  // An empty buffer for the next text; waits while every buffer is posted
  // and not yet written.
  std::string& next();
  // Posts the buffer that next() returned, to be written to os after the
  // texts posted before it. The stream belongs to the writer from here on,
  // until the writer is destroyed: the caller neither writes to it nor looks
  // at its state.
  void post(std::ofstream& os);
  // The first stream whose write failed, among the texts written so far
  // (nullptr while none has).
  const std::ofstream* failed() const { return failed_.load(std::memory_order_acquire); }

 private:
  void loop();

  std::vector<std::string> text_;      // the buffers, used in turn
  std::vector<std::ofstream*> dest_;   // the stream of each posted buffer
  std::size_t posted_ = 0;             // texts posted so far (guarded by mutex_)
  std::size_t written_ = 0;            // texts written so far (guarded by mutex_)
  bool stop_ = false;                  // the destructor asks the thread to end
  std::atomic<const std::ofstream*> failed_{nullptr};
  std::mutex mutex_;
  std::condition_variable work_;       // posted_ moved, or stop_
  std::condition_variable done_;       // written_ moved
  std::thread thread_;                 // last: started once the rest is built
};

}  // namespace coastra
