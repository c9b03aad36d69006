// A text allocator for tests: keeps a ledger of every block it hands out,
// fails the test on a release of a block it does not hold (double release,
// constant text), and can be told to run out of memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <stdexcept>

#include "calc/text.h"

namespace kalvoro::testing {

// Thrown by the out-of-memory handler that TextLedger installs, so a test
// can see that the handler ran instead of a crash.
struct OutOfMemory : std::runtime_error {
  OutOfMemory() : std::runtime_error("text allocation failed") {}
};

class TextLedger {
 public:
  TextLedger() {
    current() = this;
    previous_ = set_text_allocator({&allocate, &release});
    previous_handler_ = set_out_of_memory_handler([] { throw OutOfMemory(); });
  }
  ~TextLedger() {
    set_text_allocator(previous_);
    set_out_of_memory_handler(previous_handler_);
    for (void* block : live_) std::free(block);
    current() = nullptr;
  }
  TextLedger(const TextLedger&) = delete;
  TextLedger& operator=(const TextLedger&) = delete;

  std::size_t live() const { return live_.size(); }
  std::size_t handed_out() const { return handed_out_; }
  std::size_t bad_releases() const { return bad_releases_; }
  // Allocations from the next one on fail, after `successes` more succeed.
  void fail_after(std::size_t successes) { fail_after_ = static_cast<long long>(successes); }

 private:
  static TextLedger*& current() {
    static TextLedger* ledger = nullptr;
    return ledger;
  }
  static void* allocate(std::size_t bytes) {
    TextLedger& self = *current();
    if (self.fail_after_ == 0) return nullptr;
    if (self.fail_after_ > 0) --self.fail_after_;
    void* block = std::malloc(bytes);
    self.live_.insert(block);
    ++self.handed_out_;
    return block;
  }
  static void release(void* block) {
    TextLedger& self = *current();
    if (self.live_.erase(block) == 0) {
      ++self.bad_releases_;
      ADD_FAILURE() << "release of a block that is not handed out";
      return;
    }
    std::free(block);
  }

  std::set<void*> live_;
  std::size_t handed_out_ = 0;
  std::size_t bad_releases_ = 0;
  long long fail_after_ = -1;
  TextAllocator previous_{};
  OutOfMemoryHandler previous_handler_ = nullptr;
};

}  // namespace kalvoro::testing
