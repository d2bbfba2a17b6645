// The sorted state's order (ListBoxOrder over Win32Locale) against a real
// sorted list box filled entry by entry.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "lists/column_sort.h"
#include "platform/win32/win32_platform.h"

namespace scourly {
namespace {

// A real LBS_SORT list box: adds the texts in order and reports, for each
// entry from the top, which text it is (kept in the entry's item data, since
// equal texts cannot be told apart by their strings).
std::vector<int> RealListBoxOrder(const std::vector<std::string>& texts) {
  HWND box =
      CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_SORT | LBS_HASSTRINGS | LBS_MULTIPLESEL, 0,
                      0, 200, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(box, nullptr);
  if (!box) return {};
  for (size_t t = 0; t < texts.size(); ++t) {
    std::wstring wide = Widen(texts[t]);
    LRESULT at = SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    EXPECT_GE(at, 0) << texts[t];
    SendMessageW(box, LB_SETITEMDATA, at, static_cast<LPARAM>(t));
  }
  std::vector<int> order;
  LRESULT count = SendMessageW(box, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i)
    order.push_back(static_cast<int>(SendMessageW(box, LB_GETITEMDATA, i, 0)));
  DestroyWindow(box);
  return order;
}

std::string Show(const std::vector<std::string>& texts, const std::vector<int>& order) {
  std::string shown;
  for (int i : order) shown += "  [" + std::to_string(i) + "] " + texts[i] + "\n";
  return shown;
}

// Names that the linguistic, case-blind order treats in its own ways:
// hyphens and apostrophes (word sort), case, digits, accents and ligatures,
// punctuation, the column delimiter, texts equal but for case.
// clang-format off
const char* const kNames[] = {
    "-", "'", "a", "A", "b", "B", "-a", "a-", "'a", "a'",
    "co-op", "coop", "co'op", "Coop", "CO-OP", "read-me", "read me", "readme", "README", "ReadMe",
    "10", "9", "100", "1", "01", "0", "2", "²", "½", "x-1", "x-10", "x-2",
    "e", "E", "é", "É", "f", "ß", "ss", "SS", "æ", "ae", "ä", "Ä", "ñ", "n", "Z", "z", "zebra", "Zebra",
    "_x", "~x", "$x", "#x", "!x", "x.", "x..", ".x", "[x]", "(x)", "x y", "xy", "a b", "ab",
    "x;y", "x;Y", "a;b", "a;B", "a.txt", "A.TXT",
    "日本", "😀", "Ａ", "",
};
// clang-format on

const char* const kLocations[] = {"C:\\",      "C:\\Temp\\", "c:\\temp\\",
                                  "T:\\a-b\\", "T:\\ab\\",   "T:\\A;B\\"};

// Row texts as a scan makes them: name;location;size;date.
std::vector<std::string> RowTexts(std::mt19937& random, int count) {
  const int names = static_cast<int>(std::size(kNames));
  const int locations = static_cast<int>(std::size(kLocations));
  const char* const dates[] = {"15.03.2024", "01.01.1999"};
  const uint64_t sizes[] = {0, 9, 10, 100, 3000000000ULL};
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) {
    ResultRow row{kNames[random() % names], kLocations[random() % locations], sizes[random() % 5],
                  dates[random() % 2]};
    texts.push_back(row.Text());
  }
  return texts;
}

TEST(ListBoxOrder, BareNamesInTheRealListBoxsOrder) {
  std::vector<std::string> texts(std::begin(kNames), std::end(kNames));
  Win32Locale locale;
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    std::vector<int> expected = RealListBoxOrder(texts);
    std::vector<int> got = ListBoxOrder(texts, locale);
    ASSERT_EQ(got, expected) << "round " << round << "\nlist box:\n"
                             << Show(texts, expected) << "logic:\n"
                             << Show(texts, got);
    std::shuffle(texts.begin(), texts.end(), random);
  }
}

TEST(ListBoxOrder, RowTextsWithManyEqualEntriesInTheRealListBoxsOrder) {
  // Few names and locations for many rows: long runs of texts equal but for
  // case, and exact repeats, inserted at every depth of the search.
  Win32Locale locale;
  std::mt19937 random(11);
  for (int count : {50, 400, 3000}) {
    std::vector<std::string> texts = RowTexts(random, count);
    std::vector<int> expected = RealListBoxOrder(texts);
    std::vector<int> got = ListBoxOrder(texts, locale);
    ASSERT_EQ(got.size(), expected.size());
    for (size_t k = 0; k < got.size(); ++k) {
      ASSERT_EQ(got[k], expected[k])
          << count << " rows, entry " << k << ": list box has \"" << texts[expected[k]]
          << "\", logic \"" << texts[got[k]] << "\"";
    }
  }
}

TEST(ListBoxOrder, SortKeysOrderAsTheComparisonDoes) {
  Win32Locale locale;
  std::vector<std::string> texts(std::begin(kNames), std::end(kNames));
  std::mt19937 random(3);
  for (const std::string& t : RowTexts(random, 60)) texts.push_back(t);
  std::vector<std::string> keys;
  for (const std::string& t : texts) keys.push_back(locale.ListSortKey(t));
  for (size_t a = 0; a < texts.size(); ++a) {
    for (size_t b = 0; b < texts.size(); ++b) {
      int byCompare = locale.CompareListText(texts[a], texts[b]);
      int byKey = keys[a].compare(keys[b]);
      ASSERT_EQ((byCompare > 0) - (byCompare < 0), (byKey > 0) - (byKey < 0))
          << "\"" << texts[a] << "\" against \"" << texts[b] << "\"";
    }
  }
}

TEST(ListBoxOrder, ComparisonIgnoresCaseOnly) {
  Win32Locale locale;
  EXPECT_EQ(locale.CompareListText("README.TXT;C:\\;1;d", "readme.txt;c:\\;1;d"), 0);
  EXPECT_LT(locale.CompareListText("a", "B"), 0);
  EXPECT_GT(locale.CompareListText("b", "A"), 0);
  EXPECT_GT(locale.CompareListText("9", "10"), 0);  // digit by digit, not by number
  EXPECT_NE(locale.CompareListText("co-op", "coop"), 0);
  EXPECT_NE(locale.CompareListText("\xC3\xA9", "e"), 0);  // accents count
}

}  // namespace
}  // namespace scourly
