#pragma once

#include <algorithm>
#include <thread>

namespace scourly {

// How many threads share work that mostly waits on the system: listing
// folders, opening items to check them. Two per core, at most sixteen: while
// one thread of a core waits on a call (under Wine, on its one server
// process), the other keeps the core busy. On two cores four threads walked a
// deep tree in 0.58x to 0.91x the time of one, two in 0.73x to 0.98x
// (docs/BENCHMARKS.md).
inline unsigned WaitingWorkers() {
  const unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(2 * cores, 1u, 16u);
}

}  // namespace scourly
