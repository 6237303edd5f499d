#include "app/dictionary_worker.h"

#include <sys/resource.h>
#include <unistd.h>

namespace lexora {

DictionaryWorker::DictionaryWorker(Priority priority)
    : thread_([this, priority] { run(priority); }) {}

DictionaryWorker::~DictionaryWorker() {
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    ending_ = true;
    waiting_.clear();
    if (stop_) *stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void DictionaryWorker::post(Job job) {
  {
    const std::lock_guard<std::mutex> hold(mutex_);
    waiting_.push_back(std::move(job));
  }
  wake_.notify_all();
}

void DictionaryWorker::cancel() {
  const std::lock_guard<std::mutex> hold(mutex_);
  waiting_.clear();
  if (stop_) *stop_ = true;
}

bool DictionaryWorker::busy() const {
  const std::lock_guard<std::mutex> hold(mutex_);
  return running_ || !waiting_.empty();
}

void DictionaryWorker::run(Priority priority) {
  if (priority == Priority::Background) {
    // Linux gives each thread a nice value of its own; failing to lower it changes nothing.
    static_cast<void>(::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10));
  }
  std::unique_lock<std::mutex> hold(mutex_);
  for (;;) {
    wake_.wait(hold, [this] { return ending_ || !waiting_.empty(); });
    if (ending_) return;
    Job job = std::move(waiting_.front());
    waiting_.pop_front();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    running_ = true;
    hold.unlock();
    job(*stop);
    job = nullptr;  // whatever it holds goes before the next job starts
    hold.lock();
    running_ = false;
    stop_.reset();
  }
}

}  // namespace lexora
