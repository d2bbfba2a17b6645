#include <gtest/gtest.h>

#include <numeric>

#include "lists/accessible_text.h"

namespace scourly {
namespace {

const std::vector<std::string> kResultCaptions = {"File Name", "Location", "Size (B)", "Time Stamp"};

std::string RowName(const ResultRow& row) {
  return ColumnsName(kResultCaptions, [&](int column) { return ResultCell(row, column); });
}

TEST(AccessibleText, ResultRowReadsEachColumnFromItsOwnField) {
  const std::pair<ResultRow, const char*> cases[] = {
      {{"x.tmp", "C:\\WINDOWS\\TEMP\\", 1023, "15.03.2024"},
       "File Name: x.tmp, Location: C:\\WINDOWS\\TEMP\\, Size (B): 1023, Time Stamp: 15.03.2024"},
      // The delimiter of the row text stays inside the name.
      {{"a;b.tmp", "T:\\d;e\\", 5, "01.01.2020"},
       "File Name: a;b.tmp, Location: T:\\d;e\\, Size (B): 5, Time Stamp: 01.01.2020"},
      // Letters outside ASCII pass through as they are; the full size, not
      // its low 32 bits.
      {{"\xCE\xA9mega \xE6\x97\xA5.bak", "T:\\\xC3\xBC\\", 3000000000ULL, "4/3/2021"},
       "File Name: \xCE\xA9mega \xE6\x97\xA5.bak, Location: T:\\\xC3\xBC\\, Size (B): 3000000000, "
       "Time Stamp: 4/3/2021"},
      // A folder row of a scan that found no date: every caption still reads.
      {{"old", "D:\\", 0, ""}, "File Name: old, Location: D:\\, Size (B): 0, Time Stamp: "},
  };
  for (const auto& [row, name] : cases) EXPECT_EQ(RowName(row), name);
}

TEST(AccessibleText, ButtonNameIsItsHintWithoutShortcutMarks) {
  const std::pair<const char*, const char*> cases[] = {
      {"&Open Selected File", "Open Selected File"},
      {"Save && Close", "Save & Close"},
      {"Trailing &", "Trailing "},
      {"Click to find Unneeded Files.This action will not delete files.\r\nYou can specify the "
       "file types of your choice through the \"Options...\" button.",
       "Click to find Unneeded Files.This action will not delete files. You can specify the file "
       "types of your choice through the \"Options...\" button."},
      {"one\ntwo\rthree", "one two three"},
      {"ends in a blank \r\nnext", "ends in a blank next"},
  };
  for (auto [hint, name] : cases) EXPECT_EQ(NameFromHint(hint), name) << hint;
}

TEST(AccessibleText, SelectionEventsAreThoseOfAListBox) {
  using E = SelectionEvent;
  std::vector<int> many(kMaxSelectionEvents + 1);
  std::iota(many.begin(), many.end(), 0);
  const struct {
    std::vector<int> before, after;
    std::vector<E> events;
  } cases[] = {
      {{2}, {2}, {}},
      {{}, {4}, {{E::kSelection, 4}}},
      {{1, 2, 3}, {7}, {{E::kSelection, 7}}},    // one row alone, whatever went before
      {{1}, {1, 5}, {{E::kAdd, 5}}},             // a Ctrl+click adds
      {{1, 5, 6}, {1, 6}, {{E::kRemove, 5}}},
      {{1, 2}, {}, {{E::kRemove, 1}, {E::kRemove, 2}}},
      {{1, 2}, {2, 3}, {{E::kRemove, 1}, {E::kAdd, 3}}},
      {{}, many, {{E::kWithin, -1}}},             // Select All: one event, not one per row
      {many, {}, {{E::kWithin, -1}}},           // Clear of many rows
  };
  for (const auto& c : cases) EXPECT_EQ(SelectionEvents(c.before, c.after), c.events);
}

}  // namespace
}  // namespace scourly
