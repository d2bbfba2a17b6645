#include "platform/fake/fake_version.h"

namespace scourly::fake {

void FakeVersionInfo::Set(uint16_t major, uint16_t minor, uint16_t patch, uint16_t build) {
  version = ProductVersion{(uint32_t{major} << 16) | minor, (uint32_t{patch} << 16) | build};
}

}  // namespace scourly::fake
