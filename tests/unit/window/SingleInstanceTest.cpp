#include <gtest/gtest.h>

#include <glib.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>

#include "app/window/SingleInstance.h"

namespace zorel::window {
namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/zorel-instance-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  // Asks on another thread while this one runs the main loop that serves.
  std::optional<std::string> AskServed(const SingleInstance& asker, const std::string& request) {
    auto reply = std::async(std::launch::async, [&] { return asker.Ask(request, 3000); });
    while (reply.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
      g_main_context_iteration(nullptr, FALSE);
    return reply.get();
  }

  std::string folder;
};

TEST_F(SingleInstanceTest, TheSecondFindsTheFirstAndAsksIt) {
  SingleInstance first(folder);
  std::string error;
  ASSERT_TRUE(first.Acquire(error)) << error;
  std::vector<std::string> requests;
  first.Serve([&](const std::string& request) {
    requests.push_back(request);
    return request == "present" ? std::string("presented\n") : std::string("?\n");
  });

  SingleInstance second(folder);
  EXPECT_FALSE(second.Acquire(error));
  EXPECT_TRUE(error.empty()) << error;
  EXPECT_EQ(AskServed(second, "present"), "presented\n");
  EXPECT_EQ(AskServed(second, "state"), "?\n");
  EXPECT_EQ(requests, (std::vector<std::string>{"present", "state"}));
}

TEST_F(SingleInstanceTest, AnInstanceThatEndedLeavesNothingThatBlocks) {
  {
    SingleInstance first(folder);
    std::string error;
    ASSERT_TRUE(first.Acquire(error));
  }
  // A socket file left behind as after a crash: the next start replaces it.
  std::ofstream(folder + "/ZorelControl.socket") << "stale";
  SingleInstance next(folder);
  std::string error;
  ASSERT_TRUE(next.Acquire(error)) << error;
  EXPECT_TRUE(error.empty()) << error;
  next.Serve([](const std::string&) { return std::string("here\n"); });
  SingleInstance asker(folder);
  EXPECT_EQ(AskServed(asker, "present"), "here\n");
}

TEST_F(SingleInstanceTest, AskingWhenNoneRunsGivesUp) {
  SingleInstance lone(folder);
  EXPECT_EQ(lone.Ask("present", 100), std::nullopt);
}

TEST_F(SingleInstanceTest, AnOverlongOrEndlessRequestIsDropped) {
  SingleInstance first(folder);
  std::string error;
  ASSERT_TRUE(first.Acquire(error));
  int handled = 0;
  first.Serve([&](const std::string&) {
    ++handled;
    return std::string("x\n");
  });
  SingleInstance asker(folder);
  EXPECT_EQ(AskServed(asker, std::string(1000, 'a')), "");
  EXPECT_EQ(handled, 0);
}

TEST_F(SingleInstanceTest, RuntimeFolderIsPreferredWhenItExists) {
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = old ? old : "";
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
  EXPECT_EQ(SingleInstance::DefaultFolder("/lib/root"), folder);
  setenv("XDG_RUNTIME_DIR", (folder + "/missing").c_str(), 1);
  EXPECT_EQ(SingleInstance::DefaultFolder("/lib/root"), "/lib/root");
  if (old)
    setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
  else
    unsetenv("XDG_RUNTIME_DIR");
}

} // namespace
} // namespace zorel::window
