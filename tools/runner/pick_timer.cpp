#include "tools/runner/pick_timer.hpp"

#include <chrono>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

namespace runner {

namespace {

double WallNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The process's user and system time. The C runtime's clock() is no help:
// on Windows it counts wall time.
void CpuNow(double* user, double* system) {
  *user = 0;
  *system = 0;
#ifdef _WIN32
  FILETIME created{};
  FILETIME exited{};
  FILETIME kernel{};
  FILETIME userTime{};
  if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &userTime) == 0) return;
  auto seconds = [](const FILETIME& time) {
    const unsigned long long ticks =
        (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) * 1e-7;  // 100-nanosecond units
  };
  *user = seconds(userTime);
  *system = seconds(kernel);
#else
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return;
  auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
  };
  *user = seconds(usage.ru_utime);
  *system = seconds(usage.ru_stime);
#endif
}

}  // namespace

PickTimer::PickTimer() : wallStart_(WallNow()) { CpuNow(&userStart_, &systemStart_); }

PickTime PickTimer::Elapsed() const {
  PickTime time;
  time.wallSeconds = WallNow() - wallStart_;
  CpuNow(&time.userSeconds, &time.systemSeconds);
  time.userSeconds -= userStart_;
  time.systemSeconds -= systemStart_;
  return time;
}

}  // namespace runner
