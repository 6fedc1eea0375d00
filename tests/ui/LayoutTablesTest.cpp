// The layout tables on their own and as built: tags, rectangles, parameter
// indices, the controls of every panel and the groups they fill.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "protocol/codec/ParamIds.h"
#include "render/GraphicsResources.h"
#include "tests/ui/SurfaceHarness.h"
#include "ui/LayoutRows.h"
#include "ui/LayoutTables.h"

using namespace zorel;
using namespace zorel::test;
using namespace zorel::ui;

namespace {

// Every control of every table as the builder places it.
std::vector<PlacedControl> AllPlaced() {
  std::vector<PlacedControl> all;
  for (const layout::NamedTable& t : layout::AllTables())
    for (PlacedControl& p : Expand(t.table, t.group)) all.push_back(std::move(p));
  return all;
}

bool IsPicture(Kind kind) {
  return kind == Kind::kPicture || kind == Kind::kPictureButton || kind == Kind::kBackgroundPicture;
}

const igraphics::Rect kSurface(0, 0, kUIWidth, kUIHeight);

} // namespace

TEST(LayoutTables, TagsAreUniqueAndEveryTagOfTheMainSurfaceAndPanelsIsThere) {
  std::multiset<int> tags;
  for (const PlacedControl& p : AllPlaced()) {
    if (p.spec.tag != kTagNone) tags.insert(p.spec.tag);
    if (p.spec.knob.readoutTag != kTagNone) tags.insert(p.spec.knob.readoutTag);
  }
  for (int tag : tags) EXPECT_EQ(tags.count(tag), 1u) << "tag " << tag;

  // The whole registry, and the two IR list buttons (76, 77).
  std::set<int> expected = {1,   6,   8,   9,   10,  11,  12,  17,  19,  20, 21,  22,
                            23,  24,  25,  26,  27,  28,  31,  32,  33,  34, 102, 103,
                            148, 149, 150, 151, 152, 153, 154, 155, 156, 157};
  for (int t = 36; t <= 53; ++t) expected.insert(t);
  for (int t = 56; t <= 58; ++t) expected.insert(t);
  for (int t = 59; t <= 77; ++t) expected.insert(t);
  for (int t = 79; t <= 95; ++t) expected.insert(t);
  for (int t = 97; t <= 101; ++t) expected.insert(t);
  EXPECT_EQ(std::set<int>(tags.begin(), tags.end()), expected);
}

TEST(LayoutTables, RectanglesLieInsideTheSurface) {
  igraphics::GraphicsResources pictures(SurfaceResources());
  for (const PlacedControl& p : AllPlaced()) {
    const ControlSpec& s = p.spec;
    igraphics::Rect r = s.rect;
    if (IsPicture(s.kind)) {
      const igraphics::Bitmap bitmap = pictures.LoadBitmapResource(s.picture, s.frames, false, 1);
      ASSERT_TRUE(bitmap.IsValid()) << s.picture;
      r = igraphics::Rect::FromSize(r.L, r.T, bitmap.FrameWidth(), bitmap.FrameHeight());
    }
    // Preset rows start one under the other, down past the surface's edge;
    // scrolling brings them into the list.
    if (s.keep == Keep::kPresetRow && p.row >= 19) {
      EXPECT_EQ(r.T, 228.f + 50.f * static_cast<float>(p.row));
      continue;
    }
    EXPECT_FALSE(r.Empty()) << (s.text ? s.text : "") << " tag " << s.tag;
    EXPECT_TRUE(kSurface.Contains(r))
        << (s.text ? s.text : (s.picture ? s.picture : "")) << " tag " << s.tag << " at " << r.L
        << "," << r.T << "," << r.R << "," << r.B;
    // A large knob's caption sits 40 units above it.
    if (s.kind == Kind::kLargeKnob) {
      EXPECT_GE(r.T - 40.f, 0.f);
    }
  }
}

TEST(LayoutTables, ParametersAreValidIndices) {
  for (const PlacedControl& p : AllPlaced()) {
    const int param = p.spec.param;
    EXPECT_TRUE(param == igraphics::kNoParameter || (param >= 0 && param < kParamCount))
        << "param " << param;
    const bool needsParam = p.spec.kind == Kind::kPedalKnob || p.spec.kind == Kind::kLargeKnob ||
                            p.spec.kind == Kind::kSmallKnob || p.spec.kind == Kind::kSlideSwitch ||
                            p.spec.kind == Kind::kSvgKnob || p.spec.kind == Kind::kListSelect ||
                            p.spec.kind == Kind::kSelect || p.spec.kind == Kind::kScrollBar ||
                            p.spec.kind == Kind::kPictureSlider || p.spec.kind == Kind::kCaption;
    if (needsParam) {
      EXPECT_NE(param, igraphics::kNoParameter);
    }
  }
}

// Counted on the built surface: a panel knob is four controls (knob,
// readout, unit, caption), a knob without a unit three.
TEST(LayoutTables, EveryPanelHoldsTheControlsItLists) {
  SurfaceHarness h;
  std::map<std::string, int> counts;
  int ungrouped = 0;
  h.graphics.ForEachControl([&](IControl* c) {
    if (c->Group().empty())
      ++ungrouped;
    else
      ++counts[c->Group()];
  });
  const std::map<std::string, int> expected = {
      {group::kBackground, 2},
      {group::kPedalFixed, 8}, // LEVEL, ghost digits, number, 4 foot switches, SAVE
      {group::kPedalLayerA, 6},
      {group::kPedalLayerB, 5},
      {group::kPedalPreA, 1},
      {group::kPedalPostA, 1},
      {group::kPedalPreB, 2},
      {group::kPedalPostB, 2},
      {group::kFilterLed, 1},
      {group::kMain, 6},   // scroll bar, IMPORT, EXPORT, dynamics graph, hint, preset name
      {group::kDevice, 7}, // three device lines, three note lines, RECONNECT
      {group::kIRDisplay, 1},
      {group::kDrive, 10 + 3 * 4 + 1},
      {group::kAmbience, 7 + 2 * 4 + 1},
      {group::kAmbienceTime, 4},
      {group::kCompressor, 4 + 4 + 1},           // knobs, readouts, threshold
      {group::kDynamics, 4 + 3 + 2 + 2 + 1 + 1}, // captions, units, switches, their captions,
                                                 // threshold caption, title
      {group::kLevel, 3 * 4 + 2 + 1},
      {group::kAnalogSim, 1 + 3 + 1},
      {group::kPunchFilter, 3 * 4 + 1},
      {group::kLowFilter, 3 * 4 + 1},
      {group::kMidFilter, 3 * 4 + 1},
      {group::kHighFilter, 3 * 4 + 1},
      {group::kAutoFilter, 3 * 4 + 1},
      {group::kChorus, 5 * 4 + 1},
      {group::kImpulseResponse, 11 + 9 + 1 + 2},
      {group::kCustomIR, 3 + 32 + 1 + 2}, // panel, backdrop, bank, names, hint, selects
      {group::kFirmwareBackground, 1},
      {group::kFirmwareUpdate, 3}, // UPDATE FIRMWARE, link, X
      {group::kFirmwareProgress, 2},
      // Backdrop, picture, X, eleven captions and values, two SETUP buttons,
      // the reset heading and its three buttons.
      {group::kGlobalSettings, 3 + 2 * 11 + 2 + 1 + 3},
      {group::kMidiCC, 1 + 8 + 8 + 1},
      {group::kMidiProgram, 3},
      {group::kMidiProgramOffset0, 2},
      {group::kMidiProgramOffset1, 2},
      {group::kAbout, 3},
      {group::kProgress, 4},
  };
  EXPECT_EQ(counts, expected);
  // Preset rows, preset list select, response-area select, and the number
  // label inside each of the twelve number boxes.
  EXPECT_EQ(ungrouped, 128 + 2 + 12);
}

// Every page table fills only its own groups, none of them empty, and
// every button of a page does something.
TEST(LayoutTables, PageTablesFillTheirOwnGroups) {
  const struct {
    LayoutTable table;
    std::set<std::string> groups;
    size_t count;
  } pages[] = {
      {layout::kFirmwarePage,
       {group::kFirmwareBackground, group::kFirmwareUpdate, group::kFirmwareProgress},
       6},
      {layout::kGlobalSettingsPage, {group::kGlobalSettings}, 31},
      {layout::kMidiCCPage, {group::kMidiCC}, 18},
      {layout::kProgramMapPage,
       {group::kMidiProgram, group::kMidiProgramOffset0, group::kMidiProgramOffset1},
       7},
      {layout::kAboutPage, {group::kAbout}, 3},
      {layout::kProgressOverlay, {group::kProgress}, 4},
  };
  for (const auto& page : pages) {
    const std::vector<PlacedControl> placed = Expand(page.table);
    EXPECT_EQ(placed.size(), page.count);
    std::map<std::string, int> filled;
    for (const PlacedControl& p : placed) {
      ASSERT_NE(p.group, nullptr);
      ++filled[p.group];
      if (p.spec.kind == Kind::kButton) {
        EXPECT_NE(p.spec.action, Action::kNone) << p.spec.text;
      }
    }
    std::set<std::string> groups;
    for (const auto& [g, n] : filled) {
      EXPECT_GT(n, 0) << g;
      groups.insert(g);
    }
    EXPECT_EQ(groups, page.groups);
  }
}

TEST(LayoutTables, BuildingTwiceAddsNothing) {
  SurfaceHarness h;
  const int count = h.graphics.ControlCount();
  EXPECT_EQ(BuildUserInterface(h.graphics, h.Editor()), nullptr);
  EXPECT_EQ(h.graphics.ControlCount(), count);
}
