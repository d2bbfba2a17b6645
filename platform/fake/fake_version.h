// A program whose version resource a test sets (or leaves out).
#pragma once

#include "platform/version.h"

namespace scourly::fake {

class FakeVersionInfo : public VersionInfo {
 public:
  std::optional<ProductVersion> ProgramProductVersion() override { return version; }

  // Sets the four numbers of the product version.
  void Set(uint16_t major, uint16_t minor, uint16_t patch = 0, uint16_t build = 0);

  std::optional<ProductVersion> version;  // empty: the program has no version resource
};

}  // namespace scourly::fake
