#include "scan/mask_match.h"

#include <vector>

namespace scourly {
namespace {

// The rewritten mask's special characters (the names of the listing
// expression's wildcards).
constexpr char kDosStar = '<';  // '*' before a '.': a run up to the last '.'
constexpr char kDosQm = '>';    // '?': one character, or none at a '.' or the end
constexpr char kDosDot = '"';   // '.' before a wildcard or the end: '.' or the end

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsWild(char c) { return c == '*' || c == '?' || c == kDosStar || c == kDosQm || c == kDosDot; }

std::string Rewrite(std::string_view mask) {
  if (mask == "*.*") return "*";
  std::string out;
  for (size_t i = 0; i < mask.size(); ++i) {
    char c = mask[i];
    char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
    if (c == '?') {
      out += kDosQm;
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      out += kDosDot;
    } else if (c == '*' && next == '.') {
      out += kDosStar;
    } else {
      out += Upper(c);
    }
  }
  return out;
}

// Matches `name` against the rewritten expression: the set of expression
// positions reachable after each name character (no backtracking blow-up).
bool MatchExpression(const std::string& expr, std::string_view name) {
  const size_t m = expr.size();
  size_t lastDot = name.rfind('.');
  std::vector<char> current(m + 1, 0), next(m + 1, 0);

  // Positions reachable without consuming a character: wildcards that may
  // match nothing here. `atEnd`/`atDot` say what the name offers next.
  auto close = [&](std::vector<char>& states, bool atEnd, bool atDot) {
    for (size_t p = 0; p < m; ++p) {
      if (!states[p]) continue;
      char e = expr[p];
      if (e == '*' || e == kDosStar) states[p + 1] = 1;
      else if (e == kDosQm && (atEnd || atDot)) states[p + 1] = 1;
      else if (e == kDosDot && atEnd) states[p + 1] = 1;
    }
  };

  current[0] = 1;
  for (size_t i = 0; i <= name.size(); ++i) {
    bool atEnd = i == name.size();
    bool atDot = !atEnd && name[i] == '.';
    close(current, atEnd, atDot);
    if (atEnd) break;
    char c = Upper(name[i]);
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    for (size_t p = 0; p < m; ++p) {
      if (!current[p]) continue;
      char e = expr[p];
      switch (e) {
        case '*':
          next[p] = 1;
          break;
        case kDosStar:
          // Runs on while another '.' follows; never eats the last '.'.
          if (name[i] != '.' || i < lastDot) next[p] = 1;
          break;
        case '?':
          next[p + 1] = 1;
          break;
        case kDosQm:
          if (!atDot) next[p + 1] = 1;
          break;
        case kDosDot:
          if (atDot) next[p + 1] = 1;
          break;
        default:
          if (e == c) next[p + 1] = 1;
          break;
      }
    }
    for (char s : next) any |= s != 0;
    if (!any) return false;
    current.swap(next);
  }
  return current[m] != 0;
}

}  // namespace

FileMask::FileMask(std::string_view mask) : text_(mask), expression_(Rewrite(mask)) {
  if (expression_.size() < 64) {
    bitParallel_ = true;
    for (size_t p = 0; p < expression_.size(); ++p) {
      uint64_t bit = uint64_t{1} << p;
      switch (expression_[p]) {
        case '*': star_ |= bit; break;
        case kDosStar: dosStar_ |= bit; break;
        case kDosQm: dosQm_ |= bit; break;
        case kDosDot: dosDot_ |= bit; break;
        default: literal_[static_cast<unsigned char>(expression_[p])] |= bit; break;
      }
    }
  }
  if (expression_ == "*") {
    kind_ = Kind::kAll;
  } else if (expression_.size() >= 2 && expression_[0] == kDosStar && expression_[1] == '.') {
    // "*.ext" with a plain extension: the name's last '.' starts ".EXT".
    bool plain = true;
    for (size_t i = 2; i < expression_.size(); ++i) {
      if (IsWild(expression_[i]) || expression_[i] == '.') plain = false;
    }
    if (plain && expression_.size() > 2) {
      kind_ = Kind::kExtension;
      suffix_ = expression_.substr(1);
    }
  }
}

bool FileMask::Matches(std::string_view name) const {
  switch (kind_) {
    case Kind::kAll:
      return true;
    case Kind::kExtension: {
      if (name.size() < suffix_.size()) return false;
      std::string_view tail = name.substr(name.size() - suffix_.size());
      for (size_t i = 0; i < tail.size(); ++i) {
        if (Upper(tail[i]) != suffix_[i]) return false;
      }
      return true;
    }
    case Kind::kGeneral:
      break;
  }
  if (!bitParallel_) return MatchExpression(expression_, name);

  // The same automaton as MatchExpression, one machine word per step.
  const size_t lastDot = name.rfind('.');
  auto close = [&](uint64_t states, bool atEnd, bool atDot) {
    uint64_t empty = star_ | dosStar_ | ((atEnd || atDot) ? dosQm_ : 0) | (atEnd ? dosDot_ : 0);
    for (;;) {
      uint64_t grown = states | ((states & empty) << 1);
      if (grown == states) return states;
      states = grown;
    }
  };
  uint64_t states = 1;
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    const bool atDot = c == '.';
    states = close(states, false, atDot);
    uint64_t next = (states & star_) | ((states & literal_[static_cast<unsigned char>(Upper(c))]) << 1);
    if (!atDot || i < lastDot) next |= states & dosStar_;
    if (atDot) next |= (states & dosDot_) << 1;
    else next |= (states & dosQm_) << 1;
    if (!next) return false;
    states = next;
  }
  states = close(states, true, false);
  return (states >> expression_.size()) & 1;
}

}  // namespace scourly
