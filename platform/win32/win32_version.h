// The version resource read with the version-information functions.
#pragma once

#include <string>

#include "platform/version.h"

namespace scourly {

class Win32VersionInfo : public VersionInfo {
 public:
  // The running executable's resource.
  Win32VersionInfo() = default;
  // Another file's resource (tests).
  explicit Win32VersionInfo(std::string path) : path_(std::move(path)) {}

  std::optional<ProductVersion> ProgramProductVersion() override;

 private:
  std::string path_;  // empty: the running executable
};

}  // namespace scourly
