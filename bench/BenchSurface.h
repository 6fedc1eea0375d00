#pragma once

// The font and the empty 1920 x 1200 surface the drawing benchmarks start
// from.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "controls/IGraphics.h"

namespace bench {

inline std::vector<uint8_t> ReadFont() {
  for (const char* path : {"/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf",
                           "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"}) {
    std::ifstream in(path, std::ios::binary);
    if (in) return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  return {};
}

// A surface with no delegate whose "Roboto-Regular" is `font`, which must
// outlive it.
inline std::unique_ptr<igraphics::IGraphics> MakeSurface(const std::vector<uint8_t>& font,
                                                         const igraphics::Color& background) {
  auto ui = std::make_unique<igraphics::IGraphics>(
      nullptr, 1920, 1200, 1.f, [] { return 0.0; },
      [&font](std::string_view) -> std::optional<std::span<const uint8_t>> {
        return std::span<const uint8_t>(font);
      });
  ui->RegisterFontResource("Roboto-Regular", "font");
  ui->SetBackgroundColor(background);
  return ui;
}

} // namespace bench
