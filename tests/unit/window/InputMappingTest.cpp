#include <gtest/gtest.h>

#include <cmath>

#include "app/window/InputMapping.h"

namespace zorel::window {
namespace {

TEST(InputMapping, ModifiersCarryButtonsAndKeys) {
  struct Case {
    unsigned state;
    unsigned button;
    bool L, R, S, C, A;
  };
  const Case cases[] = {
      {0, 0, false, false, false, false, false},
      {0, 1, true, false, false, false, false}, // the press of the left button
      {0, 3, false, true, false, false, false}, // the press of the right button
      {GDK_BUTTON1_MASK, 0, true, false, false, false, false},
      {GDK_BUTTON3_MASK | GDK_SHIFT_MASK, 0, false, true, true, false, false},
      {GDK_CONTROL_MASK | GDK_MOD1_MASK, 2, false, false, false, true, true},
  };
  for (const Case& c : cases) {
    const igraphics::MouseModifiers m = ModifiersFromState(c.state, c.button);
    EXPECT_EQ(m.L, c.L) << c.state << "/" << c.button;
    EXPECT_EQ(m.R, c.R) << c.state << "/" << c.button;
    EXPECT_EQ(m.S, c.S) << c.state << "/" << c.button;
    EXPECT_EQ(m.C, c.C) << c.state << "/" << c.button;
    EXPECT_EQ(m.A, c.A) << c.state << "/" << c.button;
  }
}

TEST(InputMapping, KeysBecomeCodesOrText) {
  struct Case {
    unsigned keyval;
    unsigned state;
    int vk;
    const char* text;
  };
  const Case cases[] = {
      {GDK_KEY_Return, 0, igraphics::kVK_RETURN, ""},
      {GDK_KEY_KP_Enter, 0, igraphics::kVK_RETURN, ""},
      {GDK_KEY_Escape, 0, igraphics::kVK_ESCAPE, ""},
      {GDK_KEY_BackSpace, 0, igraphics::kVK_BACK, ""},
      {GDK_KEY_ISO_Left_Tab, GDK_SHIFT_MASK, igraphics::kVK_TAB, ""},
      {GDK_KEY_Up, 0, igraphics::kVK_UP, ""},
      {GDK_KEY_KP_Down, 0, igraphics::kVK_DOWN, ""},
      {GDK_KEY_Delete, 0, igraphics::kVK_DELETE, ""},
      {GDK_KEY_a, 0, 'A', "a"},
      {GDK_KEY_A, GDK_SHIFT_MASK, 'A', "A"},
      {GDK_KEY_udiaeresis, 0, 0xFC, "\xC3\xBC"},
      {GDK_KEY_a, GDK_CONTROL_MASK, igraphics::kVK_NONE, ""}, // a shortcut types nothing
      {GDK_KEY_Shift_L, GDK_SHIFT_MASK, igraphics::kVK_NONE, ""},
  };
  for (const Case& c : cases) {
    const igraphics::IKeyPress k = KeyPressFromEvent(c.keyval, c.state);
    EXPECT_EQ(k.VK, c.vk) << std::hex << c.keyval;
    EXPECT_EQ(k.utf8, c.text) << std::hex << c.keyval;
  }
  EXPECT_TRUE(KeyPressFromEvent(GDK_KEY_Left, GDK_SHIFT_MASK | GDK_CONTROL_MASK).C);
}

TEST(InputMapping, WheelStepsPointAwayFromTheUser) {
  EXPECT_EQ(WheelDelta(GDK_SCROLL_UP, 0), 1.f);
  EXPECT_EQ(WheelDelta(GDK_SCROLL_DOWN, 0), -1.f);
  EXPECT_EQ(WheelDelta(GDK_SCROLL_LEFT, 0), 0.f);
  EXPECT_FLOAT_EQ(WheelDelta(GDK_SCROLL_SMOOTH, 0.25), -0.25f);
  EXPECT_EQ(WheelDelta(GDK_SCROLL_SMOOTH, std::nan("")), 0.f);
}

TEST(InputMapping, DoubleClickNeedsTheSameButtonSoonAndNear) {
  struct Press {
    unsigned button;
    uint32_t time;
    double x, y;
    bool isDouble;
  };
  const std::vector<std::vector<Press>> sequences = {
      {{1, 1000, 10, 10, false}, {1, 1300, 12, 9, true}},
      {{1, 1000, 10, 10, false}, {1, 1401, 10, 10, false}}, // too late
      {{1, 1000, 10, 10, false}, {1, 1100, 16, 10, false}}, // too far
      {{1, 1000, 10, 10, false}, {3, 1100, 10, 10, false}}, // another button
      // A triple click: the third press starts over.
      {{1, 1000, 10, 10, false}, {1, 1100, 10, 10, true}, {1, 1200, 10, 10, false}},
      // Across the wrap of the server's 32-bit millisecond clock.
      {{1, 0xFFFFFF00u, 10, 10, false}, {1, 0x00000010u, 10, 10, true}},
  };
  for (size_t s = 0; s < sequences.size(); ++s) {
    DoubleClickDetector detector(400, 5);
    for (const Press& p : sequences[s])
      EXPECT_EQ(detector.IsDoubleClick(p.button, p.time, p.x, p.y), p.isDouble) << "sequence " << s;
  }
}

} // namespace
} // namespace zorel::window
