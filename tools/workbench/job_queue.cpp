#include "tools/workbench/job_queue.hpp"

namespace workbench {

Reply JsonReply(int status, const nlohmann::json& body) {
  Reply reply;
  reply.status = status;
  reply.body = body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return reply;
}

Reply ErrorReply(int status, const std::string& why) { return JsonReply(status, {{"error", why}}); }

std::shared_ptr<Job> JobQueue::Post(std::string op, nlohmann::json args) {
  auto job = std::make_shared<Job>();
  job->op = std::move(op);
  job->args = std::move(args);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_) return nullptr;
    jobs_.push_back(job);
  }
  ready_.notify_one();
  return job;
}

std::shared_ptr<Job> JobQueue::Take() {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait(lock, [this] { return stopped_ || !jobs_.empty(); });
  if (jobs_.empty()) return nullptr;
  std::shared_ptr<Job> job = jobs_.front();
  jobs_.pop_front();
  return job;
}

void JobQueue::Stop() {
  std::deque<std::shared_ptr<Job>> left;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    left.swap(jobs_);
  }
  for (const std::shared_ptr<Job>& job : left) job->Answer(ErrorReply(503, "the workbench is stopping"));
  ready_.notify_all();
}

bool JobQueue::stopped() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopped_;
}

}  // namespace workbench
