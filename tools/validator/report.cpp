#include "report.hpp"

#include <cstdio>
#include <cstdlib>

namespace validator {

Report::Report(int hangSeconds) : hangSeconds_(hangSeconds), watchdog_([this] { Watch(); }) {}

Report::~Report() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  watchdog_.join();
}

void Report::Begin(const std::string& what) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    current_ = what;
  }
  Progress();
}

void Report::Progress() { progress_.fetch_add(1, std::memory_order_relaxed); }

bool Report::Check(const std::string& name, bool ok, const std::string& detail) {
  const std::lock_guard<std::mutex> lock(mutex_);
  (ok ? passed_ : failed_) += 1;
  std::printf("%s %s%s%s\n", ok ? "PASS" : "FAIL", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
  std::fflush(stdout);
  progress_.fetch_add(1, std::memory_order_relaxed);
  return ok;
}

bool Report::Tally(const std::string& name, bool ok, const std::string& detail) {
  const std::lock_guard<std::mutex> lock(mutex_);
  auto& counts = tallies_[name];
  (ok ? counts.first : counts.second) += 1;
  (ok ? passed_ : failed_) += 1;
  if (!ok && counts.second <= 20) {
    std::printf("FAIL %s%s%s\n", name.c_str(), detail.empty() ? "" : ": ", detail.c_str());
    std::fflush(stdout);
  }
  progress_.fetch_add(1, std::memory_order_relaxed);
  return ok;
}

void Report::PrintTallies() {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [name, counts] : tallies_) {
    std::printf("%s %s: %d of %d\n", counts.second == 0 ? "PASS" : "FAIL", name.c_str(), counts.first,
                counts.first + counts.second);
  }
  tallies_.clear();
  std::fflush(stdout);
}

void Report::Note(const std::string& line) {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

int Report::Finish() {
  const std::lock_guard<std::mutex> lock(mutex_);
  std::printf("%d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
  return failed_ == 0 && passed_ > 0 ? 0 : 1;
}

void Report::Watch() {
  std::unique_lock<std::mutex> lock(mutex_);
  uint64_t seen = progress_.load();
  auto last = std::chrono::steady_clock::now();
  while (!stop_) {
    wake_.wait_for(lock, std::chrono::milliseconds(250));
    if (stop_) return;
    const uint64_t now = progress_.load();
    const auto time = std::chrono::steady_clock::now();
    if (now != seen) {
      seen = now;
      last = time;
      continue;
    }
    if (time - last < std::chrono::seconds(hangSeconds_)) continue;
    // The main thread is stuck inside the plug-in or the host: nothing can be
    // unwound, so report the hang and leave with the failure status.
    std::printf("FAIL hang: %s made no progress for %d s\n", current_.c_str(), hangSeconds_);
    std::printf("%d passed, %d failed\n", passed_, failed_ + 1);
    std::fflush(stdout);
    std::_Exit(1);
  }
}

}  // namespace validator
