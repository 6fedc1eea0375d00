#pragma once

#include "controls/ControlTypes.h"
#include "ui/LayoutSpec.h"

namespace zorel {
class ZorelControl;
}

namespace zorel::ui {

// What a control of the layout does when the user works it; `row` is the
// row of a row template (the model or ambience type of its button). Empty
// for Action::kNone.
igraphics::IActionFunction MakeAction(Action action, int row, ZorelControl& editor);

} // namespace zorel::ui
