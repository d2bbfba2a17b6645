// CSV as RFC 4180 writes it, for the command line's reports.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace scourly {

// What a CSV file starts with, so that spreadsheet programs read it as UTF-8.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// `text` as valid UTF-8: every byte that does not begin a well-formed
// sequence, and every surrogate (a name's unpaired one, carried as WTF-8),
// becomes U+FFFD. A report may lose such a letter; it never holds bytes a
// reader would choke on.
std::string ValidUtf8(std::string_view text);

// One field: quoted when it holds a comma, a quote, a semicolon (the
// separator of many locales' spreadsheets) or a line break, with its quotes
// doubled; as it is otherwise.
std::string CsvField(std::string_view text);

// One record: the fields joined by commas, ended by CR LF.
std::string CsvLine(std::initializer_list<std::string_view> fields);

}  // namespace scourly
