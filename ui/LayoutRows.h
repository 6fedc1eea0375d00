#pragma once

#include <vector>

#include "ui/LayoutSpec.h"

namespace zorel::ui {

// One control of a table as it is attached: a row template unfolded into
// its rows (each with its own rectangle, tag and picture) and the group
// settled (a panel's group for entries without one).
struct PlacedControl {
  ControlSpec spec;
  const char* group = nullptr;
  int row = 0;
};

std::vector<PlacedControl> Expand(LayoutTable table, const char* panelGroup = nullptr);

} // namespace zorel::ui
