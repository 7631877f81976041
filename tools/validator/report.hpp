// The validator's record of checks: each check's result printed as it is
// made (or gathered into JSON), information lines tagged INFO, the closing
// counts of checks and of assertions, a JUnit file for CI, the progress
// shown on standard error, and the watchdog that fails a check that makes no
// progress for too long (a hang in the plug-in or host).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace validator {

// One check: a name, and how often it held and failed. A check made once
// (Check) has one assertion; one made once per pick (Tally) has many.
struct CheckRecord {
  std::string name;
  int passed = 0;
  int failed = 0;
  std::vector<std::string> failures;  // the details of the first failures
};

class Report {
 public:
  // `hangSeconds`: how long a check may go without progress.
  explicit Report(int hangSeconds = 30);
  ~Report();
  Report(const Report&) = delete;
  Report& operator=(const Report&) = delete;

  // Ways of reporting, set before the first check. `json`: standard output
  // gets one JSON document at the end instead of lines; `progress`: the work
  // under way is shown on standard error, at most once a second; `junitPath`:
  // a JUnit XML file written at the end (also after a hang).
  void Configure(bool json, bool progress, const std::string& junitPath);

  // Names the work under way (for the hang message and the progress line)
  // and counts as progress.
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

  // Assertions: every result recorded.
  int passed() const { return passed_; }
  int failed() const { return failed_; }
  const std::vector<CheckRecord>& checks() const { return checks_; }
  // Prints the closing counts (or the JSON) and writes the JUnit file;
  // returns the exit status (0 only when checks ran and all passed, and the
  // file, if asked for, was written).
  int Finish();

  // What must run however the run ends, also when it is abandoned (a hang, an
  // interrupt): removing the scratch folder.
  void SetLastWord(std::function<void()> lastWord);
  // Ends the run from outside (`why`: "SIGINT"): records the check
  // "interrupted" as failed, naming the work under way, writes the outputs
  // with what ran, and runs the last word. The caller then ends the process.
  void Abandon(const std::string& why);

 private:
  CheckRecord& Record(const std::string& name, bool ok, const std::string& detail);
  void Print(const std::string& line);
  // Summary, JSON and JUnit file; with the mutex held.
  bool WriteOutputs();
  void Watch();

  int hangSeconds_;
  bool json_ = false;
  bool progressShown_ = false;
  std::string junitPath_;
  int passed_ = 0;
  int failed_ = 0;
  std::vector<CheckRecord> checks_;
  std::map<std::string, size_t> checkIndex_;
  std::vector<std::string> tallied_;  // names recorded by Tally since the last PrintTallies
  std::vector<std::string> notes_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastShown_ = start_;
  std::mutex mutex_;  // guards everything above, current_, stop_ and the output
  std::condition_variable wake_;
  std::string current_;
  std::function<void()> lastWord_;
  bool stop_ = false;
  std::atomic<uint64_t> progress_{0};
  std::thread watchdog_;
};

}  // namespace validator
