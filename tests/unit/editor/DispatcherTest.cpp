#include <gtest/gtest.h>

#include <vector>

#include "protocol/codec/ParamIds.h"
#include "tests/support/HeadlessEditor.h"
#include "tests/support/RecordingSurface.h"

using namespace zorel;
using Bytes = std::vector<uint8_t>;

namespace {

class Dispatcher : public ::testing::Test {
protected:
  ZorelControl& ed() { return h.Editor(); }
  SessionState& st() { return h.Editor().State(); }

  // As if the pedal's edit buffer had just been applied: connected, values
  // mirrored, sending allowed.
  void Connect() {
    st().mConnected = true;
    st().mSendSuppressed = false;
    for (int i = 0; i < kNumPresetParams; ++i) {
      st().mLiveValues[i] = st().mLoadedValues[i] = ed().ParamAt(i)->Int();
    }
    h.TakeSent();
  }
  void Set(int index, int value) {
    const iplug::IParam* p = ed().ParamAt(index);
    ed().SetParameterValue(index, (value - p->Min()) / (p->Max() - p->Min()));
  }
  HeadlessEditor h;
};

TEST_F(Dispatcher, StartUpResetSendsNothing) {
  EXPECT_TRUE(h.TakeSent().empty());
  EXPECT_EQ(st().mLiveValues[0], SessionState::kNoValue);
  EXPECT_TRUE(st().mSendSuppressed);
}

TEST_F(Dispatcher, ChangedValueIsSentOnceWithThePedalNumber) {
  Connect();
  Set(kParamReverbRoomSize, 65);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x14, 0x41, 0xF7}}));
  Set(kParamReverbRoomSize, 65);
  EXPECT_TRUE(h.TakeSent().empty());
  Set(kParamAnalogSim, 70);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x0F, 0x46, 0xF7}}));
  EXPECT_TRUE(st().mPresetModified);
  EXPECT_TRUE(ed().View().mDisplayShowsValue);
}

TEST_F(Dispatcher, UserIRNumbersAreSentEvenUnchanged) {
  Connect();
  Set(kParamUserIR7Preset, 0);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 58, 0, 0xF7}}));
  st().mSendSuppressed = true;
  Set(kParamUserIR7Preset, 0);
  EXPECT_TRUE(h.TakeSent().empty());
}

TEST_F(Dispatcher, ChorusDepthRaisesTheLevelAndHoldsSendsForATick) {
  Connect();
  ASSERT_EQ(st().mLiveValues[kParamChorusLevel], 0);
  Set(kParamChorusModDepth, 30);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 70, 64, 0xF7}}));
  EXPECT_EQ(ed().ParamAt(kParamChorusLevel)->Int(), 64);
  EXPECT_EQ(st().mLiveValues[kParamChorusModDepth], 30); // live, though held
  Set(kParamGain, 10);
  EXPECT_TRUE(h.TakeSent().empty()); // held until the next device tick
  h.Advance(100);
  Set(kParamChorusModDepth, 31);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 72, 31, 0xF7}}));
}

TEST_F(Dispatcher, NothingIsSentOrMirroredWhileNotConnected) {
  st().mSendSuppressed = false;
  Set(kParamGain, 99);
  EXPECT_TRUE(h.TakeSent().empty());
  EXPECT_EQ(st().mLiveValues[kParamGain], SessionState::kNoValue);
}

TEST_F(Dispatcher, ValuesFromThePedalUpdateTheMirrorWithoutEcho) {
  Connect();
  st().mSendSuppressed = true;
  Set(kParamDrive, 12);
  EXPECT_TRUE(h.TakeSent().empty());
  EXPECT_EQ(st().mLiveValues[kParamDrive], 12);
}

TEST_F(Dispatcher, GlobalSettingsSendTheWholeBlock) {
  Connect();
  Set(kParamEditPotDisplayMode, 1);
  EXPECT_TRUE(h.TakeSent().empty());
  for (int index : {89, 90, 91, 92, 93, 95, 96, 97, 98, 99, 100}) {
    Set(index, 1);
    const auto sent = h.TakeSent();
    ASSERT_EQ(sent.size(), 1u) << index;
    const Bytes& m = sent[0];
    ASSERT_EQ(m.size(), 267u);
    EXPECT_EQ(m[5], 0x52);
    EXPECT_EQ(m[7], 0x00);
    EXPECT_EQ(m[14], 2) << "the display mode is always written as 2";
  }
  const Bytes last = [&] {
    Set(kParamSafeLevel, 0);
    return h.TakeSent().at(0);
  }();
  EXPECT_EQ(last[9], 1);  // 89
  EXPECT_EQ(last[16], 1); // 96 was set to 1
  EXPECT_EQ(last[25], 0); // 100
  EXPECT_EQ(last[24], 1); // 99
}

TEST_F(Dispatcher, EditorSideParametersDriveOthers) {
  Set(kParamCompression, 127);
  EXPECT_EQ(ed().ParamAt(kParamDynamics)->Int(), 127);
  Set(kParamIR2, 127);
  EXPECT_EQ(ed().ParamAt(kParamIR)->Int(), 0);
  Set(kParamIR2, 0);
  EXPECT_EQ(ed().ParamAt(kParamIR)->Int(), 127);
  Set(kParamScroll, 0);
  EXPECT_EQ(ed().View().mListTopRow, 109);
}

TEST_F(Dispatcher, ProgramMapPages) {
  Set(kParamMapControllerProgram, 5);
  Set(kParamMapDeviceProgram, 42);
  EXPECT_EQ(st().mProgramMap[5], 42);
  Set(kParamMapControllerProgram1, 6); // the 1-based pair addresses the same entry
  EXPECT_EQ(ed().ParamAt(kParamMapDeviceProgram1)->Int(), 43);
  st().mProgramMap[0] = 9;
  Set(kParamMapControllerProgram1, 1);
  EXPECT_EQ(ed().ParamAt(kParamMapDeviceProgram1)->Int(), 10);
  Set(kParamMapDeviceProgram1, 100);
  EXPECT_EQ(st().mProgramMap[0], 99);
}

TEST_F(Dispatcher, TrackedEditsMarkThePresetModified) {
  Connect();
  st().mTrackEdits = true;
  st().mSendSuppressed = true;
  Set(kParamGateAttack, ed().ParamAt(kParamGateAttack)->Int()); // 38: not tracked
  EXPECT_FALSE(st().mPresetModified);
  Set(kParamGateRatio, ed().ParamAt(kParamGateRatio)->Int()); // 37, unchanged value
  EXPECT_TRUE(st().mPresetModified);
}

class DispatcherWithSurface : public Dispatcher {
protected:
  void SetUp() override { ed().AttachSurface(&surface); }
  void TearDown() override { ed().AttachSurface(nullptr); }
  test::RecordingSurface surface;
};

TEST_F(DispatcherWithSurface, ReadoutsSectionsAndDisplay) {
  Connect();
  Set(kParamGain, 70);
  EXPECT_TRUE(surface.Has("text 1 70"));
  EXPECT_TRUE(surface.Has("section 13"));
  EXPECT_TRUE(surface.Has("readout 49 1"));
  EXPECT_TRUE(surface.Has("color 1 100,255,255,255")); // modified
  EXPECT_EQ(ed().View().mActiveSection, kSectionAmplifier);
  surface.calls.clear();
  Set(kParamDrive, 3); // same section: not switched again
  EXPECT_FALSE(surface.Has("section 13"));
  Set(kParamGain, 64);
  Set(kParamDrive, 64);
  EXPECT_TRUE(surface.Has("color 1 255,255,255,255")); // back to the loaded values
}

TEST_F(DispatcherWithSurface, SuppressedChangesDoNotSwitchSections) {
  Set(kParamLevel, 10); // still suppressed after start-up
  EXPECT_FALSE(surface.Has("section 15"));
  EXPECT_TRUE(surface.Has("readout 50 0"));
}

TEST_F(DispatcherWithSurface, PresetListPlacement) {
  Set(kParamScroll, 109);
  EXPECT_TRUE(surface.Has("row 0 228 shown"));
  EXPECT_TRUE(surface.Has("row 127 6578 shown"));
  surface.calls.clear();
  Set(kParamScroll, 0);
  EXPECT_TRUE(surface.Has("row 109 228 shown"));
  EXPECT_TRUE(surface.Has("row 108 178 hidden"));
  EXPECT_TRUE(surface.Has("row 0 hidden") || surface.Has("row 0 -5222 hidden"));
}

TEST_F(DispatcherWithSurface, ListClickSelectsOrStores) {
  Connect();
  Set(kParamScroll, 109 - 20); // first visible row: slot 20
  ed().SetListEvent({ListEvent::kClick});
  Set(kParamPresetListRow, 3);
  EXPECT_EQ(h.TakeSent(),
            (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x23, 0x0B, 0x17, 0xF7}}));
  EXPECT_EQ(st().mHighlightedRow, 23);
  st().mStoreArmed = true;
  ed().SetListEvent({ListEvent::kClick});
  Set(kParamPresetListRow, 4);
  Set(kParamPresetListRow, 3);
  ed().SetListEvent({ListEvent::kClick});
  Set(kParamPresetListRow, 3);
  const auto sent = h.TakeSent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), (Bytes{0xF0, 0x00, 0x51, 0x21, 0x05, 0x50, 0x0B, 0x12, 0x17, 0xF7}));
  EXPECT_TRUE(st().mStoreConfirming);
}

TEST_F(DispatcherWithSurface, ListWheelScrolls) {
  Set(kParamScroll, 109 - 50);
  ed().SetListEvent({ListEvent::kWheel, 0, true});
  Set(kParamPresetListRow, 0);
  EXPECT_EQ(ed().View().mListTopRow, 53);
  EXPECT_EQ(ed().ParamAt(kParamScroll)->Int(), 56);
  ed().SetListEvent({ListEvent::kWheel, 1, false});
  Set(kParamPresetListRow, 1);
  EXPECT_EQ(ed().View().mListTopRow, 52);
}

TEST_F(DispatcherWithSurface, CabinetListClickSelectsTheIR) {
  ed().SetListEvent({ListEvent::kClick});
  Set(kParamIRListRow, 5);
  EXPECT_NEAR(ed().ParamAt(kParamIR)->Current(), 80.0, 0.001); // 0.629 of 127
  EXPECT_TRUE(surface.Has("value 65"));
}

TEST_F(DispatcherWithSurface, UserIRModeSwitchesItsControls) {
  st().mCurrentIR7Name = "My Cab";
  Set(kParamUserIR7Mode, 1);
  EXPECT_TRUE(surface.Has("enable tag 25"));
  EXPECT_TRUE(surface.Has("text 74 My Cab"));
  Set(kParamUserIR7Mode, 0);
  EXPECT_TRUE(surface.Has("disable tag 66"));
  EXPECT_TRUE(surface.Has("text 74 Tone 12L"));
  EXPECT_EQ(st().mIR7DisplayName, "Tone 12L");
}

TEST_F(DispatcherWithSurface, RequestsFromAnotherThreadWaitForTheTick) {
  std::thread audio([&] { Set(kParamGain, 90); });
  audio.join();
  EXPECT_TRUE(surface.calls.empty());
  EXPECT_GT(ed().Surface().PendingCount(), 0u);
  h.Advance(20); // one base tick
  EXPECT_TRUE(surface.Has("readout 49 1"));
  EXPECT_EQ(surface.offThreadCalls, 0);
}

TEST(EditorLifecycle, OneSharedDeviceTimer) {
  HeadlessEditor first;
  EXPECT_TRUE(ZorelControl::HasEditorTimer());
  const size_t timers = iplug::Timer::LiveTimerCount();
  {
    ZorelControl second(&first.Recorder(), first.LibraryRoot());
    EXPECT_EQ(iplug::Timer::LiveTimerCount(), timers + 1); // only its 20 ms base tick
  }
  EXPECT_FALSE(ZorelControl::HasEditorTimer()); // destroying an editor stops it
}

TEST(EditorLifecycle, CloseSendsGoodbyeOnlyWhenConnected) {
  HeadlessEditor h;
  float saved = 0.f;
  h.Editor().mSaveDrawScale = [&](float s) { saved = s; };
  h.Editor().OnUIClose();
  EXPECT_TRUE(h.TakeSent().empty());
  EXPECT_EQ(saved, 0.5f);

  HeadlessEditor c;
  c.Editor().State().mConnected = true;
  c.Editor().OnUIClose();
  EXPECT_EQ(c.TakeSent(), (std::vector<Bytes>{{0xF0, 0x00, 0x51, 0x21, 0x05, 0x5F, 0x0B, 0xF7}}));
  EXPECT_FALSE(c.Editor().OnAboutRequested());
}

TEST(EditorLifecycle, SilenceAndIgnoredShortMessages) {
  HeadlessEditor h;
  h.Editor().SetOutputsConnected(2);
  double left[64], right[64];
  for (double& v : left) v = 1.0;
  for (double& v : right) v = 1.0;
  double* outs[2] = {left, right};
  h.Editor().ProcessBlock(nullptr, outs, 64);
  for (int i = 0; i < 64; ++i) ASSERT_EQ(left[i] + right[i], 0.0);
  const uint8_t cc[3] = {0xB0, 7, 100};
  h.Receive(cc);
  EXPECT_TRUE(h.TakeSent().empty());
}

} // namespace
