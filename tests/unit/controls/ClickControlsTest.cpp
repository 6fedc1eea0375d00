// Controls driven by clicks: buttons, switches, text controls, captions and
// the editable text, through synthetic mouse events.
#include "ControlsTestSupport.h"

using namespace controlstest;

namespace {

using ButtonTest = SurfaceTest;

TEST_F(ButtonTest, ABitmapButtonRunsItsActionOnPressAndOnReleaseAndKeepsItsValue) {
  Bitmap strip(Bands(20, 20, {COLOR_RED, COLOR_GREEN}), 2, false, 1);
  std::vector<std::string> log;
  auto* button = Add(std::make_unique<IBButtonControl>(10, 10, strip, [&](IControl* c) {
    log.push_back(ui->MouseCapture() == c ? "held" : "free");
  }));
  EXPECT_EQ(button->Bounds(), Rect(10, 10, 30, 30)); // one frame
  ui->OnMouseDown(15, 15, Left());
  EXPECT_EQ(log.size(), 1u);
  ui->OnMouseUp(15, 15, Left());
  EXPECT_EQ(log, (std::vector<std::string>{"held", "held"}));
  EXPECT_EQ(button->Value(), 0.0);
  // The owner sets the value to show a state; a click leaves it alone.
  button->SetValue(1.0);
  Click(15, 15);
  EXPECT_EQ(button->Value(), 1.0);
  // A double click is the second click of a pair: press and release again.
  log.clear();
  ui->OnMouseDown(15, 15, Left());
  ui->OnMouseUp(15, 15, Left());
  ui->OnMouseDblClick(15, 15, Left());
  ui->OnMouseUp(15, 15, Left());
  EXPECT_EQ(log.size(), 4u);
}

TEST_F(ButtonTest, AVectorButtonRunsItsFunctionWhenTheClickAnimationEnds) {
  int runs = 0;
  double valueWhenRun = -1;
  auto* button = Add(std::make_unique<IVButtonControl>(
      Rect(0, 0, 100, 40),
      [&](IControl* c) {
        ++runs;
        valueWhenRun = c->Value();
      },
      "IMPORT"));
  now = 1000;
  Click(50, 20);
  EXPECT_EQ(button->Value(), 1.0);
  EXPECT_TRUE(button->IsAnimating());
  now = 1050;
  Redraw();
  EXPECT_EQ(runs, 0);
  EXPECT_GT(button->SplashRadius(), 0.f);
  now = 1099;
  Redraw();
  EXPECT_EQ(runs, 0);
  now = 1101;
  Redraw();
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(valueWhenRun, 0.0);
  EXPECT_FALSE(button->IsAnimating());
  Redraw();
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(Dirty());
}

TEST_F(ButtonTest, SwitchesAdvanceThroughTheirStatesAndWrap) {
  auto* three = Add(std::make_unique<IVSwitchControl>(Rect(0, 0, 60, 30), kMode, "MODE"));
  EXPECT_EQ(three->GetValueStr(), "Off");
  std::vector<double> values;
  for (int i = 0; i < 4; ++i) {
    Click(30, 20);
    values.push_back(plugin.Value(kMode));
  }
  EXPECT_EQ(values, (std::vector<double>{1, 2, 0, 1}));
  EXPECT_EQ(three->GetValueStr(), "Slow");

  auto* slide = Add(std::make_unique<IVSlideSwitchControl>(Rect(100, 0, 180, 40), kToggle));
  const Rect off = slide->HandleBounds();
  Click(140, 20);
  EXPECT_EQ(plugin.Value(kToggle), 1.0);
  EXPECT_GT(slide->HandleBounds().L, off.L); // the handle moved right
  EXPECT_EQ(slide->GetValueStr(), "ON");
  Click(140, 20);
  EXPECT_EQ(plugin.Value(kToggle), 0.0);

  auto* unlinked = Add(std::make_unique<IVSwitchControl>(Rect(200, 0, 260, 30), kNoParameter, "",
                                                         kDefaultVectorStyle, true, 4));
  for (int i = 0; i < 3; ++i) Click(230, 15);
  EXPECT_DOUBLE_EQ(unlinked->Value(), 1.0);
  Click(230, 15);
  EXPECT_DOUBLE_EQ(unlinked->Value(), 0.0);
}

using TextTest = SurfaceTest;

TEST_F(TextTest, SettingTheSameTextCausesNoRedraw) {
  auto* text =
      Add(std::make_unique<ITextControl>(Rect(0, 0, 200, 20), "Connecting to the device..."));
  Redraw();
  EXPECT_FALSE(Dirty());
  text->SetText("Connecting to the device...");
  EXPECT_FALSE(Dirty());
  text->SetText("Zorel");
  EXPECT_TRUE(Dirty());
  Redraw();
  text->SetTextFormatted(4, "%d %%", 12345);
  EXPECT_EQ(text->GetText(), "1234");
  text->SetTextFormatted(8, "%d %%", 42);
  EXPECT_EQ(text->GetText(), "42 %");
  text->ClearText();
  EXPECT_EQ(text->GetText(), "");
  EXPECT_EQ(ui->ControlUnderPointer(10, 10), nullptr); // text ignores the mouse
}

TEST_F(TextTest, ACaptionOnAnEnumerationOpensThePopupOfItsTexts) {
  auto* caption = Add(std::make_unique<ICaptionControl>(Rect(0, 0, 150, 30), kMode));
  EXPECT_EQ(caption->GetText(), "Off");
  modal.QueueMenuChoice(2);
  Click(75, 15, Right());
  ASSERT_EQ(modal.Menus().size(), 1u);
  EXPECT_EQ(modal.Menus()[0].items, (std::vector<std::string>{"Off", "Slow", "Fast"}));
  EXPECT_EQ(modal.Menus()[0].checked, 0);
  EXPECT_EQ(plugin.Value(kMode), 2.0);
  EXPECT_EQ(caption->GetText(), "Fast");
  // A left click opens it too; dismissing changes nothing.
  Click(75, 15);
  ASSERT_EQ(modal.Menus().size(), 2u);
  EXPECT_EQ(modal.Menus()[1].checked, 2);
  EXPECT_EQ(plugin.Value(kMode), 2.0);
  // Values from elsewhere update the text.
  plugin.ApplyParameterToControls(kMode, 1, false);
  EXPECT_EQ(caption->GetText(), "Slow");
  auto* gain = Add(std::make_unique<ICaptionControl>(Rect(0, 40, 150, 70), kGain));
  EXPECT_EQ(gain->GetText(), "50.0 dB");
}

TEST_F(TextTest, TheEditableTextCommitsTypedTextAndRunsItsAction) {
  auto* name = Add(std::make_unique<IEditableTextControl>(Rect(20, 120, 260, 144)), 148);
  EXPECT_EQ(name->GetText(), "Movrant Zorel Default Preset Name");
  std::vector<std::string> committed;
  name->SetAction([&](IControl*) { committed.push_back(name->GetText()); });
  modal.QueueText("Fat Bass");
  Click(100, 130, Right()); // any button
  ASSERT_EQ(modal.TextEntries().size(), 1u);
  EXPECT_EQ(modal.TextEntries()[0].initialText, "Movrant Zorel Default Preset Name");
  EXPECT_EQ(modal.TextEntries()[0].bounds, Rect(20, 120, 260, 144));
  EXPECT_EQ(committed, std::vector<std::string>{"Fat Bass"});
  modal.QueueText(std::nullopt); // cancelled
  Click(100, 130);
  EXPECT_EQ(name->GetText(), "Fat Bass");
  EXPECT_EQ(committed.size(), 1u);
}

TEST_F(TextTest, TheLinkOpensItsAddressWithAHandOverIt) {
  auto* link = Add(std::make_unique<IURLControl>(Rect(0, 0, 200, 30), "dravix.example",
                                                 "https://dravix.example/download"));
  ui->OnMouseOver(50, 15, {});
  EXPECT_EQ(window.cursor, ECursor::Hand);
  Click(50, 15);
  EXPECT_EQ(window.urls, std::vector<std::string>{"https://dravix.example/download"});
  EXPECT_TRUE(link->WasClicked());
  ui->OnMouseOver(300, 200, {});
  EXPECT_EQ(window.cursor, ECursor::Arrow);
  EXPECT_FALSE(link->IsPointerOver());
}

TEST_F(TextTest, PanelsHideAndDisableTheirChildren) {
  auto* panel = Add(std::make_unique<IPanelControl>(Rect(0, 0, 100, 100), COLOR_GRAY));
  IControl* child =
      panel->AddChildControl(std::make_unique<ITextControl>(Rect(10, 10, 90, 30), "x"));
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(ui->ControlCount(), 2);
  panel->SetHidden(true);
  EXPECT_TRUE(child->IsHidden());
  panel->SetHidden(false);
  panel->SetDisabledState(true);
  EXPECT_EQ(child->Opacity(), 0.25f);
  panel->SetDisabledState(false);
  EXPECT_EQ(child->Opacity(), 1.f);
}

} // namespace
