// How the fit on data reads its table: in blocks of rows, each batch of kLanes blocks
// shared out to threads, block c of every batch going to lane c. Each lane keeps its own
// sums and the lanes are combined in lane order at the end, so that the result does not
// depend on the number of cores (nor on which thread ran which block).
#pragma once

#include <cstddef>
#include <vector>

#include "core/datafit/data_table.h"
#include "core/parallel/parallel_for.h"

namespace quon {

inline constexpr std::size_t kBlockRows = 4096;
inline constexpr std::size_t kLanes = 2;

// Calls work(lane, block) for every block of the table, from its start.
template <typename Work>
void ForEachBlock(DataSource& source, Work&& work) {
  std::vector<DataBlock> blocks(kLanes);
  source.Rewind();
  for (;;) {
    std::size_t count = 0;
    while (count < kLanes && source.Next(blocks[count], kBlockRows)) ++count;
    if (count == 0) return;
    ParallelFor(count, WorkerCount(count),
                [&](std::size_t, std::size_t lane) { work(lane, blocks[lane]); });
    if (count < kLanes) return;
  }
}

}  // namespace quon
