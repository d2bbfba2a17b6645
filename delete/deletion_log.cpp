#include "delete/deletion_log.h"

#include <chrono>
#include <cstdio>

#include "delete/deletion.h"

namespace scourly {
namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

const char* WayText(DeletionWay way) {
  switch (way) {
    case DeletionWay::kRecycle: return "recycle";
    case DeletionWay::kPermanent: return "permanent";
    case DeletionWay::kCache: return "cache";
  }
  return "";
}

// A field with its tabs and line breaks written out, so a line is always one
// line of five fields. CR LF counts as one break.
std::string Field(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      out += "\\t";
    } else if (c == '\r' || c == '\n') {
      out += "\\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

int64_t SystemSeconds() {
  using namespace std::chrono;
  return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

std::string IsoUtcText(int64_t unixSeconds) {
  int64_t days = unixSeconds / 86400;
  int64_t rest = unixSeconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days since 1970-01-01 to a civil date (proleptic Gregorian).
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ", static_cast<long long>(y),
                m, d, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                static_cast<int>(rest % 60));
  return text;
}

std::string DeletionLogLine(int64_t unixSeconds, const LoggedItem& item) {
  std::string line = IsoUtcText(unixSeconds);
  line += '\t';
  line += WayText(item.way);
  line += '\t';
  line += item.size ? std::to_string(*item.size) : std::string("-");
  line += '\t';
  line += Field(item.path);
  line += '\t';
  line += item.stayedReason ? "stayed: " + Field(*item.stayedReason) : std::string("deleted");
  line += "\r\n";
  return line;
}

DeletionLog::DeletionLog(FileSystem& fs, Clock clock)
    : fs_(fs), clock_(clock ? std::move(clock) : Clock(SystemSeconds)) {}

std::string DeletionLog::Path() const { return fs_.ProgramFolder() + kDeletionLogName; }

bool DeletionLog::Ready() {
  if (file_ && (file_->Size() <= kDeletionLogLimit || rotationFailed_)) return true;
  uint32_t error = 0;
  if (file_) {
    // Full: it becomes the old log, and a new one starts. When it cannot be
    // moved aside it keeps growing rather than lose a line.
    file_.reset();
    if ((error = fs_.MoveReplacing(Path(), fs_.ProgramFolder() + kDeletionLogOldName))) {
      rotationFailed_ = true;
      if (!rotationError_) rotationError_ = error;
    }
  }
  file_ = fs_.OpenForAppend(Path(), error);
  if (!file_) {
    Failed(error);
    return false;
  }
  if (file_->Size() > kDeletionLogLimit && !rotationFailed_) return Ready();
  if (file_->Size() == 0) {
    if ((error = file_->Append(kByteOrderMark))) {
      file_.reset();
      Failed(error);
      return false;
    }
  }
  return true;
}

void DeletionLog::Write(const LoggedItem& item) {
  if (!Ready()) return;
  if (uint32_t error = file_->Append(DeletionLogLine(clock_(), item))) {
    file_.reset();
    Failed(error);
  }
}

void DeletionLog::Failed(uint32_t error) {
  if (lost_++ == 0) firstError_ = error;
}

std::string DeletionLog::Finish() {
  file_.reset();
  std::string text;
  if (lost_ > 0) {
    text = "The deletion log " + Path() + " could not be written (" +
           InOutErrorText(firstError_) + "), so " +
           (lost_ == 1 ? std::string("1 item") : std::to_string(lost_) + " items") +
           " of this deletion are not recorded in it. The deletion itself was not affected.";
  } else if (rotationError_) {
    text = "The deletion log " + Path() + " is over 10 MB but could not be renamed to " +
           kDeletionLogOldName + " (" + InOutErrorText(rotationError_) +
           "); it keeps growing until it can be.";
  }
  lost_ = 0;
  firstError_ = 0;
  rotationFailed_ = false;
  rotationError_ = 0;
  return text;
}

}  // namespace scourly
