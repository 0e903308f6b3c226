// Numbered chunks of work whose results must be used in their order, as a file is written:
// each chunk is produced on any of several workers (through ParallelFor) and consumed in
// increasing order, one consume at a time, by whichever worker finds its chunk next in
// line; so producing the chunks ahead overlaps consuming the earlier ones.
//
// Results wait in `slots` places (the caller's buffers): chunk c goes to slot c % slots and
// is produced only once chunk c - slots has been consumed, so memory stays bounded
// however far a worker gets ahead. Nothing here ends the program: the first exception of
// a produce or a consume stops the pipeline (waiting workers give up, no chunk after it
// is consumed) and is thrown again on the calling thread, as ParallelFor does.
#pragma once

#include <cstddef>
#include <functional>

#include "core/parallel/parallel_for.h"

namespace quon {

// produce(worker, chunk, slot) once per chunk in [0, chunks), on `workers` workers;
// consume(chunk, slot) once per chunk, in increasing order, never two at once. slots >= 1.
void OrderedPipeline(
    std::size_t chunks, std::size_t workers, std::size_t slots,
    const std::function<void(std::size_t worker, std::size_t chunk, std::size_t slot)>& produce,
    const std::function<void(std::size_t chunk, std::size_t slot)>& consume,
    const ThreadStarter& start = StartThread);

}  // namespace quon
