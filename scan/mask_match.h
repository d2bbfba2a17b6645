// File masks matched against long names only, by the rules Windows applies to
// a folder-listing mask: case is ignored; "*.*" matches every name; '*' any
// run; '?' one character, or nothing where it meets a '.' or the end; '*'
// right before a '.' stops before the name's last '.'; a '.' right before
// '?', '*' or the end matches a '.' or the end of the name.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace scourly {

class FileMask {
 public:
  explicit FileMask(std::string_view mask);

  bool Matches(std::string_view name) const;

  const std::string& text() const { return text_; }

 private:
  enum class Kind { kAll, kExtension, kGeneral };

  std::string text_;
  Kind kind_ = Kind::kGeneral;
  std::string expression_;  // the mask after the rewrite, upper-cased
  std::string suffix_;      // ".EXT" for kExtension

  // Expressions shorter than 64 run as bit-parallel automata: bit p of a
  // state set means "expression position p reached".
  bool bitParallel_ = false;
  uint64_t star_ = 0, dosStar_ = 0, dosQm_ = 0, dosDot_ = 0;
  std::array<uint64_t, 256> literal_{};  // positions holding each (upper-case) byte
};

}  // namespace scourly
