// Modal services: message boxes and file prompts, the popup menu and text
// entry drawn on the surface, and prompts answered late or twice.
#include "ControlsTestSupport.h"

using namespace controlstest;
using zorel::FileAction;
using zorel::MessageBoxResult;
using zorel::MessageBoxType;

namespace {

IKeyPress Key(int vk, std::string text = {}) {
  IKeyPress k;
  k.VK = vk;
  k.utf8 = std::move(text);
  return k;
}

using PromptTest = SurfaceTest;

TEST_F(PromptTest, MessageBoxesAndFilePromptsAnswerBeforeReturning) {
  MessageBoxResult seen = MessageBoxResult::kOK;
  modal.QueueMessageAnswer(MessageBoxResult::kCancel);
  const auto r = ui->ShowMessageDialog("Continue without saving?", "", MessageBoxType::kOKCancel,
                                       [&](MessageBoxResult a) { seen = a; });
  EXPECT_EQ(r, MessageBoxResult::kCancel);
  EXPECT_EQ(seen, MessageBoxResult::kCancel);
  // Unscripted confirmations are not confirmed; plain boxes are just shown.
  EXPECT_EQ(ui->ShowMessageDialog("Sure?", "", MessageBoxType::kOKCancel),
            MessageBoxResult::kCancel);
  EXPECT_EQ(ui->ShowMessageDialog("Finished successfully!", "", MessageBoxType::kOK),
            MessageBoxResult::kOK);
  ASSERT_EQ(modal.Messages().size(), 3u);
  EXPECT_EQ(modal.Messages()[2].text, "Finished successfully!");

  std::string file = "preset.q3p", folder = "/home/u/";
  modal.QueueFile("/home/u/presets/lead.q3p");
  std::string completed;
  ui->ChooseFileDialog(file, folder, FileAction::kSave, "q3p",
                       [&](const std::string& f) { completed = f; });
  EXPECT_EQ(file, "/home/u/presets/lead.q3p");
  EXPECT_EQ(folder, "/home/u/presets/");
  EXPECT_EQ(completed, file);
  EXPECT_EQ(modal.FilePrompts()[0].fileName, "preset.q3p");
  ui->ChooseFileDialog(file, folder, FileAction::kOpen, "q3p q3b");
  EXPECT_EQ(file, ""); // cancelled

  // A surface without services shows nothing and confirms nothing.
  IGraphics bare(&plugin, 100, 100);
  EXPECT_EQ(bare.ShowMessageDialog("Sure?", "", MessageBoxType::kOKCancel),
            MessageBoxResult::kCancel);
  file = "x";
  bare.ChooseFileDialog(file, folder, FileAction::kOpen, "q3p");
  EXPECT_EQ(file, "");
}

TEST_F(PromptTest, WhileAPromptIsOpenNoOtherControlTakesTheMouse) {
  modal.HoldPrompts(true);
  auto* caption = Add(std::make_unique<ICaptionControl>(Rect(0, 0, 100, 30), kMode));
  auto* knob = Add(std::make_unique<IVKnobControl>(Rect(200, 0, 300, 100), kGain));
  Click(50, 15);
  EXPECT_TRUE(modal.MenuOpen());
  EXPECT_TRUE(ui->PromptOpen());
  Drag(250, 50, 0, -50);
  EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
  Click(50, 15); // no second prompt either
  EXPECT_EQ(modal.Menus().size(), 1u);
  EXPECT_TRUE(modal.AnswerMenu(1));
  EXPECT_EQ(caption->GetText(), "Slow");
  EXPECT_FALSE(ui->PromptOpen());
  EXPECT_FALSE(modal.AnswerMenu(2)); // answered once only
  EXPECT_EQ(plugin.Value(kMode), 1.0);
}

TEST_F(PromptTest, AnAnswerArrivingAfterTheSurfaceClosedIsDropped) {
  modal.HoldPrompts(true);
  {
    IGraphics doomed(&plugin, 100, 100);
    doomed.SetModalServices(&modal);
    doomed.AddControl(std::make_unique<ICaptionControl>(Rect(0, 0, 100, 30), kMode));
    doomed.OnMouseDown(50, 15, Left());
    EXPECT_TRUE(modal.MenuOpen());
  }
  EXPECT_TRUE(modal.AnswerMenu(2)); // must not reach the destroyed caption
  EXPECT_EQ(plugin.Value(kMode), 0.0);
}

TEST_F(PromptTest, TheSurfaceMenuChoosesByClickAndByKeys) {
  ui->AddPopupMenu(TextStyle(), Rect());
  auto* caption = Add(std::make_unique<ICaptionControl>(Rect(20, 20, 140, 50), kMode));
  auto* knob = Add(std::make_unique<IVKnobControl>(Rect(200, 150, 300, 250), kGain));
  Click(80, 35);
  IPopupMenuControl* menu = ui->PopupMenuControl();
  ASSERT_TRUE(menu->IsOpen());
  EXPECT_TRUE(modal.Menus().empty()); // drawn on the surface, not by the services
  EXPECT_EQ(menu->Bounds().T, 50.f);  // below its caption
  EXPECT_EQ(menu->HighlightedItem(), 0);
  // Presses elsewhere reach the menu only (and dismiss it).
  Drag(250, 200, 0, -50);
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_DOUBLE_EQ(knob->Value(), 0.5);
  EXPECT_EQ(plugin.Value(kMode), 0.0);

  Click(80, 35);
  const Rect fast = menu->ItemBounds(2);
  Click(fast.MW(), fast.MH());
  EXPECT_EQ(plugin.Value(kMode), 2.0);
  EXPECT_EQ(caption->GetText(), "Fast");

  Click(80, 35);
  EXPECT_EQ(menu->HighlightedItem(), 2);
  EXPECT_TRUE(ui->OnKeyDown(0, 0, Key(kVK_DOWN))); // wraps to the first
  EXPECT_TRUE(ui->OnKeyDown(0, 0, Key(kVK_RETURN)));
  EXPECT_EQ(plugin.Value(kMode), 0.0);
}

TEST_F(PromptTest, AMenuTallerThanTheSurfaceScrollsInsideIt) {
  ui->AddPopupMenu(TextStyle(), Rect());
  IPopupMenu big;
  for (int i = 0; i < 200; ++i) big.AddItem("item " + std::to_string(i));
  big.GetItem(150).checked = true;
  struct Owner : IControl {
    Owner() : IControl(Rect(0, 280, 50, 300)) {}
    void Draw(DrawContext&) override {}
    void MenuItemChosen(IPopupMenu* m, int) override { chosen = m ? m->ChosenIndex() : -1; }
    int chosen = -2;
  };
  auto* owner = Add(std::make_unique<Owner>());
  ASSERT_TRUE(ui->CreatePopupMenu(owner, big, owner->Bounds()));
  IPopupMenuControl* menu = ui->PopupMenuControl();
  EXPECT_GE(menu->Bounds().T, 0.f);
  EXPECT_LE(menu->Bounds().B, 300.f);
  EXPECT_LT(menu->VisibleRows(), 200);
  EXPECT_FALSE(menu->ItemBounds(150).Empty()); // scrolled to the checked item
  const Rect r = menu->ItemBounds(150);
  Click(r.MW(), r.MH());
  EXPECT_EQ(owner->chosen, 150);
}

TEST_F(PromptTest, TheSurfaceTextFieldEditsAndCommitsOrCancels) {
  ITextEntryControl* field = ui->AddTextEntryField();
  auto* name = Add(std::make_unique<IEditableTextControl>(Rect(20, 20, 260, 44), "Clean"));
  Click(100, 30);
  ASSERT_TRUE(field->IsOpen());
  EXPECT_TRUE(ui->IsEditing(name));
  EXPECT_TRUE(field->AllSelected());
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "B"));        // replaces the selected text
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "\xC3\xA4")); // "ä", two bytes
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "s\x01s"));   // control characters are dropped
  EXPECT_EQ(field->EditText(), "B\xC3\xA4ss");
  ui->OnKeyDown(0, 0, Key(kVK_LEFT));
  ui->OnKeyDown(0, 0, Key(kVK_LEFT));
  ui->OnKeyDown(0, 0, Key(kVK_BACK)); // removes the whole "ä"
  EXPECT_EQ(field->EditText(), "Bss");
  ui->OnKeyDown(0, 0, Key(kVK_HOME));
  ui->OnKeyDown(0, 0, Key(kVK_DELETE));
  ui->OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_FALSE(field->IsOpen());
  EXPECT_EQ(name->GetText(), "ss");
  EXPECT_FALSE(ui->IsEditing(name));

  Click(100, 30);
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "zzz"));
  ui->OnKeyDown(0, 0, Key(kVK_ESCAPE));
  EXPECT_EQ(name->GetText(), "ss");
  // A click outside keeps what was typed.
  Click(100, 30);
  ui->OnKeyDown(0, 0, Key(kVK_NONE, std::string(5000, 'x')));
  EXPECT_EQ(field->EditText().size(), ITextEntryControl::kMaxBytes);
  Click(350, 250);
  EXPECT_EQ(name->GetText().size(), ITextEntryControl::kMaxBytes);
}

TEST_F(PromptTest, TheParameterPromptAppliesTypedValuesAndIgnoresNonsense) {
  ui->AddTextEntryField();
  auto* caption = Add(std::make_unique<ICaptionControl>(Rect(0, 0, 100, 30), kGain));
  Click(50, 15);
  ASSERT_TRUE(ui->TextEntryField()->IsOpen());
  EXPECT_EQ(ui->TextEntryField()->EditText(), "50.0");
  // The prompt without display texts is 40 x 16, centred on the control.
  EXPECT_EQ(ui->TextEntryField()->Bounds(), Rect(30, 7, 70, 23));
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "62.5 dB"));
  ui->OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_DOUBLE_EQ(plugin.Value(kGain), 62.5);
  EXPECT_EQ(caption->GetText(), "62.5 dB");
  for (const char* nonsense : {"loud", "nan", "inf", ""}) {
    Click(50, 15);
    ui->OnKeyDown(0, 0, Key(kVK_NONE, nonsense));
    ui->OnKeyDown(0, 0, Key(kVK_BACK)); // for "", clears the selection
    ui->OnKeyDown(0, 0, Key(kVK_NONE, nonsense));
    ui->OnKeyDown(0, 0, Key(kVK_RETURN));
    EXPECT_DOUBLE_EQ(plugin.Value(kGain), 62.5) << nonsense;
  }
  Click(50, 15);
  ui->OnKeyDown(0, 0, Key(kVK_NONE, "1e9"));
  ui->OnKeyDown(0, 0, Key(kVK_RETURN));
  EXPECT_DOUBLE_EQ(plugin.Value(kGain), 100.0); // clamped to the range
}

} // namespace
