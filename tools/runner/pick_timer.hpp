// The wall-clock and processor time of one stretch of the run: the menu pick
// alone, without loading the plug-in or reading and writing files.
#pragma once

namespace runner {

struct PickTime {
  double wallSeconds = 0;
  double cpuSeconds = 0;  // user and system time of the whole process
};

class PickTimer {
 public:
  PickTimer();
  // The time since the timer was made.
  PickTime Elapsed() const;

 private:
  double wallStart_;
  double cpuStart_;
};

}  // namespace runner
