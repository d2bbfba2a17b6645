#include <gtest/gtest.h>

#include "scan/mask_match.h"

namespace scourly {
namespace {

struct MaskCase {
  const char* mask;
  const char* name;
  bool matches;
};

TEST(FileMask, FollowsTheListingRulesOnLongNamesOnly) {
  const MaskCase cases[] = {
      // Every name.
      {"*.*", "README", true},
      {"*.*", "a.b.c", true},
      {"*", ".hidden", true},
      // A plain extension: the name's last '.' starts it; case is ignored.
      {"*.tmp", "x.tmp", true},
      {"*.tmp", "X.TMP", true},
      {"*.tmp", "a.b.tmp", true},
      {"*.tmp", ".tmp", true},
      {"*.tmp", "x.tmp.bak", false},
      {"*.tmp", "xtmp", false},
      // No 8.3 alias: REPORT~1.BAK is invisible here.
      {"*.bak", "report.bakup", false},
      {"*.htm", "index.html", false},
      // '?' matches one character, or nothing at a '.' or the end.
      {"*.??~", "a.ab~", true},
      {"*.??~", "a.a~", false},
      {"*.??~", "a.abc~", false},
      {"?.txt", ".txt", true},
      {"??.txt", "a.txt", true},
      {"??.txt", "abc.txt", false},
      {"a?", "a", true},
      // '*' before '.' stops before the last '.'.
      {"*.~*", "doc.~tmp", true},
      {"*.~*", "doc.~", true},
      {"*.~*", "doc~.x", false},
      {"*.---", "file.---", true},
      {"*.old", "a.old.txt", false},
      // '.' before a wildcard or the end matches a '.' or the end.
      {"*.", "README", true},
      {"*.", "a.txt", false},
      {"abc.*", "abc", true},
      {"abc.*", "abc.d", true},
      {"abc.*", "abcd", false},
      // Plain '*' in the middle.
      {"a*c", "abbbc", true},
      {"a*c", "ab", false},
      {"~$*", "~$doc.docx", true},
      {"*~", "file.txt~", true},
      {"name.txt", "NAME.TXT", true},
      {"name.txt", "name.txt2", false},
  };
  for (const MaskCase& c : cases)
    EXPECT_EQ(FileMask(c.mask).Matches(c.name), c.matches) << c.mask << " vs " << c.name;
}

TEST(FileMask, LongNamesDoNotBlowUp) {
  std::string name(5000, 'a');
  EXPECT_FALSE(FileMask("*a*a*a*a*a*a*b").Matches(name));
  EXPECT_TRUE(FileMask("*a*a*a*a*a*a*").Matches(name));
}

}  // namespace
}  // namespace scourly

namespace scourly {
namespace {

// Masks of 64 characters and more take the general matcher; both must agree.
TEST(FileMask, VeryLongMasksMatchLikeShortOnes) {
  std::string run(70, 'a');
  EXPECT_TRUE(FileMask("*" + run + "*").Matches("x" + run + ".txt"));
  EXPECT_FALSE(FileMask("*" + run + "*").Matches(run.substr(1)));
  EXPECT_TRUE(FileMask(run + ".???").Matches(run + ".tx"));
  EXPECT_FALSE(FileMask(run + ".???").Matches(run + ".text"));
  EXPECT_TRUE(FileMask("*" + run + ".t*").Matches("b." + run + ".tmp"));
  // A run of stars read whole from the settings means one star.
  FileMask stars(std::string(5000, '*') + ".tmp");
  EXPECT_TRUE(stars.Matches("x.tmp"));
  EXPECT_FALSE(stars.Matches("x.txt"));
  EXPECT_FALSE(stars.Matches(std::string(3000, 'y') + ".tmq"));
}

}  // namespace
}  // namespace scourly
