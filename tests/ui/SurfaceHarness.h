#pragma once

// The real control surface on a headless editor: the graphics context the
// window would make (bundled pictures and fonts, a stepped clock), the
// surface built into it, and helpers that click, look and render.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "editor/ZorelControl.h"
#include "render/OffscreenSurface.h"
#include "tests/support/HeadlessEditor.h"
#include "ui/BuildUserInterface.h"

namespace zorel::test {

using igraphics::IControl;
using igraphics::MouseModifiers;

struct SurfaceHarness {
  explicit SurfaceHarness(std::string libraryRoot = {})
      : headless(nullptr, std::move(libraryRoot)),
        graphics(
            &headless.Editor(), kUIWidth, kUIHeight, 1.f, [this] { return nowMs; },
            SurfaceResources()) {
    Editor().AttachGraphics(&graphics);
    surface = BuildUserInterface(graphics, Editor());
  }
  ~SurfaceHarness() {
    Editor().AttachSurface(nullptr);
    Editor().DetachGraphics();
  }

  ZorelControl& Editor() { return headless.Editor(); }

  // Both clocks: the editor's ticks and the surface's animations.
  void Advance(uint64_t ms) {
    headless.Advance(ms);
    nowMs += static_cast<double>(ms);
    igraphics::Rect dirty;
    graphics.IsDirty(dirty);
  }

  void Click(float x, float y, MouseModifiers mod = {.L = true}) {
    graphics.OnMouseDown(x, y, mod);
    graphics.OnMouseUp(x, y, mod);
  }
  // Vector buttons act when their click animation ends.
  void ClickButton(float x, float y) {
    Click(x, y);
    Advance(200);
  }
  void Drag(float x, float y, float dy) {
    const MouseModifiers mod{.L = true};
    graphics.OnMouseDown(x, y, mod);
    graphics.OnMouseDrag(x, y + dy, 0.f, dy, mod);
    graphics.OnMouseUp(x, y + dy, mod);
  }

  IControl* Tag(int tag) const { return graphics.FindControlByTag(tag); }
  std::string Text(int tag) const {
    auto* text = dynamic_cast<igraphics::ITextControl*>(Tag(tag));
    return text ? text->GetText() : "<no text control " + std::to_string(tag) + ">";
  }
  std::vector<IControl*> Group(const char* name) const {
    std::vector<IControl*> members;
    graphics.ForEachInGroup(name, [&](IControl* c) { members.push_back(c); });
    return members;
  }
  // Shown: every member visible; hidden: none.
  bool GroupShown(const char* name) const {
    const auto members = Group(name);
    if (members.empty()) return false;
    for (const IControl* c : members)
      if (c->IsHidden()) return false;
    return true;
  }
  bool GroupHidden(const char* name) const {
    for (const IControl* c : Group(name))
      if (!c->IsHidden()) return false;
    return true;
  }
  // The parameters of the pedal knobs on screen.
  std::set<int> VisiblePedalKnobs() const {
    std::set<int> params;
    graphics.ForEachControl([&](IControl* c) {
      if (dynamic_cast<igraphics::IBKnobRotaterControl*>(c) && !c->IsHidden())
        params.insert(c->LinkedParam());
    });
    return params;
  }

  // What the pedal would see once it has identified itself: values are
  // sent, sections switch, the pedal panel takes clicks.
  void PretendConnected() {
    Editor().State().mConnected = true;
    Editor().State().mSendSuppressed = false;
    for (const char* g : group::kPedalKnobGroups) surface->SetGroupDisabled(g, false);
  }

  bool Render(float scale, const std::string& path) {
    igraphics::OffscreenSurface image(kUIWidth, kUIHeight, scale);
    graphics.DrawTo(image);
    return image.WritePNG(path);
  }

  HeadlessEditor headless;
  double nowMs = 0.0;
  igraphics::IGraphics graphics;
  std::unique_ptr<ZorelSurface> surface;
};

} // namespace zorel::test
