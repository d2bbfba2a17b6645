// Sorting a result list by a column header, and the sorted list box order.
//
// A column sort leaves the rows in exactly the order of an exchange sort: for
// each position i, every later entry j that sorts before entry i is swapped
// with it. That procedure is quadratic (minutes for a few hundred thousand
// rows) and not stable, and the order it gives to equal keys is part of what
// the list shows. ExchangeSortOrder yields the same permutation in
// O(n log n):
//
// Take the entries of one key value v at their positions q1 < ... < qc and
// look only at the entries of key v or smaller in the unsorted tail. While
// smaller ones remain, each pass takes one of them out, and in that pattern
// it is the place of the first smaller entry that goes: when v entries lead
// the pattern, the first of them moves into that place, behind the other
// leading v entries; otherwise no v entry moves. So the leading v entries
// form a queue that turns by one for every smaller entry taken while they
// lead, and the next v entry joins its end once the smaller entries before
// it are gone. Once none is left, the passes emit the v entries in queue
// order.
//
// With g_i the number of smaller entries strictly between q_i and q_(i+1),
// and g_c the number after q_c: start with [q1]; for each i rotate the queue
// left by g_i, then append q_(i+1); finally rotate left by g_c.
//
// The counts come from one sweep with a Fenwick tree; each queue is built
// offline (the insert positions first, then the final places in reverse with
// a second Fenwick tree), so no rotation costs more than O(log c).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include "lists/controls.h"
#include "lists/result_row.h"

namespace scourly {

class Locale;

// The exchange sort's permutation given the rank of each entry's key (equal
// keys share a rank, smaller keys have smaller ranks, ranks 0 .. groups-1):
// entry order[k] goes to position k.
std::vector<int> ExchangeOrderOfRanks(const std::vector<int>& rank, int groups);

// The ranks of `keys` under a strict weak order `less`; returns the number of
// distinct keys.
template <class Key, class Less>
int RankKeys(const std::vector<Key>& keys, Less less, std::vector<int>& rank) {
  const int n = static_cast<int>(keys.size());
  std::vector<int> byKey(n);
  std::iota(byKey.begin(), byKey.end(), 0);
  std::stable_sort(byKey.begin(), byKey.end(),
                   [&](int a, int b) { return less(keys[a], keys[b]); });
  rank.assign(n, 0);
  int groups = 0;
  for (int k = 0; k < n; ++k) {
    if (k > 0 && less(keys[byKey[k - 1]], keys[byKey[k]])) ++groups;
    rank[byKey[k]] = groups;
  }
  return n == 0 ? 0 : groups + 1;
}

// The permutation the exchange sort applies to `keys` (entry order[k] ends at
// position k), in O(n log n). `less` must be a strict weak order.
template <class Key, class Less = std::less<Key>>
std::vector<int> ExchangeSortOrder(const std::vector<Key>& keys, Less less = Less()) {
  std::vector<int> rank;
  int groups = RankKeys(keys, less, rank);
  return ExchangeOrderOfRanks(rank, groups);
}

// The exchange sort itself, step by step: quadratic, kept as the reference
// the fast order is checked and measured against.
template <class Key, class Less = std::less<Key>>
std::vector<int> LiteralExchangeSortOrder(const std::vector<Key>& keys, Less less = Less()) {
  const int n = static_cast<int>(keys.size());
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  for (int i = 0; i + 1 < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (less(keys[order[j]], keys[order[i]])) std::swap(order[i], order[j]);
    }
  }
  return order;
}

// Locations compare by character code: the code points of the texts, which
// is the byte order of their UTF-8 (a text before any longer text it begins).
struct LocationLess {
  bool operator()(std::string_view a, std::string_view b) const { return a < b; }
};

// The keys of the three sortable columns, each read once per row. A location
// key views the row's own (shared) text, so it lives as long as the rows.
std::vector<std::string_view> LocationKeys(const std::vector<ResultRow>& rows);
std::vector<uint64_t> SizeKeys(const std::vector<ResultRow>& rows);  // full 64-bit sizes
std::vector<int64_t> DayKeys(const std::vector<ResultRow>& rows);    // calendar days

// The rows of `list` in the given order, put back in one step; the
// selection is gone afterwards.
void Reorder(ResultList& list, const std::vector<int>& order);

// The three column sorts (ascending; a second run changes nothing).
void SortByLocation(ResultList& list);
void SortBySize(ResultList& list);
void SortByTimeStamp(ResultList& list);

// The order of a sorted list box into which `texts` are added one by one, in
// order: ascending under the locale's list-box comparison; a text equal to
// entries already there goes where the list box's binary search first meets
// one of them (see column_sort.cpp). Each text's sort key is made once.
std::vector<int> ListBoxOrder(const std::vector<std::string>& texts, Locale& locale);
// The same from the texts' sort keys (Locale::ListSortKey).
std::vector<int> ListBoxOrderOfKeys(const std::vector<std::string>& keys);

// Puts `rows` into `list`, in list box order of their texts while the list's
// sorted state is on, as they come otherwise. Every replacement of a result
// list's rows goes through here, so a sorted list stays sorted.
void AssignRows(ResultList& list, std::vector<ResultRow> rows, Locale& locale);

// Turns the sorted state on: the rows are added anew to a sorted list box,
// in their present order.
void TurnSortedOn(ResultList& list, Locale& locale);

// Header sections of a result list.
inline constexpr int kSectionFileName = 0;
inline constexpr int kSectionLocation = 1;
inline constexpr int kSectionSize = 2;
inline constexpr int kSectionTimeStamp = 3;

// A click on header section `section` of `list`: panels 0 and 1 show no
// selection; "File Name" deselects every row and turns the sorted state on
// (nothing more when it is on already); the other three turn it off and sort
// by their column, ascending.
void HeaderSectionClick(ResultList& list, StatusBar& bar, int section, Locale& locale);

}  // namespace scourly
