#include "lists/result_row.h"

namespace scourly {

ResultRow::ResultRow(std::string name, std::string location, uint64_t size, std::string date,
                     uint64_t lastWrite, int64_t day, bool isFolder)
    : ResultRow(std::move(name), SharedText::Make(std::move(location)), size, lastWrite,
                SharedDay::Make(DayText{day, std::move(date)}), isFolder) {}

const std::string& ResultRow::Empty() {
  static const std::string empty;
  return empty;
}

std::string ResultRow::Text() const {
  std::string text;
  std::string sizeText = std::to_string(size_);
  const std::string& location = Location();
  const std::string& date = Date();
  text.reserve(name_.size() + location.size() + sizeText.size() + date.size() + 3);
  text.append(name_).append(1, ';').append(location).append(1, ';');
  text.append(sizeText).append(1, ';').append(date);
  return text;
}

std::string_view TextField(std::string_view text, int k) {
  size_t start = 0;
  for (int i = 0; i < k; ++i) {
    size_t semi = text.find(';', start);
    if (semi == std::string_view::npos) return {};
    start = semi + 1;
  }
  size_t end = text.find(';', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string SizeText(int64_t bytes) {
  int64_t kilo = bytes / 1024;  // truncates toward zero
  if (kilo > 0) return std::to_string(kilo) + " kB";
  return std::to_string(bytes) + " B";
}

}  // namespace scourly
