#include "interrupts.hpp"

#include <csignal>
#include <cstdlib>
#include <mutex>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace validator {

namespace {

std::mutex guard;
std::function<void(const std::string&)>* current = nullptr;

// Runs the run's last word once, whichever thread gets there, and ends the
// process.
[[noreturn]] void Abandon(const std::string& name, int status) {
  const std::lock_guard<std::mutex> lock(guard);
  if (current != nullptr) (*current)(name);
  std::_Exit(status);
}

#if !defined(_WIN32)
// SIGUSR2 wakes the watcher to stop it.
sigset_t Watched() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGUSR2);
  return set;
}
#else
BOOL WINAPI OnConsoleEvent(DWORD event) {
  Abandon(event == CTRL_C_EVENT ? "Ctrl+C" : "a console break or close", 130);
}
#endif

}  // namespace

void HoldInterrupts() {
#if !defined(_WIN32)
  const sigset_t set = Watched();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
#endif
}

InterruptWatch::InterruptWatch(std::function<void(const std::string&)> abandon) {
  {
    const std::lock_guard<std::mutex> lock(guard);
    current = new std::function<void(const std::string&)>(std::move(abandon));
  }
#if defined(_WIN32)
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
  watcher_ = std::thread([] {
    const sigset_t set = Watched();
    for (;;) {
      int signal = 0;
      if (sigwait(&set, &signal) != 0) continue;
      if (signal == SIGUSR2) return;
      Abandon(signal == SIGINT ? "SIGINT" : "SIGTERM", 128 + signal);
    }
  });
#endif
}

InterruptWatch::~InterruptWatch() {
#if defined(_WIN32)
  SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
#else
  pthread_kill(watcher_.native_handle(), SIGUSR2);
  watcher_.join();
#endif
  const std::lock_guard<std::mutex> lock(guard);
  delete current;
  current = nullptr;
}

}  // namespace validator
