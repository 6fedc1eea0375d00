#pragma once

// The fonts, text styles and vector styles the surface is drawn with. Every
// style is derived from a few base styles by copy-and-modify, so a colour
// changed here changes every control that uses it.

#include <array>

#include "controls/IGraphics.h"
#include "controls/VectorStyle.h"
#include "render/TextStyle.h"
#include "ui/LayoutSpec.h"

namespace zorel::ui {

struct FontResource {
  const char* id;
  const char* file;
};

// Registered in this order; controls name fonts by id.
inline constexpr std::array<FontResource, 6> kFonts = {{
    {"Roboto-Regular", "Roboto-Regular.ttf"},
    {"ForkAwesome", "forkawesome-webfont.ttf"},
    {"Fontaudio", "fontaudio.ttf"},
    {"FontLCD", "ni7seg.ttf"},
    {"Font7Seg", "MyBlueRoom.ttf"},
    {"Fontknow", "Knowledge-Bold.ttf"},
}};

// How many of the fonts could be loaded; a missing one draws nothing and
// building goes on.
int RegisterFonts(igraphics::IGraphics& graphics);

const igraphics::TextStyle& BaseText(TextId id);
const igraphics::VectorStyle& BaseStyle(StyleId id);

// The text style of a look: its base with the look's size, colour and
// alignment.
igraphics::TextStyle TextFor(const Look& look);
// The vector style of a look; size and alignment change its label text.
igraphics::VectorStyle StyleFor(const Look& look);

} // namespace zorel::ui
