#include <gtest/gtest.h>

#include <fnmatch.h>

#include "app/window/FileFilters.h"

namespace zorel::window {
namespace {

TEST(FileFilters, ExtensionListsAreWords) {
  EXPECT_EQ(SplitExtensions("q3p"), (std::vector<std::string>{"q3p"}));
  EXPECT_EQ(SplitExtensions("  q3p  q3b "), (std::vector<std::string>{"q3p", "q3b"}));
  EXPECT_EQ(SplitExtensions(".wav *.bin"), (std::vector<std::string>{"wav", "bin"}));
  EXPECT_TRUE(SplitExtensions("").empty());
  EXPECT_EQ(FilterName({"q3p", "q3b"}), "*.q3p;*.q3b");
}

TEST(FileFilters, PatternsMatchAnyLetterCaseAndOnlyTheExtension) {
  struct Case {
    const char* extension;
    const char* name;
    bool matches;
  };
  const Case cases[] = {
      {"q3p", "Lead.q3p", true}, {"q3p", "LEAD.Q3P", true}, {"q3p", "lead.q3b", false},
      {"q3p", "q3p", false},     {"wav", "a.b.WaV", true},  {"bin", "fw.bin.txt", false},
      {"a*b", "x.a*b", true},    {"a*b", "x.aXb", false}, // a star in a list is no wildcard
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fnmatch(ExtensionPattern(c.extension).c_str(), c.name, 0) == 0, c.matches)
        << c.extension << " " << c.name;
  }
}

TEST(FileFilters, SavedNamesKeepOrReceiveTheirExtension) {
  const std::vector<std::string> q3p{"q3p"};
  EXPECT_EQ(WithDefaultExtension("/home/u/Lead", q3p), "/home/u/Lead.q3p");
  EXPECT_EQ(WithDefaultExtension("/home/u/Lead.q3p", q3p), "/home/u/Lead.q3p");
  EXPECT_EQ(WithDefaultExtension("/home/u/Lead.Q3P", q3p), "/home/u/Lead.Q3P");
  EXPECT_EQ(WithDefaultExtension("/home/u/my.preset", q3p), "/home/u/my.preset.q3p");
  EXPECT_EQ(WithDefaultExtension("/home/u.dir/.hidden", q3p), "/home/u.dir/.hidden.q3p");
  EXPECT_EQ(WithDefaultExtension("/home/u/All.q3b", {"q3p", "q3b"}), "/home/u/All.q3b");
  EXPECT_EQ(WithDefaultExtension("/home/u/x", {}), "/home/u/x");
  EXPECT_EQ(FolderOf("/home/u/Lead.q3p"), "/home/u");
  EXPECT_EQ(FolderOf("/Lead.q3p"), "/");
  EXPECT_EQ(FolderOf("Lead.q3p"), "");
}

} // namespace
} // namespace zorel::window
