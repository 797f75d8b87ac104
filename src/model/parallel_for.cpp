#include "model/parallel_for.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr int kMaxThreads = 16;

int threadsFromEnvironment() {
  if (const char* v = std::getenv("KOVRIN_THREADS"); v != nullptr) {
    const int n = std::atoi(v);
    if (n >= 1) return std::min(n, kMaxThreads);
  }
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(static_cast<int>(cores), 1, kMaxThreads);
}

int& chosenCount() {
  static int count = threadsFromEnvironment();
  return count;
}

}  // namespace

int parallelThreadCount() {
  return chosenCount();
}

void setParallelThreadCount(int n) {
  chosenCount() = std::clamp(n, 1, kMaxThreads);
}

namespace {

// Set while a thread runs a part of a split: a split asked for inside one runs on the spot.
thread_local bool inSplit = false;

// Workers wait for a round; each runs its range and reports back. Started on the first split
// and kept for the life of the process (waiting on a condition variable in between).
class Pool {
 public:
  explicit Pool(int workers) {
    for (int w = 0; w < workers; ++w) threads_.emplace_back([this, w] { work(w + 1); });
  }
  int workers() const { return static_cast<int>(threads_.size()); }

  void run(int parts, const std::function<void(int)>& part) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      job_ = &part;
      parts_ = parts;
      pending_ = parts - 1;
      ++round_;
    }
    wake_.notify_all();
    part(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
    job_ = nullptr;
  }

 private:
  void work(int index) {
    uint64_t seen = 0;
    for (;;) {
      const std::function<void(int)>* job = nullptr;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        wake_.wait(lock, [&] { return round_ != seen; });
        seen = round_;
        if (index >= parts_) continue;
        job = job_;
      }
      inSplit = true;
      (*job)(index);
      inSplit = false;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        --pending_;
      }
      done_.notify_one();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(int)>* job_ = nullptr;
  int parts_ = 0, pending_ = 0;
  uint64_t round_ = 0;
  std::vector<std::thread> threads_;
};

Pool& pool() {
  static Pool* p = new Pool(chosenCount() - 1);
  return *p;
}

}  // namespace

void runParallelParts(int parts, const std::function<void(int)>& part) {
  if (parts <= 1 || inSplit) {
    for (int k = 0; k < parts; ++k) part(k);
    return;
  }
  Pool& p = pool();
  const int inPool = std::min(parts, p.workers() + 1);
  inSplit = true;
  p.run(inPool, part);
  // More parts than the pool was started with (the count was raised later): the rest here.
  for (int k = inPool; k < parts; ++k) part(k);
  inSplit = false;
}

void parallelFor(int64_t n, int64_t grain, const std::function<void(int64_t, int64_t)>& body) {
  const int64_t parts = std::min<int64_t>(parallelThreadCount(),
                                          std::max<int64_t>(1, n / std::max<int64_t>(grain, 1)));
  if (parts <= 1 || inSplit) {
    body(0, n);
    return;
  }
  runParallelParts(static_cast<int>(parts),
                   [&](int k) { body(n * k / parts, n * (k + 1) / parts); });
}
