// One line per measured figure with its target, in a form scripts/bench.sh
// gathers into the summary:
//   TARGET|<what>|<value>|<op> <target>|<unit>|holds or misses
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

namespace scourly::bench {

inline bool Target(const std::string& what, double value, const char* op, double target,
                   const char* unit) {
  bool holds = std::strcmp(op, "<") == 0    ? value < target
               : std::strcmp(op, "<=") == 0 ? value <= target
               : std::strcmp(op, ">=") == 0 ? value >= target
                                            : value > target;
  std::printf("TARGET|%s|%.3f|%s %g|%s|%s\n", what.c_str(), value, op, target, unit,
              holds ? "holds" : "misses");
  std::fflush(stdout);
  return holds;
}

// A figure reported without a target.
inline void Figure(const std::string& what, double value, const char* unit) {
  std::printf("TARGET|%s|%.3f|-|%s|reported\n", what.c_str(), value, unit);
  std::fflush(stdout);
}

}  // namespace scourly::bench
