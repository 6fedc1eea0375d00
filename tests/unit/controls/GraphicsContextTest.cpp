// The graphics context: attaching, tags, groups, hit testing and capture,
// resizing, and the value flow between controls and the plug-in base.
#include <cmath>
#include <cstring>
#include <tuple>

#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

// A control that logs its notifications and the clicks it gets.
class Probe : public IControl {
public:
  explicit Probe(const Rect& r, int param = kNoParameter, std::vector<std::string>* log = nullptr)
      : IControl(r, param), mLog(log) {}
  void Draw(DrawContext& g) override { g.FillRect(COLOR_RED, mBounds); }
  void MouseDown(float x, float y, const MouseModifiers& m) override { ++presses, Note("down"); }
  void MouseUp(float x, float y, const MouseModifiers& m) override { ++releases, Note("up"); }
  void MouseDrag(float x, float y, float dX, float dY, const MouseModifiers& m) override {
    ++drags;
  }
  void ScaleChanged() override { Note("scale"); }
  void BoundsChanged() override {
    ++boundsChanges;
    Note("bounds");
  }
  void Initialise() override { Note("init"); }
  void Attached() override {
    Note("attached:" + std::to_string(GetUI()->ControlCount()) + ":" + Group() + ":" +
         (GetDelegate() ? "delegate" : "none"));
  }
  void Note(const std::string& s) {
    if (mLog) mLog->push_back(s);
  }
  int presses = 0, releases = 0, drags = 0, boundsChanges = 0;

private:
  std::vector<std::string>* mLog;
};

using GraphicsContextTest = SurfaceTest;

TEST_F(GraphicsContextTest, ADuplicateTagIsRefusedAndTheCallerKeepsTheControl) {
  Probe* first = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10)), 5);
  ASSERT_NE(first, nullptr);
  auto second = std::make_unique<Probe>(Rect(0, 0, 10, 10));
  EXPECT_EQ(ui->AddControl(std::move(second), 5, "g"), nullptr);
  ASSERT_NE(second, nullptr); // not consumed
  EXPECT_EQ(second->GetUI(), nullptr);
  EXPECT_EQ(ui->FindControlByTag(5), first);
  EXPECT_EQ(ui->ControlCount(), 1);
  EXPECT_EQ(ui->FindControlByTag(6), nullptr);
  // Untagged controls never collide, and the refused one can go elsewhere.
  EXPECT_NE(Add(std::make_unique<Probe>(Rect()), kNoTag), nullptr);
  EXPECT_NE(Add(std::make_unique<Probe>(Rect()), kNoTag), nullptr);
  IControl* moved = ui->AddControl(std::move(second), 6);
  EXPECT_NE(moved, nullptr);
  EXPECT_EQ(ui->FindControlByTag(6), moved);
  EXPECT_EQ(ui->TagOf(first), 5);
}

TEST_F(GraphicsContextTest, AttachingRunsItsStepsInOrderAndStartsFromTheParameterValue) {
  std::vector<std::string> log;
  plugin.ParamAt(kGain)->Store(75);
  Probe* p = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10), kGain, &log), 1, "grp");
  EXPECT_EQ(log, (std::vector<std::string>{"scale", "bounds", "init", "attached:1:grp:delegate"}));
  EXPECT_DOUBLE_EQ(p->Value(), 0.75); // not 0 until the next change arrives
}

TEST_F(GraphicsContextTest, GroupsMatchExactlyInAttachOrder) {
  std::vector<IControl*> ir;
  ir.push_back(Add(std::make_unique<Probe>(Rect()), kNoTag, "ircontrols"));
  Add(std::make_unique<Probe>(Rect()), kNoTag, "ircontrolsb");
  Add(std::make_unique<Probe>(Rect()), kNoTag, "IRcontrols");
  Add(std::make_unique<Probe>(Rect()));
  ir.push_back(Add(std::make_unique<Probe>(Rect()), kNoTag, "ircontrols"));
  Add(std::make_unique<Probe>(Rect()), kNoTag, "ircontrol");
  ir.push_back(Add(std::make_unique<Probe>(Rect()), kNoTag, "ircontrols"));

  std::vector<IControl*> reached;
  ui->ForEachInGroup("ircontrols", [&](IControl* c) { reached.push_back(c); });
  EXPECT_EQ(reached, ir);
  int ungrouped = 0;
  ui->ForEachInGroup("", [&](IControl*) { ++ungrouped; });
  EXPECT_EQ(ungrouped, 0);
  int all = 0;
  ui->ForEachControl([&](IControl*) { ++all; });
  EXPECT_EQ(all, 7);
}

TEST_F(GraphicsContextTest, LinkedControlsAreFoundByTheirFirstLinkedSlot) {
  auto multi = std::make_unique<Probe>(Rect());
  Probe* a = Add(std::make_unique<Probe>(Rect(), kGain));
  IControl* b = Add(std::make_unique<ICaptionControl>(Rect(0, 0, 50, 20), kMode));
  class TwoSlots : public IControl {
  public:
    TwoSlots() : IControl(Rect(), std::vector<int>{kMode, kGain, kGain}) {}
    void Draw(DrawContext&) override {}
  };
  IControl* c = Add(std::make_unique<TwoSlots>());
  std::vector<std::pair<IControl*, int>> reached;
  ui->ForEachLinkedToParam(kGain, [&](IControl* x, int v) { reached.emplace_back(x, v); });
  EXPECT_EQ(reached, (std::vector<std::pair<IControl*, int>>{{a, 0}, {c, 1}}));

  ui->SetParamControlsDisabled(kMode, true);
  EXPECT_TRUE(b->IsDisabled());
  EXPECT_TRUE(c->IsDisabled());
  EXPECT_FALSE(a->IsDisabled());
}

TEST_F(GraphicsContextTest, ThePointerReachesTheTopmostControlThatTakesIt) {
  Probe* bottom = Add(std::make_unique<Probe>(Rect(0, 0, 100, 100)));
  Probe* top = Add(std::make_unique<Probe>(Rect(50, 50, 100, 100)));
  Click(75, 75);
  EXPECT_EQ(top->presses, 1);
  EXPECT_EQ(bottom->presses, 0);
  Click(100, 100); // right and bottom edges are outside
  EXPECT_EQ(top->presses + bottom->presses, 1);

  for (auto change : std::vector<std::function<void(bool)>>{
           [&](bool on) { top->SetHidden(on); }, [&](bool on) { top->SetMouseTransparent(on); },
           [&](bool on) { top->SetDisabledState(on); }}) {
    change(true);
    Click(75, 75);
    change(false);
  }
  EXPECT_EQ(bottom->presses, 3);
  EXPECT_EQ(top->presses, 1);

  top->SetDisabledState(true);
  top->SetWantsMouseWhenDisabled(true);
  Click(75, 75);
  EXPECT_EQ(top->presses, 2);
}

TEST_F(GraphicsContextTest, APressCapturesThePointerUntilTheRelease) {
  Probe* a = Add(std::make_unique<Probe>(Rect(0, 0, 50, 50)));
  Probe* b = Add(std::make_unique<Probe>(Rect(50, 0, 100, 50)));
  const MouseModifiers m = Left();
  ui->OnMouseDown(10, 10, m);
  ui->OnMouseDrag(70, 10, 60, 0, m); // over b, still a's
  ui->OnMouseWheel(70, 10, m, 1);
  ui->OnMouseUp(70, 10, m);
  EXPECT_EQ(a->drags, 1);
  EXPECT_EQ(a->releases, 1);
  EXPECT_EQ(b->presses + b->releases + b->drags, 0);
  EXPECT_EQ(ui->MouseCapture(), nullptr);
  ui->OnMouseUp(70, 10, m); // a release without a press reaches nobody
  EXPECT_EQ(b->releases, 0);
}

TEST_F(GraphicsContextTest, TheCornerResizerComesBeforeAControlCoveringEverything) {
  Probe* backdrop = Add(std::make_unique<Probe>(Rect(0, 0, 400, 300)));
  ui->AddResizeHandle(EUIResizerMode::Scale, true, Color(10, 0, 0, 0), COLOR_BLACK, 20);
  // Dragging the corner from (395, 295) to the right by a quarter of the
  // width scales the surface up by a quarter.
  Drag(395, 295, 100, 0);
  EXPECT_EQ(backdrop->presses, 0);
  EXPECT_NEAR(ui->GetDrawScale(), 1.25f, 1e-3);
  EXPECT_EQ(ui->Width(), 400);
  ASSERT_FALSE(window.resizes.empty());
  EXPECT_NEAR(window.resizes.back().first, 500.f, 0.5f);
  EXPECT_EQ(ui->Resizer()->Bounds(), Rect(380, 280, 400, 300));
}

TEST_F(GraphicsContextTest, ResizeClampsTheScaleAndTellsEveryControl) {
  Probe* p = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10)));
  const int before = p->boundsChanges;
  ui->Resize(1920, 1200, 0.f); // a settings text that is not a number
  EXPECT_EQ(ui->GetDrawScale(), IGraphics::kDefaultMinScale);
  EXPECT_EQ(p->boundsChanges, before + 1);
  ASSERT_EQ(window.resizes.size(), 1u);
  EXPECT_FLOAT_EQ(window.resizes[0].first, 1920 * IGraphics::kDefaultMinScale);
  ui->Resize(1920, 1200, 0.f); // nothing changed: nothing happens
  EXPECT_EQ(window.resizes.size(), 1u);
  ui->Resize(1920, 1200, 50.f);
  EXPECT_EQ(ui->GetDrawScale(), IGraphics::kDefaultMaxScale);
  ui->Resize(1920, 1200, std::nanf(""));
  EXPECT_EQ(ui->GetDrawScale(), IGraphics::kDefaultMinScale);
  ui->Resize(-5, 0, 1.f); // sizes from damaged state keep the current ones
  EXPECT_EQ(ui->Width(), 1920);
  EXPECT_EQ(ui->Height(), 1200);
  ui->SetScaleConstraints(0.5f, 1.5f);
  EXPECT_EQ(ui->GetDrawScale(), 1.f);
  ui->Resize(1920, 1200, 0.1f);
  EXPECT_EQ(ui->GetDrawScale(), 0.5f);
}

TEST_F(GraphicsContextTest, AUserChangeClampsReachesTheParameterThenPeersThenTheAction) {
  Probe* knob = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10), kGain));
  Probe* peer = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10), kGain));
  double gainSeenByAction = -1, peerSeenByAction = -1;
  knob->SetAction([&](IControl*) {
    gainSeenByAction = plugin.Value(kGain);
    peerSeenByAction = peer->Value();
  });
  plugin.changes.clear();
  knob->SetValue(1.3);
  knob->MarkChanged(true);
  EXPECT_DOUBLE_EQ(knob->Value(), 1.0);
  ASSERT_EQ(plugin.changes.size(), 1u);
  EXPECT_EQ(plugin.changes[0].idx, kGain);
  EXPECT_EQ(plugin.changes[0].source, iplug::kUI);
  EXPECT_DOUBLE_EQ(plugin.changes[0].value, 100.0);
  EXPECT_DOUBLE_EQ(gainSeenByAction, 100.0);
  EXPECT_DOUBLE_EQ(peerSeenByAction, 1.0);

  knob->SetValue(std::nan(""));
  knob->MarkChanged(false); // a redraw only: no parameter change, no action
  EXPECT_EQ(knob->Value(), 0.0);
  EXPECT_EQ(plugin.changes.size(), 1u);
}

TEST_F(GraphicsContextTest, ValuesFromTheBaseReachControlsWithoutActionsUnlessTheyHoldTheMouse) {
  Probe* held = Add(std::make_unique<Probe>(Rect(0, 0, 10, 10), kGain));
  Probe* other = Add(std::make_unique<Probe>(Rect(20, 0, 30, 10), kGain));
  int actions = 0;
  other->SetAction([&](IControl*) { ++actions; });
  ui->OnMouseDown(5, 5, Left()); // `held` captures the pointer
  plugin.QueueUIParameterUpdate(kGain, 25.0, false);
  plugin.OnBaseTick();
  EXPECT_DOUBLE_EQ(other->Value(), 0.25);
  EXPECT_DOUBLE_EQ(held->Value(), 0.5);
  EXPECT_EQ(actions, 0);
  ui->OnMouseUp(5, 5, Left());
  plugin.ApplyParameterToControls(kGain, 0.8, true);
  EXPECT_DOUBLE_EQ(held->Value(), 0.8);
}

TEST_F(GraphicsContextTest, EditorStateFollowsTheOpenSurfaceAndSurvivesItsClosing) {
  ui->Resize(1920, 1200, 0.5f);
  std::vector<uint8_t> chunk;
  plugin.SerializeEditorState(chunk);
  ASSERT_EQ(chunk.size(), 12u);
  int w, h;
  float s;
  std::memcpy(&w, chunk.data(), 4), std::memcpy(&h, chunk.data() + 4, 4);
  std::memcpy(&s, chunk.data() + 8, 4);
  EXPECT_EQ(std::tuple(w, h, s), std::tuple(1920, 1200, 0.5f));

  std::vector<uint8_t> bigger(12);
  const int bw = 1920, bh = 1200;
  const float huge = 9.f;
  std::memcpy(bigger.data(), &bw, 4), std::memcpy(bigger.data() + 4, &bh, 4);
  std::memcpy(bigger.data() + 8, &huge, 4);
  EXPECT_EQ(plugin.UnserializeEditorState(bigger, 0), 12);
  EXPECT_EQ(ui->GetDrawScale(), IGraphics::kDefaultMaxScale); // clamped, not 9

  plugin.DetachGraphics();
  IGraphics reopened(&plugin, 1920, 1200);
  plugin.AttachGraphics(&reopened);
  EXPECT_EQ(reopened.GetDrawScale(), IGraphics::kDefaultMaxScale);
  plugin.DetachGraphics();
  plugin.AttachGraphics(ui.get());
}

TEST_F(GraphicsContextTest, MidiGoesOnlyToControlsThatAskForIt) {
  class MidiProbe : public IControl {
  public:
    MidiProbe() : IControl(Rect()) { SetWantsMidi(true); }
    void Draw(DrawContext&) override {}
    void MidiReceived(const iplug::MidiMessage& m) override { statuses.push_back(m.mStatus); }
    std::vector<int> statuses;
  };
  auto* listener = Add(std::make_unique<MidiProbe>());
  Add(std::make_unique<Probe>(Rect()));
  ui->ForwardMidiToControls({0, 0xB0, 7, 100});
  EXPECT_EQ(listener->statuses, std::vector<int>{0xB0});
}

} // namespace
