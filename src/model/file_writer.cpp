// The data-record writer's thread and its handshake with the time loop.

#include "model/file_writer.h"

#include <cassert>

namespace coastra {

FileWriter::FileWriter(int slots, std::size_t capacity)
    : text_(static_cast<std::size_t>(slots)), dest_(static_cast<std::size_t>(slots), nullptr) {
  assert(slots >= 1);
  for (std::string& t : text_) t.reserve(capacity);
  thread_ = std::thread([this] { loop(); });
}

FileWriter::~FileWriter() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  work_.notify_one();
  thread_.join();   // the thread writes every posted text before it ends
}

std::string& FileWriter::next() {
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return posted_ - written_ < text_.size(); });
  std::string& t = text_[posted_ % text_.size()];
  t.clear();
  return t;
}

void FileWriter::post(std::ofstream& os) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    dest_[posted_ % text_.size()] = &os;
    ++posted_;
  }
  work_.notify_one();
}

void FileWriter::loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stop_ || written_ != posted_; });
    if (written_ == posted_) return;   // stop_, and nothing left to write
    const std::size_t k = written_ % text_.size();
    lock.unlock();
    // The buffer and its stream are the writer's until written_ moves past it.
    std::ofstream& os = *dest_[k];
    os.write(text_[k].data(), static_cast<std::streamsize>(text_[k].size()));
    if (os.fail() && failed() == nullptr) failed_.store(&os, std::memory_order_release);
    lock.lock();
    ++written_;
    done_.notify_all();
  }
}

}  // namespace coastra
