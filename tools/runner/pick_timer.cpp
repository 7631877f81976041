#include "tools/runner/pick_timer.hpp"

#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

namespace runner {

namespace {

double WallNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The process's user and system time. The C runtime's clock() is no help:
// on Windows it counts wall time.
double CpuNow() {
#ifdef _WIN32
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME user{};
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) == 0) return 0;
  auto ticks = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) * 1e-7;  // 100-nanosecond units
#else
  timespec now{};
  if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now) != 0) return 0;
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

}  // namespace

PickTimer::PickTimer() : wallStart_(WallNow()), cpuStart_(CpuNow()) {}

PickTime PickTimer::Elapsed() const {
  PickTime time;
  time.wallSeconds = WallNow() - wallStart_;
  time.cpuSeconds = CpuNow() - cpuStart_;
  return time;
}

}  // namespace runner
