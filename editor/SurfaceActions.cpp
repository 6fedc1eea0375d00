// Buttons of the surface that act on the pedal directly.
#include "editor/ZorelControl.h"
#include "protocol/codec/EditorMessages.h"

namespace zorel {

// The picture button runs on press and on release and shows the pressed
// frame in between; the press toggles the switch, tells the pedal and
// brings the other knob layer forward.
void ZorelControl::FilterSwitchPress(bool press) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  mSurface.Post(
      [press](IControlSurface& c) { c.SetTagValue(kTagFilterSwitch, press ? 1.0 : 0.0); });
  if (!press) return;
  const bool on = !mView.mFilterSwitchOn;
  mSender.SendParameter(kDeviceNumberFilterSwitch, on ? 1 : 0);
  SetFilterSwitch(on);
}

} // namespace zorel
