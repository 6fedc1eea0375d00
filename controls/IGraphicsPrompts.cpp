// Modal services of the graphics context: message boxes, file prompts, the
// parameter prompt, text entry and popup menus.
//
// Menus and text entry go to the in-surface special controls when they are
// attached, otherwise to the modal services. One prompt is open at a time;
// its answer is delivered to the control that asked, once, and only while
// this context exists.
#include <memory>

#include "controls/IGraphics.h"
#include "controls/ParamValues.h"
#include "controls/SpecialControls.h"

namespace igraphics {

using zorel::FileAction;
using zorel::MessageBoxResult;
using zorel::MessageBoxType;

MessageBoxResult
IGraphics::ShowMessageDialog(const std::string& text, const std::string& caption,
                             MessageBoxType type,
                             const std::function<void(MessageBoxResult)>& completion) {
  MessageBoxResult result =
      type == MessageBoxType::kOK ? MessageBoxResult::kOK : MessageBoxResult::kCancel;
  if (mModal != nullptr) result = mModal->ShowMessageDialog(text, caption, type);
  if (completion) completion(result);
  return result;
}

void IGraphics::ChooseFileDialog(std::string& fileName, std::string& path, FileAction action,
                                 const std::string& extensions,
                                 const std::function<void(const std::string&)>& completion) {
  if (mModal != nullptr) {
    mModal->ChooseFileDialog(fileName, path, action, extensions);
  } else {
    fileName.clear();
  }
  if (completion) completion(fileName);
}

bool IGraphics::PromptParameterValue(IControl* control, const Rect& rect, int valueIndex) {
  if (control == nullptr || mPrompt) return false;
  const iplug::IParam* param = control->GetParam(valueIndex);
  if (param == nullptr) return false;
  if (PromptsWithMenu(*param)) {
    IPopupMenu menu(param->Name());
    const double current = param->Denormalize(control->Value(valueIndex));
    const double step = param->Step() > 0.0 ? param->Step() : 1.0;
    const int n = SteppedValueCount(*param);
    for (int i = 0; i < n; ++i) {
      const double v = param->Min() + i * step;
      char text[iplug::IParam::kMaxTextLength] = {};
      param->FormatValue(v, text, true);
      menu.AddItem(text, i, true, v == current);
    }
    return CreatePopupMenu(control, menu, rect, valueIndex);
  }
  return BeginTextEntry(control, control->GetTextStyle(), rect,
                        ParamDisplayText(*param, control->Value(valueIndex), false), valueIndex,
                        true);
}

bool IGraphics::OpenTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                              const std::string& initialText, int valueIndex) {
  return BeginTextEntry(control, style, rect, initialText, valueIndex, false);
}

bool IGraphics::BeginTextEntry(IControl* control, const TextStyle& style, const Rect& rect,
                               const std::string& initialText, int valueIndex,
                               bool parameterPrompt) {
  if (control == nullptr || mPrompt) return false;
  const unsigned serial = ++mPromptSerial;
  mPrompt = OpenPrompt{serial, control, valueIndex, true, parameterPrompt};
  control->Redraw(); // a text being edited is not drawn by its control
  std::weak_ptr<IGraphics*> alive = mAlive;
  auto done = [alive, serial](bool committed, const std::string& text) {
    if (auto self = alive.lock()) (*self)->FinishTextEntry(serial, committed, text);
  };
  if (mTextEntry) {
    mTextEntry->Open(style, rect, initialText, done);
  } else if (mModal != nullptr) {
    mModal->ShowTextEntry(style, rect, initialText, done);
  } else {
    mPrompt.reset();
    return false;
  }
  return true;
}

bool IGraphics::CreatePopupMenu(IControl* control, const IPopupMenu& menu, const Rect& anchor,
                                int valueIndex) {
  if (control == nullptr || mPrompt || menu.NItems() == 0) return false;
  const unsigned serial = ++mPromptSerial;
  mPrompt = OpenPrompt{serial, control, valueIndex, false, false};
  auto shared = std::make_shared<IPopupMenu>(menu);
  std::weak_ptr<IGraphics*> alive = mAlive;
  auto done = [alive, serial, shared](int chosen) {
    if (auto self = alive.lock()) (*self)->FinishMenu(serial, shared, chosen);
  };
  if (mPopup) {
    mPopup->Open(*shared, anchor, done);
  } else if (mModal != nullptr) {
    mModal->ShowPopupMenu(*shared, anchor, done);
  } else {
    mPrompt.reset();
    return false;
  }
  return true;
}

void IGraphics::FinishMenu(unsigned serial, const std::shared_ptr<IPopupMenu>& menu, int chosen) {
  if (!mPrompt || mPrompt->serial != serial || mPrompt->textEntry) return;
  const OpenPrompt prompt = *mPrompt;
  mPrompt.reset();
  menu->SetChosenIndex(chosen);
  prompt.control->MenuItemChosen(menu->ChosenItem() != nullptr ? menu.get() : nullptr,
                                 prompt.valueIndex);
  prompt.control->Redraw();
}

void IGraphics::FinishTextEntry(unsigned serial, bool committed, const std::string& text) {
  if (!mPrompt || mPrompt->serial != serial || !mPrompt->textEntry) return;
  const OpenPrompt prompt = *mPrompt;
  mPrompt.reset();
  IControl* c = prompt.control;
  c->Redraw();
  if (!committed) return;
  if (prompt.parameterPrompt) {
    // The typed text becomes the parameter's value; a text that is neither a
    // number nor one of the parameter's texts changes nothing.
    if (const iplug::IParam* param = c->GetParam(prompt.valueIndex)) {
      if (const std::optional<double> v = ParseParamText(*param, text))
        c->ApplyUserValue(param->Normalize(*v), prompt.valueIndex);
    }
  }
  c->TextEntered(text, prompt.valueIndex);
}

bool IGraphics::IsEditing(const IControl* control) const {
  return mPrompt && mPrompt->textEntry && control != nullptr && mPrompt->control == control;
}

void IGraphics::ShowBubble(const Rect& anchor, const std::string& text) {
  if (mBubble) mBubble->Show(anchor, text, Rect(0, 0, mWidth, mHeight));
}

void IGraphics::HideBubble() {
  if (mBubble) mBubble->Hide();
}

} // namespace igraphics
