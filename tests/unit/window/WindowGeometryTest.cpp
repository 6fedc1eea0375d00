#include <gtest/gtest.h>

#include <cmath>

#include "app/window/WindowGeometry.h"

namespace zorel::window {
namespace {

TEST(WindowGeometry, SurfaceOnScreenIsSizeTimesScale) {
  EXPECT_EQ(SurfaceOnScreen(1920, 1200, 0.5f), (Size{960, 600}));
  EXPECT_EQ(SurfaceOnScreen(1920, 1200, 0.75f), (Size{1440, 900}));
  EXPECT_EQ(SurfaceOnScreen(1920, 1200, 2.f), (Size{3840, 2400}));
  // A damaged scale never asks for an impossible window.
  EXPECT_EQ(SurfaceOnScreen(1920, 1200, std::nanf("")), (Size{1, 1}));
  EXPECT_EQ(SurfaceOnScreen(1920, 1200, 1e9f), (Size{32767, 32767}));
}

TEST(WindowGeometry, WindowFitsSurfaceAndMenuWithinLimits) {
  const SizeLimits limits; // 640 x 400 .. 5760 x 3600
  EXPECT_EQ(WindowFor({960, 600}, 25, limits), (Size{960, 625}));
  EXPECT_EQ(WindowFor({480, 300}, 25, limits), (Size{640, 400}));     // held at the minimum
  EXPECT_EQ(WindowFor({7680, 4800}, 25, limits), (Size{5760, 3600})); // and at the maximum
  EXPECT_EQ(WindowFor({960, 600}, -3, limits), (Size{960, 600}));
}

TEST(WindowGeometry, CentredOnTheMonitorAndNeverOffItsTopLeft) {
  EXPECT_EQ(CentredOn({0, 0, 1920, 1080}, {960, 625}), (Point{480, 227}));
  EXPECT_EQ(CentredOn({1920, 0, 2560, 1440}, {960, 625}), (Point{1920 + 800, 407}));
  EXPECT_EQ(CentredOn({0, 0, 1280, 720}, {1440, 925}), (Point{0, 0}));
}

} // namespace
} // namespace zorel::window
