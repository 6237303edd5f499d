#pragma once
// A thread of its own for work that reads whole dictionaries (full-text searches, index
// builds), so that the window that posts it never waits. Jobs run one at a time in the order
// they were posted. Each gets a flag that asks it to stop early: set by cancel() and by the
// worker's end, checked by the job between entries or dictionaries.
//
// The dictionaries a job reads stay usable by the window meanwhile: each Dictionary operation
// holds the dictionary's own lock.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace lexora {

class DictionaryWorker {
 public:
  using Job = std::function<void(const std::atomic<bool>& stop)>;
  // Background: work nobody waits for (index builds), run at a lower priority (nice 10), so
  // that on a busy machine the window's thread gets a core first.
  enum class Priority { Normal, Background };

  explicit DictionaryWorker(Priority priority = Priority::Normal);
  // Stops the running job, drops the waiting ones and waits for the thread.
  ~DictionaryWorker();
  DictionaryWorker(const DictionaryWorker&) = delete;
  DictionaryWorker& operator=(const DictionaryWorker&) = delete;

  void post(Job job);
  // Asks the running job to stop and drops the waiting ones; returns at once.
  void cancel();
  // True while a job runs or waits.
  bool busy() const;

 private:
  void run(Priority priority);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> waiting_;
  std::shared_ptr<std::atomic<bool>> stop_;  // the running job's flag
  bool running_ = false;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace lexora
