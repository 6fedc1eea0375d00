#pragma once

#include <string>

#include "controls/ControlTypes.h"

namespace igraphics {

// What the graphics context asks of the window that shows it. Every
// operation has a harmless default so an offscreen surface needs none.
class IGraphicsWindow {
public:
  virtual ~IGraphicsWindow() = default;
  // The drawing area should become this many screen units (logical size x
  // draw scale); the window multiplies by its monitor's scale for pixels.
  virtual void ResizeWindow(float screenWidth, float screenHeight) {}
  virtual void SetCursor(ECursor cursor) {}
  virtual void HideCursor(bool hide) {}
  // Opens an address with the desktop's browser; false when that failed.
  virtual bool OpenURL(const std::string& url) { return false; }
};

} // namespace igraphics
