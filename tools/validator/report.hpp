// The validator's record of checks: each check's result printed as it is
// made, the closing "N passed, N failed" line, and the watchdog that fails a
// check that makes no progress for too long (a hang in the plug-in or host).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace validator {

class Report {
 public:
  // `hangSeconds`: how long a check may go without progress.
  explicit Report(int hangSeconds = 30);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // Names the work under way (for the hang message) and counts as progress.
  void Begin(const std::string& what);
  // Marks progress inside a long check.
  void Progress();

  // Records and prints one result. Returns `ok`.
  bool Check(const std::string& name, bool ok, const std::string& detail = std::string());
  // Records one result of a check that is made many times (once per pick):
  // counted like Check, but only failures are printed (the first 20 of each
  // name), and PrintTallies prints one line per name.
  bool Tally(const std::string& name, bool ok, const std::string& detail = std::string());
  void PrintTallies();

  // Prints an informative line (the seed, counts) that is not a check.
  void Note(const std::string& line);

  int passed() const { return passed_; }
  int failed() const { return failed_; }
  // Prints the closing line; returns the exit status (0 only when all passed).
  int Finish();

 private:
  void Watch();

  int hangSeconds_;
  int passed_ = 0;
  int failed_ = 0;
  std::mutex mutex_;  // guards current_, stop_ and the output
  std::condition_variable wake_;
  std::string current_;
  bool stop_ = false;
  std::atomic<uint64_t> progress_{0};
  std::map<std::string, std::pair<int, int>> tallies_;  // name: passed, failed
  std::thread watchdog_;
};

}  // namespace validator
