// The version resource of the running program.
#pragma once

#include <cstdint>
#include <optional>

namespace scourly {

// The fixed part of a version resource: the product version as its two
// 32-bit halves, each holding two 16-bit numbers (major.minor, patch.build).
struct ProductVersion {
  uint32_t mostSignificant = 0;
  uint32_t leastSignificant = 0;
};

class VersionInfo {
 public:
  virtual ~VersionInfo() = default;

  // The product version recorded in the running executable's own version
  // resource; nothing when the file has no version resource.
  virtual std::optional<ProductVersion> ProgramProductVersion() = 0;
};

}  // namespace scourly
