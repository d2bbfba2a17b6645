// Rows share their folder's and day's texts, and lists remove rows in one
// pass: checked against plain copies of every field kept beside them, through
// random assignments, selections and removals.
#include <gtest/gtest.h>

#include <random>

#include "lists/controls.h"

namespace scourly {
namespace {

// What a row must give back, kept the plain way.
struct PlainRow {
  std::string name, location, date;
  uint64_t size, lastWrite;
  int64_t day;
  bool isFolder;
};

void ExpectSame(const ResultRow& row, const PlainRow& plain) {
  EXPECT_EQ(row.Name(), plain.name);
  EXPECT_EQ(row.Location(), plain.location);
  EXPECT_EQ(row.Size(), plain.size);
  EXPECT_EQ(row.Date(), plain.date);
  EXPECT_EQ(row.Day(), plain.day);
  EXPECT_EQ(row.LastWrite(), plain.lastWrite);
  EXPECT_EQ(row.IsFolder(), plain.isFolder);
  EXPECT_EQ(row.FullPath(), plain.location + plain.name);
}

// Rows as a scan makes them: shared folder and day texts, names short and
// long (inline and on the heap), folders and files, sizes past 4 GiB.
struct Batch {
  std::vector<ResultRow> rows;
  std::vector<PlainRow> plain;
};

Batch MakeRows(std::mt19937& rng, int count) {
  std::vector<SharedText> folders;
  std::vector<std::string> folderTexts;
  for (int f = 0; f < 30; ++f) {
    folderTexts.push_back("C:\\" + std::string(rng() % 200, 'p') + std::to_string(f) + "\\");
    folders.push_back(SharedText::Make(folderTexts.back()));
  }
  std::vector<SharedDay> days;
  for (int d = 0; d < 10; ++d) days.push_back(SharedDay::Make(DayText{-5 + d * 7000, "day" + std::to_string(d)}));
  Batch batch;
  for (int i = 0; i < count; ++i) {
    size_t f = rng() % folders.size(), d = rng() % days.size();
    std::string name = "n" + std::to_string(i) + std::string(rng() % 3 ? rng() % 10 : 20 + rng() % 60, 'x');
    uint64_t size = rng() % 4 ? rng() % 100000 : (uint64_t{1} << 32) * (rng() % 5) + rng();
    uint64_t lastWrite = (uint64_t{rng()} << 31) ^ rng();
    bool isFolder = rng() % 9 == 0;
    batch.rows.emplace_back(name, folders[f], size, lastWrite, days[d], isFolder);
    batch.plain.push_back({name, folderTexts[f], days[d]->text, size, lastWrite, days[d]->day,
                           isFolder});
  }
  return batch;
}

TEST(CompactRows, ARowIsItsNameAndThirtyTwoBytesAndSharesItsTexts) {
  EXPECT_EQ(sizeof(ResultRow), sizeof(std::string) + 32);
  SharedText folder = SharedText::Make("C:\\some folder\\");
  SharedDay day = SharedDay::Make(DayText{153000, "01.02.2024"});
  {
    std::vector<ResultRow> rows;
    for (int i = 0; i < 1000; ++i) rows.emplace_back("f" + std::to_string(i), folder, i, 7, day, i % 2);
    EXPECT_EQ(folder.Holders(), 1001u);
    EXPECT_EQ(&rows[3].Location(), &rows[999].Location()) << "the folder text was copied";
    std::vector<ResultRow> copies = rows;
    EXPECT_EQ(day.Holders(), 2001u);
    std::vector<ResultRow> moved = std::move(copies);
    EXPECT_EQ(day.Holders(), 2001u);
    EXPECT_TRUE(moved[1].IsFolder());
    EXPECT_FALSE(moved[2].IsFolder());
    EXPECT_EQ(moved[1].Date(), "01.02.2024");
  }
  EXPECT_EQ(folder.Holders(), 1u) << "rows gone, their references must be too";
  EXPECT_EQ(day.Holders(), 1u);
}

// Every operation of the list on rows and on plain copies side by side.
TEST(CompactRows, ListOperationsKeepEveryFieldOfEveryRow) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    std::mt19937 rng(seed);
    Batch batch = MakeRows(rng, 3000);
    ResultList list;
    std::vector<PlainRow> plain = batch.plain;
    std::vector<uint8_t> selected(plain.size(), 0);
    list.Assign(batch.rows);  // a copy: the batch keeps its own
    for (int step = 0; step < 40 && !plain.empty(); ++step) {
      const size_t n = plain.size();
      switch (rng() % 4) {
        case 0: {  // the window reports a selection
          std::vector<int> picked;
          for (size_t i = 0; i < n; ++i) {
            if (rng() % 3 == 0) picked.push_back(static_cast<int>(i));
          }
          list.SetSelection(picked);
          std::fill(selected.begin(), selected.end(), 0);
          for (int i : picked) selected[i] = 1;
          break;
        }
        case 1: {  // single toggles
          for (int k = 0; k < 50; ++k) {
            size_t i = rng() % n;
            bool on = rng() % 2;
            list.SetSelected(static_cast<int>(i), on);
            selected[i] = on;
          }
          break;
        }
        case 2: {  // the selected rows go
          list.RemoveSelected();
          std::vector<PlainRow> kept;
          for (size_t i = 0; i < n; ++i) {
            if (!selected[i]) kept.push_back(plain[i]);
          }
          plain = std::move(kept);
          selected.assign(plain.size(), 0);
          break;
        }
        case 3: {  // a deletion's outcome: some go, some stay selected
          std::vector<uint8_t> remove(n), select(n);
          for (size_t i = 0; i < n; ++i) {
            remove[i] = rng() % 4 == 0;
            select[i] = rng() % 5 == 0;
          }
          list.RemoveMarked(remove, select);
          std::vector<PlainRow> kept;
          std::vector<uint8_t> keptSelected;
          for (size_t i = 0; i < n; ++i) {
            if (remove[i]) continue;
            kept.push_back(plain[i]);
            keptSelected.push_back(select[i]);
          }
          plain = std::move(kept);
          selected = std::move(keptSelected);
          break;
        }
      }
      ASSERT_EQ(list.Count(), static_cast<int>(plain.size()));
      int64_t total = 0;
      int selCount = 0;
      for (size_t i = 0; i < plain.size(); ++i) {
        ExpectSame(list[static_cast<int>(i)], plain[i]);
        EXPECT_EQ(list.Selected(static_cast<int>(i)), selected[i] != 0) << i;
        total += static_cast<int64_t>(plain[i].size);
        selCount += selected[i];
      }
      EXPECT_EQ(list.TotalBytes(), total);
      EXPECT_EQ(list.SelCount(), selCount);
      EXPECT_LT(list.itemIndex, list.Count());
    }
    for (size_t i = 0; i < batch.rows.size(); ++i) ExpectSame(batch.rows[i], batch.plain[i]);
  }
}

}  // namespace
}  // namespace scourly
