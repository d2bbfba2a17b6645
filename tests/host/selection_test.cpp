#include "lists/selection.h"

#include <gtest/gtest.h>

namespace scourly {
namespace {

using Panels = std::array<std::string, 4>;

struct Selection : ::testing::Test {
  ResultList list;
  StatusBar bar;

  void SetUp() override {
    bar.panels = {"Selected Size: 7 B", "Selected Files: 9", "Total Files: 3", "2 kB"};
  }
  void Sizes(std::vector<uint64_t> sizes) {
    std::vector<ResultRow> rows;
    for (uint64_t s : sizes) rows.push_back({"f", "C:\\", s, "d"});
    list.Assign(rows);
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int i = 0; i < list.Count(); ++i)
      if (list.Selected(i)) rows.push_back(i);
    return rows;
  }
};

TEST_F(Selection, SelectAllSelectsEveryRowAndSumsAll) {
  struct Case {
    std::vector<uint64_t> sizes;
    std::vector<int> selectedBefore;
    std::string sizeText, filesText;
  };
  const Case cases[] = {
      {{100, 2000, 0}, {}, "Selected Size: 2 kB", "Selected Files: 3"},
      {{100, 2000, 0},
       {1},
       "Selected Size: 2 kB",
       "Selected Files: 3"},  // already selected counts too
      {{3000000000ULL, 3000000000ULL}, {}, "Selected Size: 5859375 kB", "Selected Files: 2"},
  };
  for (const Case& c : cases) {
    Sizes(c.sizes);
    list.SetSelection(c.selectedBefore);
    SelectAll(list, bar);
    EXPECT_EQ(list.SelCount(), list.Count());
    EXPECT_EQ(bar.panels, (Panels{c.sizeText, c.filesText, "Total Files: 3", "2 kB"}));
  }
}

TEST_F(Selection, SelectAllOnAnEmptyListChangesNothing) {
  SelectAll(list, bar);
  EXPECT_EQ(bar.panels,
            (Panels{"Selected Size: 7 B", "Selected Files: 9", "Total Files: 3", "2 kB"}));
}

TEST_F(Selection, InvertSelectsTheOthersAndShowsTheirFigures) {
  struct Case {
    std::vector<uint64_t> sizes;
    std::vector<int> before, after;
    std::string sizeText, filesText;
  };
  const Case cases[] = {
      {{100, 2000, 0}, {0}, {1, 2}, "Selected Size 1 kB", "Selected Files: 2"},
      {{100, 2000, 0}, {}, {0, 1, 2}, "Selected Size 2 kB", "Selected Files: 3"},
      {{100, 2000, 0}, {0, 1, 2}, {}, "Selected Size 0 B", "Selected Files: 0"},
      {{}, {}, {}, "Selected Size 0 B", "Selected Files: 0"},  // empty list: panels still set
      {{4294967296ULL, 1, 4294967296ULL},
       {1},
       {0, 2},
       "Selected Size 8388608 kB",
       "Selected Files: 2"},
  };
  for (const Case& c : cases) {
    Sizes(c.sizes);
    list.SetSelection(c.before);
    InvertSel(list, bar);
    EXPECT_EQ(SelectedRows(), c.after);
    EXPECT_EQ(list.SelCount(), static_cast<int>(c.after.size()));
    EXPECT_EQ(bar.panels, (Panels{c.sizeText, c.filesText, "Total Files: 3", "2 kB"}));
  }
}

TEST_F(Selection, InvertTwiceRestoresTheSelection) {
  Sizes({100, 2000, 0, 5});
  list.SetSelection({0, 3});
  InvertSel(list, bar);
  InvertSel(list, bar);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 3}));
  EXPECT_EQ(bar.Get(0), "Selected Size 105 B");
  EXPECT_EQ(bar.Get(1), "Selected Files: 2");
}

}  // namespace
}  // namespace scourly
