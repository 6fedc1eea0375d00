#pragma once

#include <string>

#include "controls/BitmapControls.h"

namespace zorel::ui {

// A picture decoded the first time it is shown or drawn. The red
// background appears only once the FILTER switch is used, and decoding a
// full-window picture is most of what building the surface costs (and, at
// twice the scale, 37 MB held for nothing until then).
class PictureOnFirstShow : public igraphics::IBitmapControl {
public:
  // `bounds` until the picture is known; then the picture's size, centred
  // horizontally on them.
  PictureOnFirstShow(const igraphics::Rect& bounds, std::string name, int frames = 1);

  bool Loaded() const { return mLoaded; }

  void SetHidden(bool hidden) override;
  void Draw(igraphics::DrawContext& g) override;

private:
  void Load();

  std::string mName;
  int mFrames;
  bool mLoaded = false;
};

} // namespace zorel::ui
