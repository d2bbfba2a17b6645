#include <gtest/gtest.h>

#include "platform/wtf8.h"

namespace scourly {
namespace {

std::u16string RoundTrip(const std::u16string& units) {
  std::u16string back;
  EXPECT_TRUE(wtf8::ToUtf16(wtf8::FromUtf16(units), back));
  return back;
}

// Every UTF-16 name comes back unchanged, unpaired surrogates included: a
// conversion that replaced them would turn one file's name into another's.
TEST(Wtf8, EveryUtf16NameComesBackUnchanged) {
  for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
    std::u16string name{u'a', static_cast<char16_t>(unit), u'z'};
    ASSERT_EQ(RoundTrip(name), name) << static_cast<uint32_t>(unit);
  }
  const std::u16string mixed{u'x', 0xD83D, 0xDE00, 0xD800, u'.', 0xDC00, 0xDBFF, 0xD800, 0xDFFF};
  EXPECT_EQ(RoundTrip(mixed), mixed);
  // Pairs are plain UTF-8; a lone surrogate has its own three bytes.
  EXPECT_EQ(wtf8::FromUtf16(std::u16string{0xD83D, 0xDE00}), "\xF0\x9F\x98\x80");
  EXPECT_EQ(wtf8::FromUtf16(std::u16string{u's', 0xD800}), "s\xED\xA0\x80");
  EXPECT_NE(wtf8::FromUtf16(std::u16string{0xD800}), wtf8::FromUtf16(std::u16string{0xFFFD}));
}

TEST(Wtf8, StrictDecodingRefusesWhatIsNoName) {
  const char* const bad[] = {
      "\xC0\x80",          // overlong
      "\xE0\x80\x80",      // overlong
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xF5\x80\x80\x80",
      "a\xE2\x82",            // cut short
      "\x80",                 // a lone continuation byte
      "\xED\xA0\x80\xED\xB0\x80",  // a pair written as two sequences
  };
  std::u16string out;
  for (const char* bytes : bad) EXPECT_FALSE(wtf8::ToUtf16(bytes, out)) << bytes;
  EXPECT_EQ(wtf8::ToUtf16Lenient("a\xC0\x80z"), (std::u16string{u'a', 0xFFFD, 0xFFFD, u'z'}));
  EXPECT_TRUE(wtf8::ToUtf16("Gr\xC3\xBC\xC3\x9F" "e", out));
  EXPECT_EQ(out, u"Grüße");
}

}  // namespace
}  // namespace scourly
