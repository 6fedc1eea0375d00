// Controls driven by dragging: knobs, sliders, the number box and the
// invisible list selector, through synthetic mouse events.
#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

using KnobTest = SurfaceTest;

TEST_F(KnobTest, DraggingUpByTheKnobsHeightSweepsItsRangeOverTheGearing) {
  auto* knob = Add(std::make_unique<IVKnobControl>(
      Rect(0, 0, 100, 100), kNoParameter, "",
      kDefaultVectorStyle.WithShowLabel(false).WithShowValue(false), false, false, -135.f, 135.f,
      -135.f, EDirection::Vertical, 1.0));
  Drag(50, 90, 0, -100, Left(), 10);
  EXPECT_NEAR(knob->Value(), 1.0, 1e-9);
  knob->SetValue(0.0);
  Drag(50, 90, 0, -100, Left(true), 10); // shift: ten times finer
  EXPECT_NEAR(knob->Value(), 0.1, 1e-9);
  Drag(50, 90, 0, 300, Left(), 3); // clamped at the bottom
  EXPECT_EQ(knob->Value(), 0.0);

  // A bitmap knob (gearing 4) dragged up by its own height: a quarter turn.
  Bitmap picture(Bands(40, 40, {COLOR_RED}), 1, false, 1);
  auto* rotater =
      Add(std::make_unique<IBKnobRotaterControl>(Rect(200, 0, 300, 100), picture, kGain));
  EXPECT_EQ(rotater->Bounds(), Rect(230, 30, 270, 70)); // the picture's size, centred
  EXPECT_DOUBLE_EQ(rotater->Value(), 0.5);
  Drag(250, 60, 0, -40, Left(), 4);
  EXPECT_NEAR(rotater->Value(), 0.75, 1e-9);
  EXPECT_NEAR(plugin.Value(kGain), 75.0, 1e-9);
}

TEST_F(KnobTest, SteppedParametersSnapWhileSlowDragsStillCrossSteps) {
  // kLevel has five values: 0, 0.25, 0.5, 0.75, 1.
  auto* knob = Add(std::make_unique<IBKnobControl>(
      Rect(0, 0, 100, 100), Bitmap(Bands(10, 10, {COLOR_RED}), 1, false, 1), kLevel));
  knob->SetGearing(1.0);
  // Forty moves of one unit: each moves less than a step, together 0.4.
  Drag(50, 50, 0, -40, Left(), 40);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
  EXPECT_EQ(plugin.Value(kLevel), 2.0);
  // The wheel moves one step per event on a stepped parameter ...
  ui->OnMouseWheel(50, 50, {}, 0.2f);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.75);
  ui->OnMouseWheel(50, 50, {}, -3.f);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
  // ... and 0.01 per unit (0.001 fine) on a continuous one.
  knob->LinkParam(kGain);
  ui->OnMouseWheel(50, 50, {}, 2.f);
  EXPECT_NEAR(knob->Value(), 0.52, 1e-9);
  ui->OnMouseWheel(50, 50, Left(true), 1.f);
  EXPECT_NEAR(knob->Value(), 0.521, 1e-9);
}

TEST_F(KnobTest, TheVectorKnobTakesTheMouseOnlyOnTheKnobAndItsValue) {
  const VectorStyle style = kDefaultVectorStyle.WithLabelText(TextStyle().WithSize(20))
                                .WithValueText(TextStyle().WithSize(20));
  auto* knob = Add(std::make_unique<IVKnobControl>(Rect(0, 0, 100, 140), kGain, "GAIN", style));
  int actions = 0;
  knob->SetAction([&](IControl*) { ++actions; });
  EXPECT_EQ(knob->GetValueStr(), "50.0 dB");
  EXPECT_EQ(ui->ControlUnderPointer(50, 10), nullptr); // the label
  EXPECT_EQ(ui->ControlUnderPointer(50, 70), knob);
  EXPECT_EQ(ui->ControlUnderPointer(50, 130), knob); // the value text
  Drag(50, 130, 0, -50);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.5); // the value text never turns it
  EXPECT_EQ(actions, 0);
  Click(50, 130, Right());
  EXPECT_TRUE(modal.Menus().empty());
  EXPECT_TRUE(modal.TextEntries().empty());

  // A drag: the press, each step and the release pass the value on; the
  // release does it twice (a redraw, then a change), so the action runs once
  // more there.
  Drag(50, 70, 0, -10, Left(), 2);
  EXPECT_EQ(actions, 4);
  // Measured against the knob itself (100 high), not the whole control.
  EXPECT_EQ(knob->GetValueStr(), "52.5 dB");
}

TEST_F(KnobTest, BitmapAndVectorKnobsOpenNoPromptOnTheRightButton) {
  Add(std::make_unique<IBKnobRotaterControl>(
      Rect(0, 0, 50, 50), Bitmap(Bands(50, 50, {COLOR_RED}), 1, false, 1), kMode));
  Add(std::make_unique<IVKnobControl>(Rect(100, 0, 150, 50), kMode));
  Click(25, 25, Right());
  Click(125, 25, Right());
  EXPECT_TRUE(modal.Menus().empty());
  EXPECT_TRUE(modal.TextEntries().empty());
  EXPECT_FALSE(ui->PromptOpen());
}

// Knob and slider share the handling of their value text.
TEST_F(KnobTest, AnEditableValueTextOpensThePromptAndNeverMovesTheControl) {
  const VectorStyle style = kDefaultVectorStyle.WithLabelText(TextStyle().WithSize(20))
                                .WithValueText(TextStyle().WithSize(20));
  auto* knob =
      Add(std::make_unique<IVKnobControl>(Rect(0, 0, 100, 140), kGain, "GAIN", style, true));
  auto* slider =
      Add(std::make_unique<IVSliderControl>(Rect(200, 0, 240, 200), kGain, "", style, true));
  auto* plain = Add(std::make_unique<IVSliderControl>(Rect(300, 0, 340, 200), kGain, "", style));
  knob->SetPromptDisabled(false);

  modal.QueueText("75");
  Drag(50, 130, 0, -50); // press, drag and release on the knob's value text
  ASSERT_EQ(modal.TextEntries().size(), 1u);
  EXPECT_EQ(plugin.Value(kGain), 75.0);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.75);
  EXPECT_EQ(knob->GetValueStr(), "75.0 dB");
  knob->SetPromptDisabled(true); // editable, but prompts are off: nothing opens
  Click(50, 130);
  EXPECT_EQ(modal.TextEntries().size(), 1u);

  modal.QueueText("20");
  Drag(220, 195, 0, -100);
  ASSERT_EQ(modal.TextEntries().size(), 2u);
  EXPECT_EQ(plugin.Value(kGain), 20.0);
  EXPECT_DOUBLE_EQ(slider->Value(), 0.2);
  EXPECT_EQ(slider->GetValueStr(), "20.0 dB");

  // The text of a slider that is not editable is part of its track.
  plain->SetValue(1.0);
  Click(320, 195);
  EXPECT_EQ(modal.TextEntries().size(), 2u);
  EXPECT_EQ(plain->Value(), 0.0);
}

using SliderTest = SurfaceTest;

TEST_F(SliderTest, APressJumpsToThePointerAndAHiddenPointerDragIsGeared) {
  const VectorStyle style = kDefaultVectorStyle.WithShowLabel(false).WithShowValue(false);
  auto* slider = Add(std::make_unique<IVSliderControl>(Rect(0, 0, 40, 200), kGain, "", style, false,
                                                       EDirection::Vertical, 2.0, 0.f));
  ui->OnMouseDown(20, 150, Left());
  EXPECT_DOUBLE_EQ(slider->Value(), 0.25);  // 50 units above the bottom of 200
  ui->OnMouseDrag(20, 50, 0, -100, Left()); // 100 units over a 200 track, gearing 2
  EXPECT_DOUBLE_EQ(slider->Value(), 0.5);
  ui->OnMouseUp(20, 50, Left());
  EXPECT_FALSE(window.cursorHidden);

  // With the pointer visible the handle follows it.
  slider->SetHideCursorOnDrag(false);
  ui->OnMouseDown(20, 200 - 20, Left());
  ui->OnMouseDrag(20, 40, 0, -140, Left());
  EXPECT_DOUBLE_EQ(slider->Value(), 0.8);
  ui->OnMouseUp(20, 40, Left());

  // A stepped parameter never jumps on the press.
  slider->LinkParam(kLevel);
  slider->SetValue(0.0);
  ui->OnMouseDown(20, 10, Left());
  EXPECT_EQ(slider->Value(), 0.0);
  ui->OnMouseUp(20, 10, Left());
}

TEST_F(SliderTest, ARightClickOnAnIntegerSliderOpensATextEntryAndTheTypedValueApplies) {
  auto* slider = Add(std::make_unique<IVSliderControl>(Rect(0, 0, 40, 200), kCount));
  modal.QueueText("75");
  Click(20, 100, Right());
  ASSERT_EQ(modal.TextEntries().size(), 1u);
  EXPECT_EQ(modal.TextEntries()[0].initialText, "50");
  EXPECT_EQ(plugin.Value(kCount), 75.0);
  EXPECT_NEAR(slider->Value(), 74.0 / 99.0, 1e-9);
  modal.QueueText("loud"); // not a number: nothing changes
  Click(20, 100, Right());
  EXPECT_EQ(plugin.Value(kCount), 75.0);
}

TEST_F(SliderTest, TheBitmapHandleSitsOnTheTrackByValue) {
  Bitmap handle(Bands(50, 30, {COLOR_BLUE}), 1, false, 1);
  Bitmap track(Bands(50, 400, {COLOR_GRAY}), 1, false, 1);
  auto* slider = Add(std::make_unique<IBSliderControl>(Rect(0, 0, 60, 420), kGain, handle, track));
  EXPECT_EQ(slider->TrackBounds(), Rect(5, 10, 55, 410));
  slider->SetValue(0.0);
  EXPECT_EQ(slider->HandleBounds(), Rect(5, 380, 55, 410));
  slider->SetValue(1.0);
  EXPECT_EQ(slider->HandleBounds(), Rect(5, 10, 55, 40));
  auto* bare = Add(std::make_unique<IBSliderControl>(Rect(100, 0, 200, 100), kGain, handle));
  EXPECT_EQ(bare->TrackBounds(), Rect(125, 0, 175, 100)); // a strip as wide as the handle
}

using NumberBoxTest = SurfaceTest;

TEST_F(NumberBoxTest, DraggingUpTenUnitsAddsTenOrOneWithShift) {
  auto* box = Add(std::make_unique<IVNumberBoxControl>(Rect(0, 0, 114, 44), kCount));
  ASSERT_NE(box->LabelControl(), nullptr);
  EXPECT_EQ(box->LabelControl()->GetText(), "50");
  Drag(50, 20, 0, -10, Left(), 5);
  EXPECT_EQ(box->LabelControl()->GetText(), "60");
  EXPECT_EQ(plugin.Value(kCount), 60.0);
  Drag(50, 20, 0, 10, Left(), 5);
  Drag(50, 20, 0, -10, Left(true), 5);
  EXPECT_EQ(box->LabelControl()->GetText(), "51");
}

TEST_F(NumberBoxTest, TheNumberStaysInsideItsRangeWhateverArrives) {
  auto* box = Add(std::make_unique<IVNumberBoxControl>(Rect(0, 0, 114, 44), kCount));
  plugin.ApplyParameterToControls(kCount, 100, false);
  EXPECT_EQ(box->LabelControl()->GetText(), "100");
  ui->OnMouseWheel(50, 20, {}, 1.f);
  EXPECT_EQ(box->LabelControl()->GetText(), "100");
  ui->OnMouseWheel(50, 20, {}, -1.f);
  EXPECT_EQ(box->LabelControl()->GetText(), "99");
  // A text without digits is 0, raised to the minimum of 1.
  modal.QueueText("none");
  ui->OnMouseDblClick(50, 20, Left());
  ui->OnMouseUp(50, 20, Left());
  ASSERT_EQ(modal.TextEntries().size(), 1u);
  EXPECT_EQ(modal.TextEntries()[0].initialText, "99");
  EXPECT_EQ(box->LabelControl()->GetText(), "1");
  EXPECT_EQ(plugin.Value(kCount), 1.0);
  // An unsafe format (a string conversion) falls back to whole numbers.
  auto* odd =
      Add(std::make_unique<IVNumberBoxControl>(Rect(0, 50, 114, 94), kNoParameter, nullptr, "",
                                               kDefaultVectorStyle, false, 7.25, 0, 10, "%s %f"));
  EXPECT_EQ(odd->LabelControl()->GetText(), "7");
}

TEST_F(NumberBoxTest, ButtonsStepTheNumberWhenTheirAnimationEnds) {
  auto* box = Add(std::make_unique<IVNumberBoxControl>(
      Rect(0, 0, 200, 40), kCount, nullptr, "", kDefaultVectorStyle.WithShowLabel(false), true));
  ASSERT_NE(box->IncButton(), nullptr);
  const Rect inc = box->IncButton()->Bounds();
  EXPECT_LT(box->LabelControl()->Bounds().R + 1.9f, inc.L);
  EXPECT_EQ(inc.B, box->DecButton()->Bounds().T);
  Click(inc.MW(), inc.MH());
  now = 150;
  Redraw();
  EXPECT_EQ(box->LabelControl()->GetText(), "51");
}

using SelectTest = SurfaceTest;

TEST_F(SelectTest, PositionsBecomeValuesAndGesturesAreRecorded) {
  auto* sel = Add(std::make_unique<IInvisibleSelectControl3>(Rect(10, 100, 110, 500), kRow));
  std::vector<std::pair<int, double>> seen;
  sel->SetAction([&](IControl* c) { seen.emplace_back(sel->LastGesture(), c->Value()); });
  ui->OnMouseDown(50, 200, Left());
  EXPECT_DOUBLE_EQ(sel->Value(), 0.25);
  EXPECT_EQ(sel->LastGesture(), IInvisibleSelectControl3::kPress);
  EXPECT_EQ(plugin.Value(kRow), 5.0);           // 0.25 of 0..19, rounded
  ui->OnMouseDrag(50, 600, 0, 400, Left(true)); // below the rectangle: 1
  EXPECT_EQ(sel->LastDirection(), true);
  EXPECT_EQ(sel->LastModifier(), IInvisibleSelectControl3::kShift);
  ui->OnMouseUp(50, 600, Left());
  MouseModifiers both;
  both.S = both.C = true;
  ui->OnMouseWheel(50, 150, both, -1.f);
  EXPECT_EQ(sel->LastModifier(), IInvisibleSelectControl3::kShift); // shift wins
  EXPECT_FALSE(sel->LastDirection());
  ui->OnMouseWheel(50, 150, both, 0.f); // no movement: no gesture
  EXPECT_EQ(seen, (std::vector<std::pair<int, double>>{{0, 0.25}, {2, 1.0}, {1, 1.0}, {4, 0.125}}));

  IKeyPress key0;
  key0.VK = 0;
  EXPECT_FALSE(ui->OnKeyDown(50, 150, key0)); // noted, not consumed
  EXPECT_EQ(sel->LastModifier(), IInvisibleSelectControl3::kKey0);
  Click(50, 150, Right());
  EXPECT_TRUE(modal.Menus().empty());
  EXPECT_TRUE(modal.TextEntries().empty());
}

} // namespace
