// The one way the program runs work on several threads: a loop over numbered chunks of
// work, shared out to the calling thread and up to threads - 1 others.
//
// Chunks are handed out in increasing order from one counter, so a task that finds its
// chunk no longer needed (past an error found earlier, say) returns at once. Each thread
// is a numbered worker (0 is the calling thread), so a caller can keep state per worker
// (an evaluator, a buffer) in a vector of WorkerCount entries. Nothing here ends the
// program: a thread that cannot be started leaves its share to the others (the calling
// thread always works), and the first exception a task throws stops the handing out of
// chunks and is thrown again on the calling thread once every worker has stopped.
#pragma once

#include <cstddef>
#include <functional>

namespace quon {

// The threads worth using for `chunks` chunks: the processor's cores, at most `limit`
// (0: no limit) and at most `chunks`, at least 1.
std::size_t WorkerCount(std::size_t chunks, std::size_t limit = 0);

// Starts `run` on a new thread and returns a function that waits for it; throws
// std::system_error (or std::bad_alloc) when no thread can be had. Tests replace it.
using ThreadStarter = std::function<std::function<void()>(std::function<void()> run)>;
std::function<void()> StartThread(std::function<void()> run);

// Calls task(worker, chunk) once for every chunk in [0, chunks), on `workers` workers
// numbered 0 .. workers - 1 (at least 1). Returns when every chunk is done or, after a
// task threw, rethrows the first exception once the other workers have finished the
// chunks they were on.
void ParallelFor(std::size_t chunks, std::size_t workers,
                 const std::function<void(std::size_t worker, std::size_t chunk)>& task,
                 const ThreadStarter& start = StartThread);

}  // namespace quon
