// tervolin-workbench: the plug-in in a browser. It loads the plug-in into the
// replacement host as the runner does, serves a page on loopback that shows
// the scene in 3D and the plug-in's dialog as the host's widget tree has it,
// and passes the person's clicks and keys to the plug-in through the host's
// modal run, on this program's main thread, the only one that calls it.
#include <CLI/CLI.hpp>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#include "loader/plugin_loader.hpp"
#include "mqhost/library_path.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/workbench/bench.hpp"
#include "tools/workbench/http_front.hpp"

namespace {

struct Options {
  std::string scene;
  int port = 0;
  bool open = false;
  size_t uploadMib = 256;
  std::string pluginPath;
  std::string hostPath;
  std::string pageDir;
};

// Ctrl+C (or SIGTERM) stops the queue: the dialog, when open, is closed with
// the cancel result, the host's thread leaves its loop, and the server and the
// plug-in are stopped and unloaded as usual.
std::atomic<workbench::JobQueue*> g_queue{nullptr};

void RequestStop() {
  if (workbench::JobQueue* queue = g_queue.load()) queue->Stop();
}

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD) {
  RequestStop();
  return TRUE;
}

void OpenBrowser(const std::string& url) {
  ShellExecuteA(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
#else
void OpenBrowser(const std::string& url) {
  pid_t child = 0;
  char program[] = "xdg-open";
  std::string copy = url;
  char* argv[] = {program, copy.data(), nullptr};
  if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) != 0) {
    std::fprintf(stderr, "tervolin-workbench: could not start xdg-open; open the address above by hand\n");
  }
}
#endif

int Run(const Options& options) {
  workbench::JobQueue queue;
  workbench::BenchOptions benchOptions;
  benchOptions.pluginPath = options.pluginPath;
  benchOptions.hostPath = options.hostPath.empty() ? mqhost::LibraryPath() : options.hostPath;
  workbench::Bench bench(benchOptions, queue);
  if (!options.scene.empty()) bench.OpenFile(options.scene);

  workbench::FrontOptions frontOptions;
  frontOptions.port = options.port;
  frontOptions.uploadLimit = options.uploadMib << 20;
  frontOptions.pageDir = options.pageDir.empty() ? loader::ExecutableDir() + "workbench" : options.pageDir;
  frontOptions.token = workbench::NewToken();
  workbench::HttpFront front(frontOptions, queue);
  std::string error;
  if (!front.Bind(&error)) throw runner::RunError(error);

#ifndef _WIN32
  // Signals go to one thread of ours, which stops the rest in order.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
  std::thread watcher([&stopSignals] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    RequestStop();
  });
#endif
  g_queue = &queue;
#ifdef _WIN32
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#endif
  front.Start();
  const std::string url =
      "http://127.0.0.1:" + std::to_string(front.port()) + "/?token=" + frontOptions.token;
  std::printf("tervolin-workbench: serving on %s\n", url.c_str());
  std::printf("tervolin-workbench: Ctrl+C ends it; nothing is written unless you save from the page\n");
  std::fflush(stdout);
  if (options.open) OpenBrowser(url);

  bench.Run();  // until Ctrl+C
  front.Stop();
#ifndef _WIN32
  watcher.join();
#endif
  g_queue = nullptr;
  std::printf("tervolin-workbench: stopped\n");
  std::fflush(stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options;
    CLI::App app{"tervolin-workbench: try the plug-in in a browser, on a scene of your own"};
    // A path such as /work/scene.json is a file, not a "/w"-style option, on
    // Windows too (Wine passes Unix paths through), as for the runner.
    app.allow_windows_style_options(false);
    app.add_option("scene", options.scene, "a JSON scene or an OBJ file to open first");
    app.add_option("--port", options.port, "the loopback port (default: any free one)")
        ->check(CLI::Range(1, 65535));
    app.add_flag("--open", options.open, "start the system's browser on the page");
    app.add_option("--upload-limit", options.uploadMib, "the largest upload taken, in MiB (default 256)")
        ->check(CLI::Range(1, 1024));
    app.add_option("--plugin", options.pluginPath, "the plug-in library (default: the one built beside)");
    app.add_option("--host", options.hostPath, "the replacement host library")->group("");
    app.add_option("--page", options.pageDir, "the page's folder")->group("");
    try {
      app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
      return app.exit(error) == 0 ? 0 : 2;
    }
    return Run(options);
  } catch (const runner::RunError& error) {
    std::fprintf(stderr, "tervolin-workbench: %s\n", error.what());
    return error.exitStatus();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tervolin-workbench: %s\n", error.what());
    return 1;
  } catch (...) {
    std::fprintf(stderr, "tervolin-workbench: stopped by an unknown error\n");
    return 1;
  }
}
