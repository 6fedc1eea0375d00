// The popup menu drawn on the surface.
#include <algorithm>
#include <cmath>
#include <utility>

#include "controls/IGraphics.h"
#include "controls/SpecialControls.h"

namespace igraphics {

namespace {
constexpr Color kMenuBackground{245, 40, 40, 40};
constexpr Color kMenuFrame{255, 110, 110, 110};
constexpr Color kMenuHighlight{255, 70, 110, 170};
constexpr Color kMenuText{255, 235, 235, 235};
constexpr Color kMenuDisabledText{255, 120, 120, 120};
} // namespace

IPopupMenuControl::IPopupMenuControl(const TextStyle& style, const Rect& area)
    : IControl(Rect()), mArea(area) {
  mTextStyle = style;
  mHidden = true;
}

void IPopupMenuControl::Open(const IPopupMenu& menu, const Rect& anchor,
                             IControlModalServices::MenuCompletion done) {
  mMenu = menu;
  mDone = std::move(done);
  IGraphics* ui = GetUI();
  const Rect surface = !mArea.Empty()  ? mArea
                       : ui != nullptr ? Rect(0, 0, ui->Width(), ui->Height())
                                       : anchor;
  const float rowH = RowHeight();
  const float pad = rowH * 0.5f;
  float textW = 0.f;
  if (ui != nullptr) {
    for (int i = 0; i < mMenu.NItems(); ++i) {
      Rect r(0, 0, 10000, rowH);
      textW = std::max(textW, ui->MeasureText(mTextStyle, mMenu.GetItem(i).text, r));
    }
  }
  // Room for a check mark at the left and a margin at the right.
  const float w = std::min(std::max(anchor.W(), textW + 3 * pad), std::max(surface.W(), 1.f));
  const int fitRows = std::max(1, static_cast<int>(std::floor(surface.H() / rowH)));
  mVisibleRows = std::min(mMenu.NItems(), fitRows);
  const float h = mVisibleRows * rowH;
  float top = anchor.B;
  if (top + h > surface.B) top = anchor.T - h; // no room below: above the anchor
  top = std::clamp(top, surface.T, std::max(surface.T, surface.B - h));
  const float left = std::clamp(anchor.L, surface.L, std::max(surface.L, surface.R - w));
  SetBounds(Rect::FromSize(left, top, w, h));
  mHighlight = mMenu.CheckedIndex();
  mFirstRow = 0;
  if (mHighlight >= 0) ScrollTo(mHighlight - mVisibleRows / 2);
  SetHidden(false);
}

void IPopupMenuControl::Close(int chosen) {
  if (!mDone) return;
  // Reset first: the completion may open another menu.
  IControlModalServices::MenuCompletion done = std::exchange(mDone, nullptr);
  SetHidden(true);
  done(chosen);
}

Rect IPopupMenuControl::ItemBounds(int i) const {
  const int row = i - mFirstRow;
  if (i < 0 || i >= mMenu.NItems() || row < 0 || row >= mVisibleRows) return {};
  const float rowH = RowHeight();
  return Rect(mBounds.L, mBounds.T + row * rowH, mBounds.R, mBounds.T + (row + 1) * rowH);
}

int IPopupMenuControl::ItemAt(float x, float y) const {
  if (!mBounds.Contains(x, y)) return -1;
  const int row = static_cast<int>((y - mBounds.T) / RowHeight());
  const int i = mFirstRow + row;
  return i < mMenu.NItems() ? i : -1;
}

void IPopupMenuControl::ScrollTo(int first) {
  mFirstRow = std::clamp(first, 0, std::max(0, mMenu.NItems() - mVisibleRows));
  Redraw();
}

void IPopupMenuControl::MoveHighlight(int direction) {
  const int n = mMenu.NItems();
  if (n == 0) return;
  for (int i = mHighlight + direction, tries = 0; tries < n; i += direction, ++tries) {
    const int k = ((i % n) + n) % n;
    if (mMenu.GetItem(k).enabled) {
      mHighlight = k;
      if (k < mFirstRow) ScrollTo(k);
      if (k >= mFirstRow + mVisibleRows) ScrollTo(k - mVisibleRows + 1);
      break;
    }
  }
  Redraw();
}

void IPopupMenuControl::MouseDown(float x, float y, const MouseModifiers& mod) {
  if (!IsOpen()) return;
  if (!mBounds.Contains(x, y)) {
    Close(-1);
    return;
  }
  const int i = ItemAt(x, y);
  if (i >= 0 && mMenu.GetItem(i).enabled) Close(i);
}

void IPopupMenuControl::MouseOver(float x, float y, const MouseModifiers& mod) {
  const int i = ItemAt(x, y);
  if (i >= 0 && mMenu.GetItem(i).enabled && i != mHighlight) {
    mHighlight = i;
    Redraw();
  }
}

void IPopupMenuControl::MouseWheel(float x, float y, const MouseModifiers& mod, float delta) {
  if (delta != 0.f) ScrollTo(mFirstRow + (delta > 0 ? -1 : 1));
}

bool IPopupMenuControl::KeyDown(float x, float y, const IKeyPress& key) {
  if (!IsOpen()) return false;
  switch (key.VK) {
  case kVK_UP:
    MoveHighlight(-1);
    break;
  case kVK_DOWN:
    MoveHighlight(1);
    break;
  case kVK_RETURN:
    Close(mHighlight);
    break;
  case kVK_ESCAPE:
    Close(-1);
    break;
  default:
    break;
  }
  return true;
}

void IPopupMenuControl::Draw(DrawContext& g) {
  g.FillRect(kMenuBackground, mBounds);
  const float rowH = RowHeight();
  const float pad = rowH * 0.5f;
  for (int row = 0; row < mVisibleRows; ++row) {
    const int i = mFirstRow + row;
    const IPopupMenu::Item& item = mMenu.GetItem(i);
    const Rect r = ItemBounds(i);
    if (i == mHighlight) g.FillRect(kMenuHighlight, r);
    if (item.checked) g.FillCircle(kMenuText, r.L + pad * 0.75f, r.MH(), rowH * 0.12f);
    const TextStyle style = mTextStyle.WithFGColor(item.enabled ? kMenuText : kMenuDisabledText)
                                .WithAlign(EAlign::Near)
                                .WithVAlign(EVAlign::Middle)
                                .WithAngle(0.f);
    g.DrawText(style, item.text, r.Padded(-1.5f * pad, 0, -pad * 0.5f, 0));
  }
  if (mFirstRow > 0) // more above
    g.FillTriangle(kMenuText, mBounds.R - pad, mBounds.T + 2, mBounds.R - pad * 1.5f,
                   mBounds.T + pad * 0.6f, mBounds.R - pad * 0.5f, mBounds.T + pad * 0.6f);
  if (mFirstRow + mVisibleRows < mMenu.NItems()) // more below
    g.FillTriangle(kMenuText, mBounds.R - pad, mBounds.B - 2, mBounds.R - pad * 1.5f,
                   mBounds.B - pad * 0.6f, mBounds.R - pad * 0.5f, mBounds.B - pad * 0.6f);
  g.DrawRect(kMenuFrame, mBounds.Padded(-0.5f));
}

} // namespace igraphics
