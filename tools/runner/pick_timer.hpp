// The wall-clock and processor time of one stretch of the run: the menu pick
// alone, without loading the plug-in or reading and writing files.
#pragma once

namespace runner {

// Processor time is the whole process's, in user code and in the system on
// its behalf (under Wine, counted in the clock's ticks of 10 ms).
struct PickTime {
  double wallSeconds = 0;
  double userSeconds = 0;
  double systemSeconds = 0;
};

class PickTimer {
 public:
  PickTimer();
  // The time since the timer was made.
  PickTime Elapsed() const;

 private:
  double wallStart_;
  double userStart_ = 0;
  double systemStart_ = 0;
};

}  // namespace runner
