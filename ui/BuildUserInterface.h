#pragma once

#include <memory>

#include "controls/IGraphics.h"
#include "ui/ZorelSurface.h"

namespace zorel {

class ZorelControl;

// Builds the whole control surface into `graphics` (a context of the
// editor's 1920 x 1200 units whose delegate is `editor`), attaches it to the
// editor with editor.AttachSurface, runs the start-up visibility and the
// library's start-up work, and sizes the surface from the saved draw scale
// (editor.mLoadDrawScale, 0.5 without it).
//
// The caller keeps the returned surface alive while the window is open and
// calls editor.AttachSurface(nullptr) before destroying it (and before the
// graphics context goes). When `graphics` already holds controls nothing is
// built and the result is null: a window builds its surface once.
std::unique_ptr<ZorelSurface> BuildUserInterface(igraphics::IGraphics& graphics,
                                                 ZorelControl& editor);

// The pictures, fonts and SVG documents of the resource bundle, for the
// graphics context the surface is built in.
igraphics::ResourceLookup SurfaceResources();

} // namespace zorel
