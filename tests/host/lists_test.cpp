#include <gtest/gtest.h>

#include "lists/result_row.h"
#include "lists/status_panels.h"

namespace scourly {
namespace {

TEST(SizeText, UsesWholeKilobytesOnlyFromOneKilobyteUp) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "0 B"},      {1023, "1023 B"},  {1024, "1 kB"},       {1535, "1 kB"},
      {2047, "1 kB"},  {2048, "2 kB"},    {1048576, "1024 kB"}, {-500, "-500 B"},
      {3000000000LL, "2929687 kB"},  // beyond 32 bits, no overflow
  };
  for (auto [bytes, text] : cases) EXPECT_EQ(SizeText(bytes), text) << bytes;
}

TEST(ResultRow, JoinsFourFieldsAndKeepsFullSizes) {
  ResultRow row{"x.tmp", "C:\\WINDOWS\\TEMP\\", 3000000000ULL, "15.03.2024"};
  EXPECT_EQ(row.Text(), "x.tmp;C:\\WINDOWS\\TEMP\\;3000000000;15.03.2024");
  EXPECT_EQ(row.FullPath(), "C:\\WINDOWS\\TEMP\\x.tmp");
}

TEST(ResultRow, NameWithDelimiterShowsSplitButKeepsItsPath) {
  ResultRow row{"a;b.tmp", "C:\\d\\", 5, "01.01.2020"};
  std::string text = row.Text();
  // Shown split at every ";" ...
  EXPECT_EQ(TextField(text, 0), "a");
  EXPECT_EQ(TextField(text, 1), "b.tmp");
  EXPECT_EQ(TextField(text, 4), "01.01.2020");
  EXPECT_EQ(TextField(text, 5), "");
  // ... while the path stays the listed file's.
  EXPECT_EQ(row.FullPath(), "C:\\d\\a;b.tmp");
}

struct RefreshFixture : ::testing::Test {
  ResultList list;
  StatusBar bar;
  ToolButton deleteAll, deleteSel;

  void Fill() {
    list.Assign({{"a", "C:\\", 1000, "d"}, {"b", "C:\\", 500, "d"}, {"c", "C:\\", 0, "d"}});
  }
};

TEST_F(RefreshFixture, EmptyListResetsPanelsAndLeavesDeleteSelectedAlone) {
  deleteAll.enabled = true;
  deleteSel.enabled = true;
  RefreshListStatus(list, "7 kB", bar, deleteAll, deleteSel);
  EXPECT_EQ(bar.panels, (std::array<std::string, 4>{"Selected Size: 0 B", "Selected Files: 0",
                                                    "Total Files: 0", "0 B"}));
  EXPECT_FALSE(deleteAll.enabled);
  EXPECT_TRUE(deleteSel.enabled);
}

TEST_F(RefreshFixture, SelectionFiguresAndButtons) {
  Fill();
  list.SetSelection({0, 1});
  RefreshListStatus(list, "1 kB", bar, deleteAll, deleteSel);
  EXPECT_EQ(bar.panels, (std::array<std::string, 4>{"Selected Size: 1 kB", "Selected Files: 2",
                                                    "Total Files: 3", "1 kB"}));
  EXPECT_TRUE(deleteAll.enabled);
  EXPECT_TRUE(deleteSel.enabled);

  list.SetSelection({});
  RefreshListStatus(list, "1 kB", bar, deleteAll, deleteSel);
  EXPECT_EQ(bar.Get(0), "Selected Size: 0 B");
  EXPECT_EQ(bar.Get(1), "Selected Files: 0");
  EXPECT_FALSE(deleteSel.enabled);
}

TEST_F(RefreshFixture, SelectedSumDoesNotOverflowThirtyTwoBits) {
  list.Assign({{"big1", "C:\\", 3000000000ULL, "d"}, {"big2", "C:\\", 5000000000ULL, "d"}});
  list.SetSelection({0, 1});
  RefreshListStatus(list, "", bar, deleteAll, deleteSel);
  EXPECT_EQ(bar.Get(0), "Selected Size: 7812500 kB");
}

TEST(SelectableList, RemoveSelectedKeepsOrderOfTheRest) {
  TextList list;
  list.Assign({"a", "b", "c", "d", "e"});
  list.SetSelection({1, 3, 3, 99});
  EXPECT_EQ(list.SelCount(), 2);
  list.RemoveSelected();
  EXPECT_EQ(list.Rows(), (std::vector<std::string>{"a", "c", "e"}));
  EXPECT_EQ(list.SelCount(), 0);
}

}  // namespace
}  // namespace scourly
