// What a folder walk tells the scan that runs it, and asks of it: each row
// found, each point where the scan may show where the walk is and let the
// window answer, and whether to go on. The walkers know nothing of the
// status bar; each scan decides what its progress looks like.
#pragma once

#include <cstdint>
#include <string>

namespace scourly {

class WalkObserver {
 public:
  virtual ~WalkObserver() = default;

  // True once the user asked the scan to stop.
  virtual bool Stopped() const = 0;

  // A row was found: the running row count and byte total; `countsBytes`
  // says whether this walk counts bytes at all (the empty-file walk does
  // not).
  virtual void Found(int64_t count, int64_t bytes, bool countsBytes) = 0;

  // The walk is at `folderText` (a folder path ending in "\"): a point where
  // the scan may show it and pump messages.
  virtual void Pump(const std::string& folderText) = 0;
};

}  // namespace scourly
