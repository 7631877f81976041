// The workbench's HTTP side, on loopback only: the page's own files and the
// JSON API. Every API call is a POST of JSON carrying the run's token in a
// header, with a Host header that names this loopback address and port;
// anything else is refused with a reason. Calls become jobs for the host's
// thread (job_queue.hpp).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "tools/workbench/job_queue.hpp"

namespace workbench {

struct FrontOptions {
  int port = 0;  // 0: any free port
  size_t uploadLimit = 256u << 20;
  std::string pageDir;  // the page's files
  std::string token;
};

class HttpFront {
 public:
  HttpFront(const FrontOptions& options, JobQueue& queue);
  ~HttpFront();
  HttpFront(const HttpFront&) = delete;
  HttpFront& operator=(const HttpFront&) = delete;

  // Binds 127.0.0.1; false with `error` when the port cannot be had.
  bool Bind(std::string* error);
  int port() const;
  // Serves on a thread of its own until Stop.
  void Start();
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// 32 hex digits from the system's random source.
std::string NewToken();

}  // namespace workbench
