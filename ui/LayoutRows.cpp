#include "ui/LayoutRows.h"

namespace zorel::ui {

namespace {

// Where row `row` of a template lies, relative to the first row.
std::pair<float, float> RowOffset(const ControlSpec& spec, int row) {
  const Rows& r = spec.rows;
  const int perLine = r.perLine > 0 ? r.perLine : r.count;
  const int line = row / perLine;
  const int column = row % perLine;
  const float lineX = static_cast<float>(line) * r.lineStepX;
  float dx = static_cast<float>(column) * r.stepX + lineX;
  if (static_cast<size_t>(column) < r.lineXs.size())
    dx = r.lineXs[static_cast<size_t>(column)] - spec.rect.L + lineX;
  const float dy = static_cast<float>(column) * r.stepY + static_cast<float>(line) * r.lineStepY;
  return {dx, dy};
}

} // namespace

std::vector<PlacedControl> Expand(LayoutTable table, const char* panelGroup) {
  std::vector<PlacedControl> placed;
  for (const ControlSpec& spec : table) {
    const char* group = spec.group != nullptr ? spec.group : panelGroup;
    for (int row = 0; row < spec.rows.count; ++row) {
      ControlSpec one = spec;
      const auto [dx, dy] = RowOffset(spec, row);
      one.rect = spec.rect.Translated(dx, dy);
      if (spec.tag != kTagNone)
        one.tag = row < spec.rows.firstTaggedRow ? static_cast<int>(kTagNone)
                                                 : spec.tag + row - spec.rows.firstTaggedRow;
      if (static_cast<size_t>(row) < spec.rows.pictures.size())
        one.picture = spec.rows.pictures[static_cast<size_t>(row)];
      one.group = group;
      placed.push_back({one, group, row});
    }
  }
  return placed;
}

} // namespace zorel::ui
