#include "lists/column_sort.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lists/status_panels.h"
#include "platform/fake/fake_windows.h"

namespace scourly {
namespace {

using Order = std::vector<int>;
using Texts = std::vector<std::string>;

ResultRow Row(std::string name, std::string location = "C:\\", uint64_t size = 0, int64_t day = 0) {
  return ResultRow{std::move(name), std::move(location), size, "d" + std::to_string(day), 0, day};
}

Texts Names(const ResultList& list) {
  Texts names;
  for (const ResultRow& row : list.Rows()) names.push_back(row.Name());
  return names;
}

// ---- The fast order against the exchange procedure ----

TEST(ExchangeSortOrder, EqualKeysEndInTheProceduresOrder) {
  // 2, 2, 1: the 1, then the second 2, then the first 2.
  const std::vector<int> keys = {2, 2, 1};
  EXPECT_EQ(LiteralExchangeSortOrder(keys), (Order{2, 1, 0}));
  EXPECT_EQ(ExchangeSortOrder(keys), (Order{2, 1, 0}));
  EXPECT_TRUE(ExchangeSortOrder(std::vector<int>{}).empty());
  EXPECT_EQ(ExchangeSortOrder(std::vector<int>{7}), (Order{0}));
}

TEST(ExchangeSortOrder, MatchesTheProcedureOnRandomListsWithHeavyTies) {
  std::mt19937 random(20240315);
  struct Shape {
    int trials, maxLength, keyRange;
  };
  // Few distinct keys give long queues and many rotations; more keys give
  // longer runs of smaller entries between equal ones.
  const Shape shapes[] = {{3000, 12, 2},  {3000, 40, 3}, {1000, 200, 5},
                          {300, 600, 40}, {6, 3000, 4},  {4, 4000, 200}};
  for (const Shape& s : shapes) {
    for (int t = 0; t < s.trials; ++t) {
      int n = std::uniform_int_distribution<int>(0, s.maxLength)(random);
      std::vector<int> keys(n);
      for (int& k : keys) k = std::uniform_int_distribution<int>(0, s.keyRange - 1)(random);
      ASSERT_EQ(ExchangeSortOrder(keys), LiteralExchangeSortOrder(keys))
          << "n=" << n << " keys in 0.." << s.keyRange - 1 << " trial " << t;
    }
  }
}

TEST(ExchangeSortOrder, MatchesTheProcedureOnStructuredInputs) {
  // Sorted, reversed, sawtooth and organ-pipe inputs, with ties.
  for (int n : {2, 3, 17, 256, 1001}) {
    std::vector<std::vector<int>> inputs(4, std::vector<int>(n));
    for (int i = 0; i < n; ++i) {
      inputs[0][i] = i / 3;
      inputs[1][i] = (n - i) / 3;
      inputs[2][i] = i % 7;
      inputs[3][i] = std::min(i, n - i) / 2;
    }
    for (const auto& keys : inputs)
      EXPECT_EQ(ExchangeSortOrder(keys), LiteralExchangeSortOrder(keys)) << n;
  }
}

TEST(ExchangeSortOrder, MatchesTheProcedureForLocationKeys) {
  std::mt19937 random(7);
  const Texts pool = {"C:\\", "C:\\a\\", "C:\\A\\", "C:\\a\\b\\", "C:\\ab\\", "D:\\", "C:\\é\\"};
  for (int t = 0; t < 500; ++t) {
    int n = std::uniform_int_distribution<int>(0, 60)(random);
    std::vector<std::string_view> keys(n);
    for (auto& k : keys)
      k = pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random)];
    ASSERT_EQ(ExchangeSortOrder(keys, LocationLess()),
              LiteralExchangeSortOrder(keys, LocationLess()));
  }
}

// ---- The three column sorts ----

TEST(ColumnSort, SizesAreNumbersOfAnySize) {
  struct Case {
    std::vector<uint64_t> sizes;
    std::vector<uint64_t> sorted;
  };
  const Case cases[] = {
      {{10, 9, 100}, {9, 10, 100}},  // numeric, not text order
      {{5000000000ULL, 4294967296ULL, 1, 4294967295ULL, 3000000000ULL, 2147483648ULL},
       {1, 2147483648ULL, 3000000000ULL, 4294967295ULL, 4294967296ULL, 5000000000ULL}},
  };
  for (const Case& c : cases) {
    ResultList list;
    std::vector<ResultRow> rows;
    for (uint64_t s : c.sizes) rows.push_back(Row("f" + std::to_string(s), "C:\\", s));
    list.Assign(rows);
    SortBySize(list);
    std::vector<uint64_t> got;
    for (const ResultRow& row : list.Rows()) got.push_back(row.Size());
    EXPECT_EQ(got, c.sorted);
  }
}

TEST(ColumnSort, LocationsInCodePointOrder) {
  ResultList list;
  // Capital before small letter, a folder before its subfolders, and
  // characters beyond the 16-bit range after those below it (code points,
  // not UTF-16 units).
  list.Assign({Row("1", "C:\\b\\"), Row("2", "C:\\B\\"), Row("3", "C:\\b\\c\\"),
               Row("4", "C:\\\xF0\x9F\x98\x80\\"),  // U+1F600
               Row("5", "C:\\\xEF\xBC\xA1\\"),      // U+FF21
               Row("6", "C:\\\xC3\xA9\\"),          // U+00E9
               Row("7", "C:\\")});
  SortByLocation(list);
  EXPECT_EQ(Names(list), (Texts{"7", "2", "1", "3", "6", "5", "4"}));
}

TEST(ColumnSort, TimeStampsByDayNotByText) {
  ResultList list;
  // Day numbers against date texts that would order the other way round.
  list.Assign({ResultRow{"late", "C:\\", 1, "01.02.2024", 0, 153},
               ResultRow{"early", "C:\\", 1, "31.01.2024", 0, 152},
               ResultRow{"first", "C:\\", 1, "05.05.1999", 0, -4}});
  SortByTimeStamp(list);
  EXPECT_EQ(Names(list), (Texts{"first", "early", "late"}));
}

// ---- Header clicks ----

struct HeaderClick : ::testing::Test {
  fake::FakeLocale locale;
  ResultList list;
  StatusBar bar;

  void SetUp() override {
    bar.panels = {"Selected Size: 9 kB", "Selected Files: 4", "Total Files: 5", "12 kB"};
    // Equal days and sizes in between, so the order of ties shows.
    list.Assign({Row("d", "C:\\y\\", 30, 5), Row("B", "C:\\x\\", 10, 7), Row("a", "C:\\y\\", 20, 5),
                 Row("c", "C:\\x\\", 10, 5), Row("e", "C:\\Z\\", 10, 7)});
    list.SetSelection({0, 2, 3, 4});
  }
};

TEST_F(HeaderClick, EachSectionSortsAscendingAndClearsSelectionAndFirstTwoPanels) {
  struct Case {
    int section;
    Texts names;
    bool sorted;
  };
  const Case cases[] = {
      {kSectionFileName, {"a", "B", "c", "d", "e"}, true},
      {kSectionLocation, {"e", "c", "B", "d", "a"}, false},  // c and B swapped by the sort
      {kSectionSize, {"B", "c", "e", "a", "d"}, false},
      {kSectionTimeStamp, {"d", "a", "c", "B", "e"}, false},
  };
  for (const Case& c : cases) {
    SetUp();
    HeaderSectionClick(list, bar, c.section, locale);
    EXPECT_EQ(Names(list), c.names) << c.section;
    EXPECT_EQ(list.sorted, c.sorted) << c.section;
    EXPECT_EQ(list.SelCount(), 0) << c.section;
    EXPECT_EQ(bar.panels, (std::array<std::string, 4>{"Selected Size: 0 B", "Selected Files: 0",
                                                      "Total Files: 5", "12 kB"}))
        << c.section;
  }
}

TEST_F(HeaderClick, ASecondClickChangesNothing) {
  for (int section : {kSectionLocation, kSectionSize, kSectionTimeStamp, kSectionFileName}) {
    SetUp();
    HeaderSectionClick(list, bar, section, locale);
    std::vector<ResultRow> once = list.Rows();
    list.SetSelection({1});
    HeaderSectionClick(list, bar, section, locale);
    EXPECT_EQ(list.Rows(), once) << section;
    EXPECT_EQ(list.SelCount(), 0) << section;
  }
}

TEST_F(HeaderClick, SortedStateKeepsLaterRowsInOrderUntilAnotherHeaderIsClicked) {
  HeaderSectionClick(list, bar, kSectionFileName, locale);
  AssignRows(list, {Row("z"), Row("Y"), Row("x")}, locale);
  EXPECT_EQ(Names(list), (Texts{"x", "Y", "z"}));

  HeaderSectionClick(list, bar, kSectionSize, locale);
  EXPECT_FALSE(list.sorted);
  AssignRows(list, {Row("z"), Row("Y"), Row("x")}, locale);
  EXPECT_EQ(Names(list), (Texts{"z", "Y", "x"}));
}

TEST_F(HeaderClick, FileNameOnASortedListOnlyDeselects) {
  HeaderSectionClick(list, bar, kSectionFileName, locale);
  // Rows that a sorted list could not hold in this order: proof that the
  // second click does not sort again.
  list.Assign({Row("b"), Row("a")});
  list.SetSelection({0, 1});
  uint64_t revision = list.revision();
  HeaderSectionClick(list, bar, kSectionFileName, locale);
  EXPECT_EQ(Names(list), (Texts{"b", "a"}));
  EXPECT_EQ(list.revision(), revision);
  EXPECT_EQ(list.SelCount(), 0);
}

// ---- The sorted list box's order ----

// A sorted list box, entry by entry: binary search, insert where the first
// equal entry was met, else where the search ended.
Order ListBoxByInsertion(const Texts& texts, Locale& locale) {
  Order box;
  for (int t = 0; t < static_cast<int>(texts.size()); ++t) {
    int min = 0, max = static_cast<int>(box.size()) - 1, at = -1;
    while (min <= max) {
      int index = (min + max) / 2;
      int res = locale.CompareListText(texts[box[index]], texts[t]);
      if (res == 0) {
        at = index;
        break;
      }
      if (res > 0)
        max = index - 1;
      else
        min = index + 1;
    }
    box.insert(box.begin() + (at >= 0 ? at : min), t);
  }
  return box;
}

TEST(ListBoxOrder, EqualTextsGoWhereTheBinarySearchMeetsThem) {
  fake::FakeLocale locale;
  // "B" goes before the equal "b"; the second "b" meets "B" first.
  EXPECT_EQ(ListBoxOrder({"b", "B", "a", "b"}, locale), (Order{2, 3, 1, 0}));
  EXPECT_TRUE(ListBoxOrder({}, locale).empty());
}

TEST(ListBoxOrder, MatchesEntryByEntryInsertionOnRandomTexts) {
  fake::FakeLocale locale;
  std::mt19937 random(99);
  const Texts pool = {"a", "A", "b", "B", "ab", "Ab", "aB", "a;1", "A;1", "c", "", "-a"};
  for (int t = 0; t < 2000; ++t) {
    int n = std::uniform_int_distribution<int>(0, t < 1990 ? 40 : 1500)(random);
    Texts texts(n);
    for (auto& s : texts)
      s = pool[std::uniform_int_distribution<size_t>(0, pool.size() - 1)(random)];
    ASSERT_EQ(ListBoxOrder(texts, locale), ListBoxByInsertion(texts, locale)) << "trial " << t;
  }
}

TEST(ListBoxOrder, TurningSortedOnMakesOneSortKeyPerRow) {
  // The platform's comparison is slow (a linguistic compare of two whole
  // rows); n log n of them take seconds for a big list.
  fake::FakeLocale locale;
  ResultList list;
  std::vector<ResultRow> rows;
  for (int i = 0; i < 4096; ++i) rows.push_back(Row(std::to_string(i * 7919 % 4096)));
  list.Assign(rows);
  TurnSortedOn(list, locale);
  EXPECT_EQ(locale.sortKeys, 4096);
  EXPECT_EQ(locale.comparisons, 0);
  EXPECT_EQ(list[0].Name(), "0");
  EXPECT_EQ(list[4095].Name(), "9");  // "9;..." after "999;...": whole row texts compare
}

}  // namespace
}  // namespace scourly
