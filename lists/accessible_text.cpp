#include "lists/accessible_text.h"

#include <algorithm>
#include <iterator>

namespace scourly {

std::string ColumnsName(const std::vector<std::string>& captions,
                        const std::function<std::string(int column)>& cell) {
  std::string name;
  for (size_t k = 0; k < captions.size(); ++k) {
    if (k > 0) name += ", ";
    name.append(captions[k]).append(": ").append(cell(static_cast<int>(k)));
  }
  return name;
}

std::string ResultCell(const ResultRow& row, int column) {
  switch (column) {
    case 0: return row.Name();
    case 1: return row.Location();
    case 2: return std::to_string(row.Size());
    default: return row.Date();
  }
}

std::string NameFromHint(std::string_view hint) {
  std::string name;
  name.reserve(hint.size());
  for (size_t i = 0; i < hint.size(); ++i) {
    const char c = hint[i];
    if (c == '&') {
      if (i + 1 < hint.size() && hint[i + 1] == '&') name += hint[++i];
      continue;
    }
    if (c == '\r' || c == '\n') {
      // CR LF, or a lone CR or LF: one blank between the lines.
      if (c == '\r' && i + 1 < hint.size() && hint[i + 1] == '\n') ++i;
      if (!name.empty() && name.back() != ' ') name += ' ';
      continue;
    }
    name += c;
  }
  return name;
}

std::vector<SelectionEvent> SelectionEvents(const std::vector<int>& before,
                                            const std::vector<int>& after) {
  if (before == after) return {};
  if (after.size() == 1) return {{SelectionEvent::kSelection, after.front()}};
  std::vector<int> removed, added;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::back_inserter(removed));
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                      std::back_inserter(added));
  if (removed.size() + added.size() > kMaxSelectionEvents) return {{SelectionEvent::kWithin, -1}};
  std::vector<SelectionEvent> events;
  for (int row : removed) events.push_back({SelectionEvent::kRemove, row});
  for (int row : added) events.push_back({SelectionEvent::kAdd, row});
  return events;
}

}  // namespace scourly
