// Ending a run from outside: Ctrl+C or a polite kill (SIGINT, SIGTERM; on
// Windows the console's Ctrl+C, break and close) ends the run on a thread of
// its own, which first hands the run its last word (the results so far, the
// scratch folder removed) and then leaves with 128 + the signal's number.
#pragma once

#include <functional>
#include <string>
#include <thread>

namespace validator {

// Keeps the signals from every thread made after it, so that only the
// watcher takes them. Call first in main, before any thread starts.
void HoldInterrupts();

class InterruptWatch {
 public:
  // `abandon` gets the signal's name ("SIGINT") and must not return to the
  // run: the process ends right after it.
  explicit InterruptWatch(std::function<void(const std::string&)> abandon);
  // Stops watching; a signal after this ends the process the usual way.
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

 private:
  std::thread watcher_;
};

}  // namespace validator
