#include "report.hpp"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "fileio/safe_file.hpp"
#include "loader/visible_text.hpp"
#include "report_formats.hpp"

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

void Report::Configure(bool json, bool progress, const std::string& junitPath) {
  const std::lock_guard<std::mutex> lock(mutex_);
  json_ = json;
  progressShown_ = progress;
  junitPath_ = junitPath;
}

void Report::Begin(const std::string& what) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    current_ = what;
    const auto now = std::chrono::steady_clock::now();
    if (progressShown_ && now - lastShown_ >= std::chrono::seconds(1)) {
      lastShown_ = now;
      std::fprintf(stderr, "tervolin-validate: %s, %d assertions so far\n", loader::Visible(what).c_str(),
                   passed_ + failed_);
      std::fflush(stderr);
    }
  }
  Progress();
}

void Report::Progress() { progress_.fetch_add(1, std::memory_order_relaxed); }

CheckRecord& Report::Record(const std::string& name, bool ok, const std::string& detail) {
  auto found = checkIndex_.find(name);
  if (found == checkIndex_.end()) {
    found = checkIndex_.emplace(name, checks_.size()).first;
    checks_.push_back(CheckRecord{name, 0, 0, {}});
  }
  CheckRecord& check = checks_[found->second];
  (ok ? check.passed : check.failed) += 1;
  (ok ? passed_ : failed_) += 1;
  if (!ok && check.failures.size() < 20) check.failures.push_back(detail);
  progress_.fetch_add(1, std::memory_order_relaxed);
  return check;
}

void Report::Print(const std::string& line) {
  if (json_) return;
  // Check lines carry the plug-in's own texts and the paths given.
  std::printf("%s\n", loader::Visible(line).c_str());
  std::fflush(stdout);
}

bool Report::Check(const std::string& name, bool ok, const std::string& detail) {
  const std::lock_guard<std::mutex> lock(mutex_);
  Record(name, ok, detail);
  Print(std::string(ok ? "PASS " : "FAIL ") + name + (detail.empty() ? "" : ": ") + detail);
  return ok;
}

bool Report::Tally(const std::string& name, bool ok, const std::string& detail) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const CheckRecord& check = Record(name, ok, detail);
  if (check.passed + check.failed == 1) tallied_.push_back(name);
  if (!ok && check.failed <= 20) Print("FAIL " + name + (detail.empty() ? "" : ": ") + detail);
  return ok;
}

void Report::PrintTallies() {
  const std::lock_guard<std::mutex> lock(mutex_);
  for (const std::string& name : tallied_) {
    const CheckRecord& check = checks_[checkIndex_[name]];
    Print(std::string(check.failed == 0 ? "PASS " : "FAIL ") + name + ": " + std::to_string(check.passed) +
          " of " + std::to_string(check.passed + check.failed));
  }
  tallied_.clear();
}

void Report::Note(const std::string& line) {
  const std::lock_guard<std::mutex> lock(mutex_);
  notes_.push_back(line);
  Print("INFO " + line);
}

bool Report::WriteOutputs() {
  int checksFailed = 0;
  for (const CheckRecord& check : checks_) checksFailed += check.failed > 0 ? 1 : 0;
  const int checksPassed = static_cast<int>(checks_.size()) - checksFailed;
  if (json_) {
    const std::string text = ResultsJson(checks_, notes_, passed_, failed_);
    std::fwrite(text.data(), 1, text.size(), stdout);
  } else {
    std::printf("%d checks: %d passed, %d failed; %d assertions: %d passed, %d failed\n",
                checksPassed + checksFailed, checksPassed, checksFailed, passed_ + failed_, passed_, failed_);
  }
  std::fflush(stdout);
  if (junitPath_.empty()) return true;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const std::string xml = JUnitXml(checks_, seconds);
  // Replaced whole, as the runner's outputs are: a reader never sees half a
  // file, and a link planted beside it is never followed.
  std::string reason;
  if (fileio::ReplaceWholeFile(junitPath_, xml, &reason)) return true;
  std::fprintf(stderr, "tervolin-validate: --junit %s: %s\n", loader::Visible(junitPath_).c_str(),
               loader::Visible(reason).c_str());
  return false;
}

int Report::Finish() {
  const std::lock_guard<std::mutex> lock(mutex_);
  const bool written = WriteOutputs();
  return failed_ == 0 && passed_ > 0 && written ? 0 : 1;
}

void Report::SetLastWord(std::function<void()> lastWord) {
  const std::lock_guard<std::mutex> lock(mutex_);
  lastWord_ = std::move(lastWord);
}

void Report::Abandon(const std::string& why) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const std::string detail = "the run was stopped by " + why +
                             (current_.empty() ? "" : " during " + current_) +
                             "; the results are those of the checks made before";
  Record("interrupted", false, detail);
  Print("FAIL interrupted: " + detail);
  WriteOutputs();
  if (lastWord_) lastWord_();
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
    Record("hang", false, current_ + " made no progress for " + std::to_string(hangSeconds_) + " s");
    Print("FAIL hang: " + current_ + " made no progress for " + std::to_string(hangSeconds_) + " s");
    WriteOutputs();
    if (lastWord_) lastWord_();
    std::_Exit(1);
  }
}

}  // namespace validator
