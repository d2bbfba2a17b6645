#include "lists/column_sort.h"

#include "lists/status_panels.h"
#include "platform/locale.h"

namespace scourly {
namespace {

// Counts per slot with prefix sums and "find the k-th one" in O(log n).
class Fenwick {
 public:
  explicit Fenwick(int n) : tree_(n + 1, 0) {}

  // Every slot holding a 1, built in O(n).
  void FillOnes() {
    for (size_t i = 1; i < tree_.size(); ++i) tree_[i] = static_cast<int>(i & (~i + 1));
  }
  void Add(int slot, int delta) {
    for (size_t i = slot + 1; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  // Sum of slots 0 .. slot-1.
  int Prefix(int slot) const {
    int sum = 0;
    for (size_t i = slot; i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  // The slot holding the (k+1)-th one (slots hold 0 or 1; k below the total).
  int FindKth(int k) const {
    size_t pos = 0;
    size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (pos + step < tree_.size() && tree_[pos + step] <= k) {
        pos += step;
        k -= tree_[pos];
      }
    }
    return static_cast<int>(pos);  // slots before it hold k ones
  }

 private:
  std::vector<int> tree_;
};

// Entries of each rank, at ascending positions: byRank[start[r] .. start[r+1]).
void GroupByRank(const std::vector<int>& rank, int groups, std::vector<int>& start,
                 std::vector<int>& byRank) {
  start.assign(groups + 1, 0);
  for (int r : rank) ++start[r + 1];
  for (int g = 0; g < groups; ++g) start[g + 1] += start[g];
  byRank.resize(rank.size());
  std::vector<int> next(start.begin(), start.end() - 1);
  for (int p = 0; p < static_cast<int>(rank.size()); ++p) byRank[next[rank[p]]++] = p;
}

// Places `members` given the position each took, within its group, when it
// was inserted (members in insertion order; insertAt[i] <= i): returns them
// in their final order. Later insertions push earlier ones back, so walking
// backwards each member takes the insertAt-th slot still free.
void PlaceInsertions(const int* members, const std::vector<int>& insertAt, int count,
                     std::vector<int>& placed) {
  placed.assign(count, 0);
  Fenwick free(count);
  free.FillOnes();
  for (int i = count - 1; i >= 0; --i) {
    int slot = free.FindKth(insertAt[i]);
    free.Add(slot, -1);
    placed[slot] = members[i];
  }
}

}  // namespace

std::vector<int> ExchangeOrderOfRanks(const std::vector<int>& rank, int groups) {
  const int n = static_cast<int>(rank.size());
  std::vector<int> start, byRank;
  GroupByRank(rank, groups, start, byRank);

  // smallerBefore[p]: entries before position p with a smaller key.
  std::vector<int> smallerBefore(n);
  Fenwick seen(groups);
  for (int p = 0; p < n; ++p) {
    smallerBefore[p] = seen.Prefix(rank[p]);
    seen.Add(rank[p], 1);
  }

  std::vector<int> order(n);
  std::vector<int> insertAt, placed;
  for (int g = 0; g < groups; ++g) {
    const int first = start[g];
    const int count = start[g + 1] - first;
    const int* q = byRank.data() + first;
    if (count == 1) {
      order[first] = q[0];
      continue;
    }
    // The queue kept as a ring in a growing array: `head` is the queue's
    // front; a rotation moves the head, an append goes in just before it.
    insertAt.assign(count, 0);
    int64_t head = 0;
    for (int i = 1; i < count; ++i) {
      int64_t gap = smallerBefore[q[i]] - smallerBefore[q[i - 1]];
      head = (head + gap) % i;  // the queue holds i entries
      insertAt[i] = static_cast<int>(head);
      ++head;  // the old front moved up by one
    }
    int64_t gap = first - smallerBefore[q[count - 1]];  // smaller entries after q_c
    head = (head + gap) % count;
    PlaceInsertions(q, insertAt, count, placed);
    for (int k = 0; k < count; ++k) order[first + k] = placed[(head + k) % count];
  }
  return order;
}

std::vector<std::string_view> LocationKeys(const std::vector<ResultRow>& rows) {
  std::vector<std::string_view> keys;
  keys.reserve(rows.size());
  for (const ResultRow& row : rows) keys.emplace_back(row.Location());
  return keys;
}

std::vector<uint64_t> SizeKeys(const std::vector<ResultRow>& rows) {
  std::vector<uint64_t> keys;
  keys.reserve(rows.size());
  for (const ResultRow& row : rows) keys.push_back(row.Size());
  return keys;
}

std::vector<int64_t> DayKeys(const std::vector<ResultRow>& rows) {
  std::vector<int64_t> keys;
  keys.reserve(rows.size());
  for (const ResultRow& row : rows) keys.push_back(row.Day());
  return keys;
}

void Reorder(ResultList& list, const std::vector<int>& order) {
  // The list hands out its rows read-only, so they are copied; a row's
  // location and date are shared, only the name is a copy of its own.
  std::vector<ResultRow> rows;
  rows.reserve(order.size());
  for (int i : order) rows.push_back(list[i]);
  list.Assign(std::move(rows));
}

void SortByLocation(ResultList& list) {
  Reorder(list, ExchangeSortOrder(LocationKeys(list.Rows()), LocationLess()));
}

void SortBySize(ResultList& list) { Reorder(list, ExchangeSortOrder(SizeKeys(list.Rows()))); }

void SortByTimeStamp(ResultList& list) { Reorder(list, ExchangeSortOrder(DayKeys(list.Rows()))); }

std::vector<int> ListBoxOrderOfKeys(const std::vector<std::string>& keys) {
  // Texts the comparison finds equal form a class; classes come out in
  // ascending order. Within a class the order is that of the list box's
  // insertion: it binary-searches the entries for the new text, probing
  // index (min + max) / 2, and inserts the text in place of the first equal
  // entry it meets (never after all of them). Which entry that is depends
  // only on how many smaller and how many equal entries the list holds at
  // that moment, so the probes are replayed on those two counts.
  std::vector<int> rank;
  int groups = RankKeys(keys, std::less<std::string>(), rank);
  const int n = static_cast<int>(keys.size());
  std::vector<int> start, byRank;
  GroupByRank(rank, groups, start, byRank);

  std::vector<int> insertAt(n);  // by position: where in its class it went in
  std::vector<int> classCount(groups, 0);
  Fenwick seen(groups);
  for (int t = 0; t < n; ++t) {
    const int r = rank[t];
    const int smaller = seen.Prefix(r);
    const int equal = classCount[r];
    int at = 0;
    if (equal > 0) {
      int min = 0, max = t - 1;
      for (;;) {
        int index = (min + max) / 2;
        if (index < smaller) {
          min = index + 1;
        } else if (index >= smaller + equal) {
          max = index - 1;
        } else {
          at = index - smaller;
          break;
        }
      }
    }
    insertAt[t] = at;
    ++classCount[r];
    seen.Add(r, 1);
  }

  std::vector<int> order(n);
  std::vector<int> classInsertAt, placed;
  for (int g = 0; g < groups; ++g) {
    const int first = start[g];
    const int count = start[g + 1] - first;
    const int* members = byRank.data() + first;
    classInsertAt.resize(count);
    for (int i = 0; i < count; ++i) classInsertAt[i] = insertAt[members[i]];
    PlaceInsertions(members, classInsertAt, count, placed);
    std::copy(placed.begin(), placed.end(), order.begin() + first);
  }
  return order;
}

std::vector<int> ListBoxOrder(const std::vector<std::string>& texts, Locale& locale) {
  std::vector<std::string> keys;
  keys.reserve(texts.size());
  for (const std::string& text : texts) keys.push_back(locale.ListSortKey(text));
  return ListBoxOrderOfKeys(keys);
}

namespace {

std::vector<int> RowsListBoxOrder(const std::vector<ResultRow>& rows, Locale& locale) {
  std::vector<std::string> keys;
  keys.reserve(rows.size());
  for (const ResultRow& row : rows) keys.push_back(locale.ListSortKey(row.Text()));
  return ListBoxOrderOfKeys(keys);
}

}  // namespace

void AssignRows(ResultList& list, std::vector<ResultRow> rows, Locale& locale) {
  if (list.sorted) {
    std::vector<int> order = RowsListBoxOrder(rows, locale);
    std::vector<ResultRow> sorted;
    sorted.reserve(rows.size());
    for (int i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
  }
  list.Assign(std::move(rows));
}

void TurnSortedOn(ResultList& list, Locale& locale) {
  if (list.sorted) return;
  list.sorted = true;
  Reorder(list, RowsListBoxOrder(list.Rows(), locale));
}

void HeaderSectionClick(ResultList& list, StatusBar& bar, int section, Locale& locale) {
  ResetSelectionPanels(bar);
  switch (section) {
    case kSectionFileName:
      for (int i = 0; i < list.Count(); ++i) list.SetSelected(i, false);
      TurnSortedOn(list, locale);
      break;
    case kSectionLocation:
      list.sorted = false;
      SortByLocation(list);
      break;
    case kSectionSize:
      list.sorted = false;
      SortBySize(list);
      break;
    case kSectionTimeStamp:
      list.sorted = false;
      SortByTimeStamp(list);
      break;
    default:
      break;
  }
}

}  // namespace scourly
