// Independent tasks run on every core: the calling thread keeps handing
// tasks over (the section export while it reads the host, the import while
// it makes its files) and worker threads take them; at the end the calling
// thread joins in until every task is done.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class WorkerThreads {
 public:
  // Starts one worker fewer than the machine has cores (at least one),
  // since the command's thread works too.
  WorkerThreads();
  // Waits for every task.
  ~WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // `task` must not throw.
  void Add(std::function<void()> task);
  // Runs tasks on the calling thread too until none is left, then waits
  // for the workers' last ones.
  void Finish();

 private:
  void Work();
  // Takes the next task, or returns an empty one when none is queued and
  // `wait` is false or the workers are told to stop.
  std::function<void()> Next(bool wait);

  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> tasks_;
  std::size_t running_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace platform
