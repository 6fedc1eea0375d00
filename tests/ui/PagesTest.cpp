// The pages over the main surface on the real controls: where clicks land
// (page picture, backdrop, buttons), which groups each button shows and
// hides, and what reaches the pedal, including what a cancelled prompt
// keeps from it.
#include <algorithm>

#include <gtest/gtest.h>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/ParamIds.h"
#include "tests/support/ScriptedModalServices.h"
#include "tests/ui/PedalSurface.h"
#include "tests/ui/SurfaceHarness.h"

using namespace zorel;
using namespace zorel::test;
using Bytes = std::vector<uint8_t>;

namespace {

constexpr uint8_t kWriteSettings = 0x52;
constexpr uint8_t kFactoryReset = 0x56;

// The surface with scripted prompts for the editor and its controls, as if
// a pedal were connected.
struct PageHarness {
  SurfaceHarness h;
  ScriptedModalServices modal;

  PageHarness() {
    h.Editor().SetModalServices(&modal);
    h.graphics.SetModalServices(&modal);
    h.PretendConnected();
    h.headless.TakeSent();
  }
  ~PageHarness() {
    h.graphics.SetModalServices(nullptr);
    h.Editor().SetModalServices(nullptr);
  }

  // Commands of what was sent since the last call (byte 5 of each message).
  std::vector<uint8_t> SentCommands() {
    std::vector<uint8_t> commands;
    for (const Bytes& m : h.headless.TakeSent())
      if (m.size() > 5) commands.push_back(m[5]);
    return commands;
  }
  // Settings blocks written since the last call, by type.
  std::vector<int> WrittenBlocks() {
    std::vector<int> types;
    for (const Bytes& m : h.headless.TakeSent())
      if (m.size() > 7 && m[5] == kWriteSettings) types.push_back(m[7]);
    return types;
  }
  // Every number box on screen, by its label.
  std::set<std::string> VisibleNumberBoxLabels() const {
    std::set<std::string> labels;
    h.graphics.ForEachControl([&](IControl* c) {
      if (auto* box = dynamic_cast<igraphics::IVNumberBoxControl*>(c); box && !c->IsHidden())
        labels.insert(box->GetLabelStr());
    });
    return labels;
  }
};

const char* const kPageGroups[] = {
    group::kFirmwareBackground, group::kFirmwareUpdate,
    group::kFirmwareProgress,   group::kCustomIR,
    group::kGlobalSettings,     group::kMidiCC,
    group::kMidiProgram,        group::kMidiProgramOffset0,
    group::kMidiProgramOffset1, group::kAbout,
    group::kProgress,
};

} // namespace

TEST(Pages, AllStartHiddenWithTheirTaggedControlsInPlace) {
  SurfaceHarness h;
  for (const char* g : kPageGroups) {
    EXPECT_FALSE(h.Group(g).empty()) << g;
    EXPECT_TRUE(h.GroupHidden(g)) << g;
  }
  EXPECT_EQ(h.Text(kTagProgressTitle), "Loading Presets...");
  EXPECT_EQ(h.Text(kTagProgressText), "0 %");
  EXPECT_EQ(h.Text(kTagFirmwareProgressText), "0 %");
  EXPECT_EQ(h.Tag(kTagFirmwareBackground)->Group(), group::kFirmwareBackground);
  for (int i = 0; i < 128; ++i) EXPECT_EQ(h.Editor().State().mProgramMap[i], i);
}

TEST(Pages, GlobalSettingsCloseOnlyBelowThePictureOrWithX) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  h.Editor().OpenGlobalSettings();
  ASSERT_TRUE(h.GroupShown(group::kGlobalSettings));

  // On the picture, inside and outside its dialog: nothing happens.
  for (auto [x, y] : {std::pair{1400.f, 400.f}, {100.f, 100.f}, {1800.f, 1070.f}}) {
    h.ClickButton(x, y);
    EXPECT_TRUE(h.GroupShown(group::kGlobalSettings)) << x << "," << y;
  }
  // Below the picture the backdrop takes the click.
  h.ClickButton(960, 1150);
  EXPECT_TRUE(h.GroupHidden(group::kGlobalSettings));

  h.Editor().OpenGlobalSettings();
  h.ClickButton(1471, 240); // X
  EXPECT_TRUE(h.GroupHidden(group::kGlobalSettings));
  EXPECT_TRUE(h.Editor().State().mConnectWanted);
}

TEST(Pages, AnyClickClosesTheAboutPage) {
  SurfaceHarness h;
  for (auto [x, y] : {std::pair{1325.f, 335.f}, {960.f, 600.f}, {5.f, 1195.f}}) {
    ASSERT_TRUE(h.Editor().OnAboutRequested());
    ASSERT_TRUE(h.GroupShown(group::kAbout));
    EXPECT_EQ(h.Group(group::kAbout).size(), 3u);
    h.ClickButton(x, y);
    EXPECT_TRUE(h.GroupHidden(group::kAbout)) << x << "," << y;
  }
}

// The PATCH OFFSET value opens its menu; with offset 1 the map shows only
// the 1-128 boxes, and BACK returns to the settings and writes the map.
TEST(Pages, ProgramMapFollowsThePatchOffsetAndBackReturnsToTheSettings) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  h.Editor().OpenGlobalSettings();
  h.Click(860, 300); // the value under PATCH OFFSET opens its menu on the surface
  igraphics::IPopupMenuControl* menu = h.graphics.PopupMenuControl();
  ASSERT_TRUE(menu != nullptr && menu->IsOpen());
  ASSERT_EQ(menu->Menu().NItems(), 2);
  EXPECT_EQ(menu->Menu().GetItem(1).text, "1-128");
  const igraphics::Rect item = menu->ItemBounds(1);
  h.Click(item.MW(), item.MH());
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_EQ(h.Editor().ParamAt(kParamPatchOffset)->Int(), 1);
  EXPECT_EQ(h.Text(kTagPresetDisplay), "01"); // slot 0 counted from 1
  // The new setting goes to the pedal at once.
  EXPECT_EQ(p.WrittenBlocks(), std::vector<int>{0});

  h.ClickButton(1250, 303); // SETUP beside MIDI MAPPING
  EXPECT_TRUE(h.GroupHidden(group::kGlobalSettings));
  EXPECT_TRUE(h.GroupShown(group::kMidiProgram));
  EXPECT_TRUE(h.GroupShown(group::kMidiProgramOffset1));
  EXPECT_TRUE(h.GroupHidden(group::kMidiProgramOffset0));
  EXPECT_EQ(p.VisibleNumberBoxLabels(),
            (std::set<std::string>{"Ctrl. Program (1-128)", "Zorel Program (1-128)"}));

  h.ClickButton(1100, 275); // BACK
  EXPECT_TRUE(h.GroupShown(group::kGlobalSettings));
  for (const char* g :
       {group::kMidiProgram, group::kMidiProgramOffset0, group::kMidiProgramOffset1})
    EXPECT_TRUE(h.GroupHidden(g)) << g;
  EXPECT_EQ(p.WrittenBlocks(), std::vector<int>{2});

  // Offset 0: the 0-127 boxes.
  h.Editor().SetParameterValue(kParamPatchOffset, 0.0);
  h.ClickButton(1250, 303);
  EXPECT_EQ(p.VisibleNumberBoxLabels(),
            (std::set<std::string>{"Ctrl. Program (0-127)", "Zorel Program (0-127)"}));
}

TEST(Pages, ControllerNumbersPageBackReturnsToTheSettingsAndWritesTheNumbers) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  h.Editor().OpenGlobalSettings();
  h.ClickButton(1250, 503); // SETUP beside MIDI CC MODE
  EXPECT_TRUE(h.GroupHidden(group::kGlobalSettings));
  EXPECT_TRUE(h.GroupShown(group::kMidiCC));
  EXPECT_EQ(p.VisibleNumberBoxLabels().size(), 1u); // eight boxes, no labels
  p.WrittenBlocks();

  // The REVERB box (row 4) dragged up by three.
  h.Drag(1160, 375 + 4 * 50, -3);
  EXPECT_EQ(h.Editor().ParamAt(kParamMidiCCReverb)->Int(), 4 + 3);

  h.ClickButton(1100, 275); // BACK
  EXPECT_TRUE(h.GroupShown(group::kGlobalSettings));
  EXPECT_TRUE(h.GroupHidden(group::kMidiCC));
  EXPECT_EQ(p.WrittenBlocks(), std::vector<int>{1});
}

TEST(Pages, ACancelledFactoryResetSendsNothing) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  h.Editor().OpenGlobalSettings();
  p.SentCommands();
  const struct {
    float x;
    int scope;
  } buttons[] = {{860, kResetAll}, {1080, kResetPresets}, {1300, kResetSettings}};
  for (const auto& b : buttons) {
    h.ClickButton(b.x, 825);
    ASSERT_FALSE(p.modal.Messages().empty());
    EXPECT_EQ(p.modal.Messages().back().text, "Are you sure?");
    EXPECT_EQ(p.modal.Messages().back().type, MessageBoxType::kOKCancel);
    EXPECT_TRUE(p.SentCommands().empty()) << b.scope;

    // OK to "Are you sure?"; the reset then waits for the snapshot of what
    // it overwrites (this pedal never answers, so the user is asked whether
    // to go on without one: OK again).
    p.modal.QueueMessageAnswer(MessageBoxResult::kOK);
    p.modal.QueueMessageAnswer(MessageBoxResult::kOK);
    h.ClickButton(b.x, 825);
    std::vector<Bytes> sent = h.headless.TakeSent();
    for (int i = 0; i < 600 && h.Editor().SnapshotPending(); ++i) {
      h.Advance(100);
      for (Bytes& m : h.headless.TakeSent()) sent.push_back(std::move(m));
    }
    ASSERT_FALSE(h.Editor().SnapshotPending());
    ASSERT_FALSE(sent.empty());
    const Message9 reset = BuildFactoryReset(b.scope);
    EXPECT_EQ(sent.back(), Bytes(reset.begin(), reset.end()));
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(),
                            [](const Bytes& m) { return m.size() > 5 && m[5] == kFactoryReset; }),
              1);
    h.headless.TakeSent();
  }
}

TEST(Pages, ACancelledFirmwarePromptLeavesThePageOpenAndStartsNothing) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  h.Editor().OpenFirmwarePage();
  EXPECT_TRUE(h.GroupShown(group::kFirmwareBackground));
  EXPECT_TRUE(h.GroupShown(group::kFirmwareUpdate));
  EXPECT_TRUE(h.GroupHidden(group::kFirmwareProgress));
  h.graphics.ForEachInGroup(group::kMain, [](IControl* c) { EXPECT_TRUE(c->IsDisabled()); });
  p.SentCommands();

  h.ClickButton(1100, 680); // UPDATE FIRMWARE, prompt cancelled
  ASSERT_EQ(p.modal.FilePrompts().size(), 1u);
  EXPECT_EQ(p.modal.FilePrompts()[0].extensions, "bin");
  EXPECT_EQ(p.modal.FilePrompts()[0].action, FileAction::kOpen);
  EXPECT_TRUE(p.SentCommands().empty());
  EXPECT_EQ(h.Editor().FirmwareProgress(), -1.0);
  EXPECT_TRUE(h.GroupShown(group::kFirmwareUpdate));
  EXPECT_TRUE(h.GroupHidden(group::kFirmwareProgress));

  h.ClickButton(1535, 330); // X
  EXPECT_TRUE(h.GroupHidden(group::kFirmwareBackground));
  EXPECT_TRUE(h.GroupHidden(group::kFirmwareUpdate));
  h.graphics.ForEachInGroup(group::kMain, [](IControl* c) { EXPECT_FALSE(c->IsDisabled()); });
  EXPECT_FALSE(h.Editor().State().mConnected);
  EXPECT_TRUE(h.Editor().State().mConnectWanted);
}

TEST(Pages, TheDownloadLinkOpensTheMakersPage) {
  SurfaceHarness h;
  h.Editor().OpenFirmwarePage();
  igraphics::IURLControl* link = nullptr;
  h.graphics.ForEachInGroup(group::kFirmwareUpdate, [&](IControl* c) {
    if (auto* url = dynamic_cast<igraphics::IURLControl*>(c)) link = url;
  });
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Bounds(), igraphics::Rect(748, 346, 948, 376));
  EXPECT_EQ(link->URL().rfind("https://", 0), 0u);
  h.Click(848, 361);
  EXPECT_TRUE(link->WasClicked());
}

// The way into the custom IR list: the LIST button of IR 7 or IR 8, usable
// while that IR is on; a click on a name gives that IR to the position.
TEST(Pages, TheIRListButtonsOpenTheCustomIRListForTheirIR) {
  PageHarness p;
  SurfaceHarness& h = p.h;
  ZorelControl& e = h.Editor();
  EXPECT_TRUE(h.Tag(kTagIR7List)->IsDisabled());
  h.ClickButton(916, 690);
  EXPECT_TRUE(h.GroupHidden(group::kCustomIR));

  e.SetParameterValue(kParamUserIR8Mode, 1.0);
  ASSERT_FALSE(h.Tag(kTagIR8List)->IsDisabled());
  EXPECT_TRUE(h.Tag(kTagIR7List)->IsDisabled());
  // IR 8 uses user IR 40: the list opens at bank 2 with row 9 lit.
  e.State().mUserIR8Number = 40;
  h.ClickButton(1028, 690);
  EXPECT_TRUE(h.GroupShown(group::kCustomIR));
  EXPECT_EQ(e.ParamAt(kParamCustomIRBank)->Int(), 1);
  EXPECT_TRUE(e.State().mIR8PageActive);
  EXPECT_FALSE(e.State().mIR7PageActive);
  const auto& rows = h.surface->Handles().irNameRows;
  EXPECT_EQ(rows[8]->GetTextStyle().fgColor, igraphics::Color(255, 200, 200, 200));

  // Row 3 of the right column: user IR 32 + 16 + 3.
  h.Click(900, 550 + 3 * 30 + 15);
  EXPECT_EQ(e.State().mUserIR8Number, 32 + 16 + 3);
  EXPECT_EQ(e.ParamAt(kParamUserIR8PresetMSB)->Int(), 0);

  h.ClickButton(1500, 200); // outside the list: closed
  EXPECT_TRUE(h.GroupHidden(group::kCustomIR));
}

// The pedal's report of the names in a bank reaches the rows of the list
// as it opens, and again when another bank is chosen.
TEST(Pages, TheCustomIRListShowsTheNamesThePedalReports) {
  PedalSurface c;
  SurfaceHarness& h = c.h;
  ZorelControl& e = h.Editor();
  e.SetParameterValue(kParamUserIR7Mode, 1.0);
  e.State().mUserIR7Number = 1;
  h.ClickButton(916, 690); // IR 7 LIST
  c.link.Pump();
  ASSERT_TRUE(h.GroupShown(group::kCustomIR));
  const auto& rows = h.surface->Handles().irNameRows;
  EXPECT_EQ(rows[0]->GetText(), "Studio 4x12 SM57");
  EXPECT_EQ(rows[1]->GetText(), "Jazz Combo Ribbon");
  EXPECT_EQ(rows[12]->GetText(), "Empty Slot 13");
  EXPECT_EQ(rows[1]->GetTextStyle().fgColor, igraphics::Color(255, 200, 200, 200));

  // Bank 5 (user IRs 128..159) as the menu would choose it.
  e.SetParameterValue(kParamCustomIRBank, e.ParamAt(kParamCustomIRBank)->Normalize(4));
  c.link.Pump();
  EXPECT_EQ(rows[0]->GetText(), "Room Mic Ambience");
  EXPECT_EQ(rows[4]->GetText(), "Back Of Cab");
}
