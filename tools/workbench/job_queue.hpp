// The one way into the host's thread: the server's threads post jobs here and
// wait for their replies; the host's thread takes them one at a time, also
// while a dialog runs modally, so that the plug-in is only ever called there.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>

namespace workbench {

struct Reply {
  int status = 200;
  std::string contentType = "application/json";
  std::string body;
};

Reply JsonReply(int status, const nlohmann::json& body);
// A refusal: {"error": why}.
Reply ErrorReply(int status, const std::string& why);

struct Job {
  std::string op;       // the API call's name: "open", "select", "click", ...
  nlohmann::json args;  // its JSON body
  std::promise<Reply> reply;
  bool answered = false;

  void Answer(Reply value) {
    if (answered) return;
    answered = true;
    reply.set_value(std::move(value));
  }
};

class JobQueue {
 public:
  // Null once the queue is stopped (every job still queued is refused).
  std::shared_ptr<Job> Post(std::string op, nlohmann::json args);
  // Blocks until a job comes or the queue stops (null).
  std::shared_ptr<Job> Take();
  void Stop();
  bool stopped() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::shared_ptr<Job>> jobs_;
  bool stopped_ = false;
};

}  // namespace workbench
