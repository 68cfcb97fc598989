// The section's models, finished on every core: the command's thread keeps
// reading the host and hands each prepared model over, while worker
// threads build textures and collision; once the host is read, the
// command's thread joins them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace mapexport {

class SectionWorkers {
 public:
  // Starts one worker fewer than the machine has cores (at least one),
  // since the command's thread works too.
  SectionWorkers();
  // Waits for every task.
  ~SectionWorkers();
  SectionWorkers(const SectionWorkers&) = delete;
  SectionWorkers& operator=(const SectionWorkers&) = delete;

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

}  // namespace mapexport
