#include <gtest/gtest.h>

#include "app/cli/ShellWords.h"

using zorel::cli::SplitShellWords;

namespace {

struct Split {
  const char* line;
  std::vector<std::string> words;
};

TEST(ShellWords, SplitsAsAShellDoes) {
  const Split cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"status", {"status"}},
      {"  set   1 \t 100  ", {"set", "1", "100"}},
      {R"(ir7 "Big Room.wav")", {"ir7", "Big Room.wav"}},
      {R"(ir7 'Big Room.wav')", {"ir7", "Big Room.wav"}},
      {R"(ir7 Big\ Room.wav)", {"ir7", "Big Room.wav"}},
      {R"(ir7 "Big "Room.wav)", {"ir7", "Big Room.wav"}},
      {R"(ir7 /irs/"My IRs"/'a b'.wav)", {"ir7", "/irs/My IRs/a b.wav"}},
      {R"(name "say \"hi\"")", {"name", R"(say "hi")"}},
      {R"("a\\b")", {R"(a\b)"}},
      // Inside double quotes only \" and \\ are escapes.
      {R"(ir7 "C:\IRs\room.wav")", {"ir7", R"(C:\IRs\room.wav)"}},
      {R"('no \escape "here"')", {R"(no \escape "here")"}},
      {R"("it's" 'say "x"')", {"it's", R"(say "x")"}},
      {R"(a "" b '')", {"a", "", "b", ""}},
      {"tab\tsplit", {"tab", "split"}},
  };
  for (const Split& c : cases) {
    std::string error;
    const auto words = SplitShellWords(c.line, error);
    ASSERT_TRUE(words) << c.line << ": " << error;
    EXPECT_EQ(*words, c.words) << c.line;
  }
}

TEST(ShellWords, UnfinishedQuotesAreRefusedWithAReason) {
  const std::pair<const char*, const char*> cases[] = {
      {R"(ir7 "Big Room.wav)", "double quote"},
      {R"(ir7 'Big Room.wav)", "single quote"},
      {R"(name "ends in \")", "double quote"},
      {R"(ir7 file\)", "backslash"},
      {R"(a 'b"c)", "single quote"},
  };
  for (const auto& [line, reason] : cases) {
    std::string error;
    EXPECT_FALSE(SplitShellWords(line, error)) << line;
    EXPECT_NE(error.find(reason), std::string::npos) << line << ": " << error;
  }
}

} // namespace
