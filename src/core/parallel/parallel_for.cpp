#include "core/parallel/parallel_for.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace quon {

std::size_t WorkerCount(std::size_t chunks, std::size_t limit) {
  std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
  if (limit != 0) workers = std::min(workers, limit);
  return std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(chunks, 1));
}

std::function<void()> StartThread(std::function<void()> run) {
  auto thread = std::make_shared<std::thread>(std::move(run));
  return [thread] { thread->join(); };
}

void ParallelFor(std::size_t chunks, std::size_t workers,
                 const std::function<void(std::size_t worker, std::size_t chunk)>& task,
                 const ThreadStarter& start) {
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex failureMutex;
  std::exception_ptr failure;
  const auto work = [&](std::size_t worker) {
    try {
      while (!failed.load(std::memory_order_relaxed)) {
        const std::size_t chunk = next.fetch_add(1, std::memory_order_relaxed);
        if (chunk >= chunks) return;
        task(worker, chunk);
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureMutex);
      if (!failure) failure = std::current_exception();
      failed.store(true, std::memory_order_relaxed);
    }
  };
  std::vector<std::function<void()>> joins;
  try {
    joins.reserve(workers);
    for (std::size_t w = 1; w < workers; ++w) {
      joins.push_back(start([&work, w] { work(w); }));
    }
  } catch (const std::system_error&) {
    // Fewer threads than asked for: those started and this one share the chunks.
  } catch (const std::bad_alloc&) {
  }
  work(0);
  for (const std::function<void()>& join : joins) join();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace quon
