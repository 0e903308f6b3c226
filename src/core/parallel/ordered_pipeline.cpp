#include "core/parallel/ordered_pipeline.h"

#include <condition_variable>
#include <mutex>
#include <vector>

namespace quon {
namespace {

// What the workers share, under `mutex`.
struct PipelineState {
  std::mutex mutex;
  std::condition_variable changed;  // a chunk consumed, or the pipeline failed
  std::size_t consumed = 0;         // chunks consumed: the next in line
  std::vector<char> ready;          // per slot: holds a produced chunk not yet consumed
  bool consuming = false;           // a worker is consuming the chunks in line
  bool failed = false;

  void Fail() {
    const std::lock_guard<std::mutex> lock(mutex);
    failed = true;
    consuming = false;
    changed.notify_all();
  }
};

}  // namespace

void OrderedPipeline(
    std::size_t chunks, std::size_t workers, std::size_t slots,
    const std::function<void(std::size_t worker, std::size_t chunk, std::size_t slot)>& produce,
    const std::function<void(std::size_t chunk, std::size_t slot)>& consume,
    const ThreadStarter& start) {
  PipelineState state;
  state.ready.assign(slots, 0);
  ParallelFor(
      chunks, workers,
      [&](std::size_t worker, std::size_t chunk) {
        const std::size_t slot = chunk % slots;
        {
          std::unique_lock<std::mutex> lock(state.mutex);
          // Chunks are handed out in order, so the one next in line is always being
          // produced or waits to be consumed: this wait ends.
          state.changed.wait(lock, [&] { return state.failed || chunk < state.consumed + slots; });
          if (state.failed) return;
        }
        try {
          produce(worker, chunk, slot);
        } catch (...) {
          state.Fail();
          throw;
        }
        std::unique_lock<std::mutex> lock(state.mutex);
        state.ready[slot] = 1;
        if (state.consuming || state.failed) return;  // the consuming worker takes it
        state.consuming = true;
        while (!state.failed && state.ready[state.consumed % slots]) {
          const std::size_t next = state.consumed;
          lock.unlock();
          try {
            consume(next, next % slots);
          } catch (...) {
            state.Fail();
            throw;
          }
          lock.lock();
          state.ready[next % slots] = 0;
          ++state.consumed;
          state.changed.notify_all();
        }
        state.consuming = false;
      },
      start);
}

}  // namespace quon
