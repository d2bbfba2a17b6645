// How Purgix.dll hands paths to the shell: many per call, and smaller
// batches when a call fails. Portable (the shell and the checks are
// callbacks), so the rules are tested without Windows.
//
// The shell's file operation checks a whole list before it starts, on
// Windows: one path that is missing or refused and nothing of the list is
// deleted. So a batch that fails is tried again without the paths that may
// no longer go (gone, in use, now a link), and, when that is not what
// failed, in halves, down to single paths: one bad path never keeps the
// others from going, and only paths that are there are handed over.
//
// A question of the shell (whether to delete for good what the Recycle Bin
// cannot take) is the user's answer for the whole batch it came in: a batch
// during which the shell asked is never tried again, so "No" keeps every file
// of it that had not gone yet, and the user is asked once per batch.
//
// Without a user to ask (the command line), the question never shows and
// counts as "No"; the paths of that batch which may still go are then handed
// over one by one, so only the ones the Recycle Bin refuses stay.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace purgix {

// What one call of the shell reported.
struct BatchOutcome {
  bool done = false;   // no error and nothing aborted: every path went
  bool asked = false;  // the shell asked the user something during the call
};

struct BatchShell {
  // Whether `path` may be handed over right now (still there, not in use,
  // no link on its way); asked again only before a retry.
  std::function<bool(const std::wstring& path)> mayGo;
  // One call of the shell on `paths`, in order.
  std::function<BatchOutcome(const std::vector<const std::wstring*>& paths)> recycle;
};

class Batches {
 public:
  // A batch holds at most `maxChars` characters of the shell's list (each
  // path and its terminating null), and always at least one path.
  // `unattended`: nobody answers the shell's questions (see above).
  Batches(BatchShell& shell, size_t maxChars, bool unattended = false)
      : shell_(shell), maxChars_(maxChars), unattended_(unattended) {}
  ~Batches() = default;
  Batches(const Batches&) = delete;
  Batches& operator=(const Batches&) = delete;

  // Adds a path that was checked just now; a full batch goes to the shell
  // first, so paths are handed over soon after their check.
  void Add(std::wstring path) {
    const size_t chars = path.size() + 1;
    if (!paths_.empty() && chars_ + chars > maxChars_) Flush();
    chars_ += chars;
    paths_.push_back(std::move(path));
  }

  // Hands over what is left.
  void Flush() {
    if (paths_.empty()) return;
    std::vector<const std::wstring*> batch;
    batch.reserve(paths_.size());
    for (const std::wstring& path : paths_) batch.push_back(&path);
    Hand(batch);
    paths_.clear();
    chars_ = 0;
  }

  size_t calls() const { return calls_; }

 private:
  void Hand(const std::vector<const std::wstring*>& batch) {
    ++calls_;
    const BatchOutcome outcome = shell_.recycle(batch);
    if (outcome.done || batch.size() == 1) return;
    if (outcome.asked) {
      if (!unattended_) return;
      for (const std::wstring* path : batch) {
        if (shell_.mayGo(*path)) Hand({path});
      }
      return;
    }
    std::vector<const std::wstring*> left;
    for (const std::wstring* path : batch) {
      if (shell_.mayGo(*path)) left.push_back(path);
    }
    if (left.empty()) return;
    if (left.size() < batch.size()) return Hand(left);  // what failed has left the batch
    const auto half = left.begin() + static_cast<std::ptrdiff_t>(left.size() / 2);
    Hand(std::vector<const std::wstring*>(left.begin(), half));
    Hand(std::vector<const std::wstring*>(half, left.end()));
  }

  BatchShell& shell_;
  const size_t maxChars_;
  const bool unattended_;
  std::vector<std::wstring> paths_;
  size_t chars_ = 0;
  size_t calls_ = 0;
};

}  // namespace purgix
