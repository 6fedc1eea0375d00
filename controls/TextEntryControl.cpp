// The text entry field drawn on the surface.
#include <algorithm>
#include <cmath>
#include <utility>

#include "controls/IGraphics.h"
#include "controls/SpecialControls.h"

namespace igraphics {

namespace {

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

size_t PrevBoundary(const std::string& s, size_t pos) {
  if (pos == 0) return 0;
  --pos;
  while (pos > 0 && IsContinuation(static_cast<unsigned char>(s[pos]))) --pos;
  return pos;
}

size_t NextBoundary(const std::string& s, size_t pos) {
  if (pos >= s.size()) return s.size();
  ++pos;
  while (pos < s.size() && IsContinuation(static_cast<unsigned char>(s[pos]))) ++pos;
  return pos;
}

// Typed text without control characters, and cut on a character boundary
// so the field never holds a partial UTF-8 sequence.
std::string Printable(const std::string& utf8, size_t room) {
  std::string out;
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) continue;
    out += ch;
  }
  if (out.size() > room) {
    size_t cut = room;
    while (cut > 0 && IsContinuation(static_cast<unsigned char>(out[cut]))) --cut;
    out.resize(cut);
  }
  return out;
}

} // namespace

ITextEntryControl::ITextEntryControl() : IControl(Rect()) {
  mHidden = true;
}

void ITextEntryControl::Open(const TextStyle& style, const Rect& bounds, const std::string& text,
                             IControlModalServices::TextCompletion done) {
  mTextStyle = style;
  mText = Printable(text, kMaxBytes);
  mCaret = mText.size();
  mAllSelected = !mText.empty();
  mDone = std::move(done);
  SetBounds(bounds);
  SetHidden(false);
}

void ITextEntryControl::Close(bool committed) {
  if (!mDone) return;
  // Reset first: the completion may open the next prompt on this field.
  IControlModalServices::TextCompletion done = std::exchange(mDone, nullptr);
  const std::string text = mText;
  SetHidden(true);
  done(committed, text);
}

Rect ITextEntryControl::TextBounds() const {
  return mBounds.Padded(-std::max(1.f, mBounds.H() * 0.1f), 0, -std::max(1.f, mBounds.H() * 0.1f),
                        0);
}

void ITextEntryControl::Insert(const std::string& utf8) {
  if (mAllSelected) {
    mText.clear();
    mCaret = 0;
    mAllSelected = false;
  }
  const std::string add = Printable(utf8, kMaxBytes - std::min(kMaxBytes, mText.size()));
  mText.insert(mCaret, add);
  mCaret += add.size();
}

bool ITextEntryControl::KeyDown(float x, float y, const IKeyPress& key) {
  if (!IsOpen()) return false;
  switch (key.VK) {
  case kVK_RETURN:
  case kVK_TAB:
    Commit();
    return true;
  case kVK_ESCAPE:
    Cancel();
    return true;
  case kVK_BACK:
    if (mAllSelected) {
      mText.clear(), mCaret = 0, mAllSelected = false;
    } else if (mCaret > 0) {
      const size_t from = PrevBoundary(mText, mCaret);
      mText.erase(from, mCaret - from);
      mCaret = from;
    }
    break;
  case kVK_DELETE:
    if (mAllSelected) {
      mText.clear(), mCaret = 0, mAllSelected = false;
    } else if (mCaret < mText.size()) {
      mText.erase(mCaret, NextBoundary(mText, mCaret) - mCaret);
    }
    break;
  case kVK_LEFT:
    mCaret = mAllSelected ? 0 : PrevBoundary(mText, mCaret), mAllSelected = false;
    break;
  case kVK_RIGHT:
    mCaret = mAllSelected ? mText.size() : NextBoundary(mText, mCaret), mAllSelected = false;
    break;
  case kVK_HOME:
    mCaret = 0, mAllSelected = false;
    break;
  case kVK_END:
    mCaret = mText.size(), mAllSelected = false;
    break;
  default:
    if (key.utf8.empty() || key.C) return true; // the field keeps every key while open
    Insert(key.utf8);
  }
  Redraw();
  return true;
}

void ITextEntryControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (!IsOpen()) return;
  if (!mBounds.Contains(x, y)) {
    Commit(); // clicking elsewhere ends the edit and keeps what was typed
    return;
  }
  mAllSelected = false;
  // The caret goes to the character boundary nearest the click.
  IGraphics* ui = GetUI();
  if (ui == nullptr) return;
  const Rect area = TextBounds();
  Rect box = area;
  ui->MeasureText(mTextStyle, mText, box);
  size_t best = 0;
  float bestDistance = -1.f;
  for (size_t pos = 0;; pos = NextBoundary(mText, pos)) {
    Rect prefix = area;
    const float w = ui->MeasureText(mTextStyle, std::string_view(mText).substr(0, pos), prefix);
    const float distance = std::abs(x - (box.L + w));
    if (bestDistance < 0.f || distance < bestDistance) bestDistance = distance, best = pos;
    if (pos >= mText.size()) break;
  }
  mCaret = best;
  Redraw();
}

void ITextEntryControl::Draw(DrawContext& g) {
  g.FillRect(mTextStyle.textEntryBGColor, mBounds);
  g.DrawRect(mTextStyle.textEntryFGColor.WithOpacity(0.6f), mBounds.Padded(-0.5f));
  const TextStyle style = mTextStyle.WithFGColor(mTextStyle.textEntryFGColor).WithAngle(0.f);
  const Rect area = TextBounds();
  Rect box = area;
  g.MeasureText(style, mText, box);
  if (mAllSelected) g.FillRect(style.fgColor.WithOpacity(0.25f), box);
  g.DrawText(style, mText, area);
  if (!mAllSelected) {
    Rect prefix = area;
    const float caretX =
        box.L + g.MeasureText(style, std::string_view(mText).substr(0, mCaret), prefix);
    g.DrawLine(style.fgColor, caretX, box.T, caretX, box.B, 1.f);
  }
}

} // namespace igraphics
