#include "platform/worker_threads.h"

#include <algorithm>

namespace platform {

WorkerThreads::WorkerThreads() {
  const unsigned cores = std::max(2u, std::thread::hardware_concurrency());
  for (unsigned i = 0; i + 1 < cores; ++i) threads_.emplace_back([this] { Work(); });
}

WorkerThreads::~WorkerThreads() {
  Finish();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void WorkerThreads::Add(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  queued_.notify_one();
}

std::function<void()> WorkerThreads::Next(bool wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (wait) queued_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
  if (tasks_.empty()) return {};
  std::function<void()> task = std::move(tasks_.front());
  tasks_.pop_front();
  ++running_;
  return task;
}

void WorkerThreads::Work() {
  while (std::function<void()> task = Next(true)) {
    task();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      --running_;
    }
    idle_.notify_all();
  }
}

void WorkerThreads::Finish() {
  while (std::function<void()> task = Next(false)) {
    task();
    std::lock_guard<std::mutex> lock(mutex_);
    --running_;
  }
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return tasks_.empty() && running_ == 0; });
}

}  // namespace platform
