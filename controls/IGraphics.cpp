// The graphics context: attaching, finding, resizing and drawing controls.
// Input routing is in IGraphicsInput.cpp, prompts and dialogs in
// IGraphicsPrompts.cpp.
#include "controls/IGraphics.h"

#include <algorithm>
#include <cmath>

#include "controls/PanelControls.h"
#include "controls/SpecialControls.h"
#include "plugin/IPlugAPIBase.h"
#include "render/TextLayout.h"

namespace igraphics {

namespace {
// Beyond this many units per side no window or offscreen image can be made;
// a size from a damaged editor state is held inside it.
constexpr int kMaxLogicalSide = 16384;

float FiniteOr(float v, float fallback) {
  return std::isfinite(v) ? v : fallback;
}
} // namespace

IGraphics::IGraphics(iplug::IPlugAPIBase* delegate, int width, int height, float scale, Clock clock,
                     ResourceLookup resources)
    : mDelegate(delegate), mWidth(std::clamp(width, 1, kMaxLogicalSide)),
      mHeight(std::clamp(height, 1, kMaxLogicalSide)),
      mDrawScale(std::clamp(FiniteOr(scale, kDefaultMinScale), kDefaultMinScale, kDefaultMaxScale)),
      mClock(std::move(clock)),
      mResources(resources ? std::move(resources)
                           : [](std::string_view) -> std::optional<std::span<const uint8_t>> {
        return std::nullopt;
      }),
      mAlive(std::make_shared<IGraphics*>(this)) {}

IGraphics::~IGraphics() {
  // Answers that arrive from now on find nothing to go to.
  mAlive.reset();
  mPrompt.reset();
  mCapture = nullptr;
  mMouseOver = nullptr;
  mControls.clear();
}

// ---- attaching ----------------------------------------------------------------

bool IGraphics::ClaimTag(int tag, IControl* control) {
  if (tag < 0) return true;
  return mTags.emplace(tag, control).second;
}

void IGraphics::Attach(std::unique_ptr<IControl> control, const std::string& group) {
  IControl* c = control.get();
  c->SetOwners(this, mDelegate, {});
  // A control linked to a parameter starts from the parameter's value, not
  // from 0: the surface may open long after the values arrived.
  for (int i = 0; i < c->NValues(); ++i) {
    if (const iplug::IParam* p = c->GetParam(i)) c->SetValue(p->NormalizedCurrent(), i);
  }
  c->ScaleChanged();
  c->BoundsChanged();
  c->Initialise();
  c->SetOwners(this, mDelegate, group);
  mControls.push_back(std::move(control));
  c->Attached();
}

void IGraphics::AttachSpecial(IControl& control) {
  control.SetOwners(this, mDelegate, {});
  control.ScaleChanged();
  control.BoundsChanged();
  control.Initialise();
  control.Attached();
}

void IGraphics::SetBackgroundColor(const Color& color) {
  mBackgroundColor = color;
  RedrawAll();
}

IPanelControl* IGraphics::AttachPanelBackground(const Color& color) {
  mBackground = std::make_unique<IPanelControl>(Rect(0, 0, mWidth, mHeight), color);
  mBackground->SetMouseTransparent(true);
  AttachSpecial(*mBackground);
  return mBackground.get();
}

ICornerResizerControl* IGraphics::AddResizeHandle(EUIResizerMode mode, bool layoutOnResize,
                                                  const Color& normal, const Color& active,
                                                  float size) {
  mResizer = std::make_unique<ICornerResizerControl>(Rect(0, 0, mWidth, mHeight), size, mode,
                                                     layoutOnResize, normal, active);
  AttachSpecial(*mResizer);
  return mResizer.get();
}

ITextEntryControl* IGraphics::AddTextEntryField() {
  mTextEntry = std::make_unique<ITextEntryControl>();
  AttachSpecial(*mTextEntry);
  return mTextEntry.get();
}

IPopupMenuControl* IGraphics::AddPopupMenu(const TextStyle& style, const Rect& bounds) {
  mPopup = std::make_unique<IPopupMenuControl>(style, bounds);
  AttachSpecial(*mPopup);
  return mPopup.get();
}

IBubbleControl* IGraphics::AddValueBubble(const TextStyle& style) {
  mBubble = std::make_unique<IBubbleControl>(style);
  AttachSpecial(*mBubble);
  return mBubble.get();
}

std::vector<IControl*> IGraphics::Specials() const {
  std::vector<IControl*> out;
  for (IControl* c : std::initializer_list<IControl*>{mBubble.get(), mTextEntry.get(), mPopup.get(),
                                                      mResizer.get()}) {
    if (c != nullptr) out.push_back(c);
  }
  return out;
}

// ---- finding ----------------------------------------------------------------

IControl* IGraphics::FindControlByTag(int tag) const {
  const auto it = mTags.find(tag);
  return it == mTags.end() ? nullptr : it->second;
}

int IGraphics::TagOf(const IControl* control) const {
  for (const auto& [tag, c] : mTags)
    if (c == control) return tag;
  return kNoTag;
}

IControl* IGraphics::GetControl(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return mControls[static_cast<size_t>(index)].get();
}

void IGraphics::ForEachControl(const std::function<void(IControl*)>& fn) const {
  // By index: fn may attach controls, which moves the list's storage.
  for (size_t i = 0; i < mControls.size(); ++i) fn(mControls[i].get());
}

void IGraphics::ForEachInGroup(std::string_view group,
                               const std::function<void(IControl*)>& fn) const {
  if (group.empty()) return;
  for (size_t i = 0; i < mControls.size(); ++i) {
    IControl* c = mControls[i].get();
    if (c->Group() == group) fn(c);
  }
}

void IGraphics::ForEachLinkedToParam(int paramIdx,
                                     const std::function<void(IControl*, int)>& fn) const {
  if (paramIdx < 0) return;
  for (size_t i = 0; i < mControls.size(); ++i) {
    IControl* c = mControls[i].get();
    for (int v = 0; v < c->NValues(); ++v) {
      if (c->LinkedParam(v) == paramIdx) {
        fn(c, v);
        break;
      }
    }
  }
}

void IGraphics::SetParamControlsDisabled(int paramIdx, bool disable) {
  ForEachLinkedToParam(paramIdx, [disable](IControl* c, int) { c->SetDisabledState(disable); });
}

// ---- values from and to the plug-in base --------------------------------------

void IGraphics::SetControlValuesFromParam(int paramIdx, double normalized) {
  ForEachLinkedToParam(paramIdx,
                       [normalized](IControl* c, int v) { c->ApplyParamValue(normalized, v); });
}

void IGraphics::ForwardMidiToControls(const iplug::MidiMessage& msg) {
  ForEachControl([&msg](IControl* c) {
    if (c->WantsMidi()) c->MidiReceived(msg);
  });
}

void IGraphics::SendParameterValueFromUI(IControl* sender, int paramIdx, double normalized) {
  if (mDelegate != nullptr) mDelegate->SetParameterValue(paramIdx, normalized);
  ForEachLinkedToParam(paramIdx, [sender, normalized](IControl* c, int v) {
    if (c != sender) c->ApplyParamValue(normalized, v);
  });
}

bool IGraphics::SendControlMessage(int tag, int key, int size, const void* data) {
  IControl* c = FindControlByTag(tag);
  return c != nullptr && c->MessageReceived(key, size, data);
}

// ---- size and scale -----------------------------------------------------------

void IGraphics::Resize(int width, int height, float scale) {
  // Sizes and scales come from saved editor state too; a damaged one must
  // not make an unusable window.
  if (width <= 0) width = mWidth;
  if (height <= 0) height = mHeight;
  width = std::min(width, kMaxLogicalSide);
  height = std::min(height, kMaxLogicalSide);
  scale = std::clamp(FiniteOr(scale, mMinScale), mMinScale, mMaxScale);
  if (width == mWidth && height == mHeight && scale == mDrawScale) return;
  mWidth = width;
  mHeight = height;
  mDrawScale = scale;
  if (mWindow != nullptr) mWindow->ResizeWindow(mWidth * mDrawScale, mHeight * mDrawScale);
  const Rect full(0, 0, static_cast<float>(mWidth), static_cast<float>(mHeight));
  if (mBackground) mBackground->SetBounds(full);
  if (mResizer) mResizer->SurfaceResized(full);
  ForEachControl([](IControl* c) { c->BoundsChanged(); });
  RedrawAll();
  if (mLayout && mResizer && mResizer->LayoutOnResize()) mLayout(*this);
}

void IGraphics::SetScaleConstraints(float minScale, float maxScale) {
  if (!std::isfinite(minScale) || !std::isfinite(maxScale) || minScale <= 0.f || maxScale <= 0.f)
    return;
  mMinScale = std::min(minScale, maxScale);
  mMaxScale = std::max(minScale, maxScale);
  Resize(mWidth, mHeight, mDrawScale);
}

void IGraphics::SetScreenScale(float scale) {
  if (!std::isfinite(scale) || scale <= 0.f || scale == mScreenScale) return;
  mScreenScale = scale;
  mResources.SetScreenScale(scale);
  ForEachControl([](IControl* c) { c->ScaleChanged(); });
  for (IControl* c : Specials()) c->ScaleChanged();
  RedrawAll();
}

// ---- drawing ------------------------------------------------------------------

void IGraphics::CollectDirty(const std::function<void(const Rect&)>& add) {
  auto visit = [&](IControl* c) {
    if (c->IsAnimating()) c->Animate();
    if (c->NeedsRedraw()) add(c->Bounds());
  };
  if (mBackground) visit(mBackground.get());
  for (size_t i = 0; i < mControls.size(); ++i) visit(mControls[i].get());
  for (IControl* c : Specials()) visit(c);
}

bool IGraphics::IsDirty(Rect& area) {
  area = {};
  bool dirty = false;
  CollectDirty([&](const Rect& r) {
    dirty = true;
    area = area.Union(r);
  });
  return dirty;
}

bool IGraphics::IsDirty(std::vector<Rect>& areas) {
  areas.clear();
  bool dirty = false;
  CollectDirty([&](const Rect& bounds) {
    dirty = true;
    if (bounds.Empty()) return;
    Rect r = bounds;
    for (size_t i = 0; i < areas.size();) {
      if (areas[i].Intersects(r)) {
        r = r.Union(areas[i]);
        areas.erase(areas.begin() + static_cast<std::ptrdiff_t>(i));
        i = 0; // the grown rectangle may now meet an earlier one
      } else {
        ++i;
      }
    }
    areas.push_back(r);
  });
  if (areas.size() > kMaxDirtyAreas) {
    Rect all;
    for (const Rect& r : areas) all = all.Union(r);
    areas.assign(1, all);
  }
  return dirty;
}

void IGraphics::DrawControl(DrawContext& g, IControl& control, const Rect& area) {
  if (control.IsHidden()) return;
  const Rect clip = control.Bounds().Intersect(area);
  if (clip.Empty()) return;
  g.PathClipRegion(clip);
  g.SetGlobalOpacity(control.Opacity());
  control.Draw(g);
  if (mShowParamHighlights) control.DrawParamHighlight(g);
}

void IGraphics::Draw(DrawContext& g, const Rect& areaIn) {
  const Rect area = areaIn.Empty() ? Rect(0, 0, mWidth, mHeight) : areaIn;
  g.SetFonts(&mResources.Fonts());
  g.SetGlobalOpacity(1.f);
  g.PathClipRegion(area);
  g.Clear(mBackgroundColor);
  if (mBackground) DrawControl(g, *mBackground, area);
  for (size_t i = 0; i < mControls.size(); ++i) DrawControl(g, *mControls[i], area);
  for (IControl* c : Specials()) DrawControl(g, *c, area);
  g.SetGlobalOpacity(1.f);
  g.ResetClip();
  if (mBackground) mBackground->ClearChanged();
  for (const auto& c : mControls) c->ClearChanged();
  for (IControl* c : Specials()) c->ClearChanged();
}

void IGraphics::DrawTo(OffscreenSurface& surface) {
  Rect area;
  IsDirty(area);
  Draw(surface.Context(), Rect(0, 0, mWidth, mHeight));
}

void IGraphics::RedrawAll() {
  if (mBackground) mBackground->Redraw();
  ForEachControl([](IControl* c) { c->Redraw(); });
  for (IControl* c : Specials()) c->Redraw();
}

// ---- resources, pointer, window -----------------------------------------------

Bitmap IGraphics::LoadBitmapResource(std::string_view name, int frames, bool framesAreHorizontal,
                                     int targetScale) {
  return mResources.LoadBitmapResource(name, frames, framesAreHorizontal, targetScale);
}

SvgImage IGraphics::LoadSvgResource(std::string_view name, std::string_view units, float dpi) {
  return mResources.LoadSvgResource(name, units, dpi);
}

bool IGraphics::RegisterFontResource(const std::string& fontID, std::string_view fileName) {
  return mResources.RegisterFontResource(fontID, fileName);
}

float IGraphics::MeasureText(const TextStyle& style, std::string_view text, Rect& bounds) const {
  return igraphics::MeasureText(mResources.Fonts(), style, text, bounds);
}

void IGraphics::HideMouseCursor(bool hide) {
  if (hide == mCursorHidden) return;
  mCursorHidden = hide;
  if (mWindow != nullptr) mWindow->HideCursor(hide);
}

void IGraphics::SetMouseCursor(ECursor cursor) {
  if (cursor == mCursor) return;
  mCursor = cursor;
  if (mWindow != nullptr) mWindow->SetCursor(cursor);
}

bool IGraphics::OpenURL(const std::string& url) {
  return !url.empty() && mWindow != nullptr && mWindow->OpenURL(url);
}

} // namespace igraphics
