#pragma once

#include "plugin/IPlugStructs.h"

namespace igraphics {

// What the plug-in base needs of a control surface: handing parameter values
// and MIDI to the controls, and its size and scale. The control framework's
// IGraphics implements it; the base knows nothing more of controls.
class IGraphicsContext {
public:
  virtual ~IGraphicsContext() = default;
  // Gives a normalized value to every control bound to the parameter.
  virtual void SetControlValuesFromParam(int paramIdx, double normalized) = 0;
  virtual void ForwardMidiToControls(const iplug::MidiMessage& msg) = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual float GetDrawScale() const = 0;
  virtual void Resize(int width, int height, float scale) = 0;
};

} // namespace igraphics
