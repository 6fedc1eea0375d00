#include <cstdio>
#include <vector>

#include "editor/ParamTable.h"
#include "protocol/codec/ParamIds.h"

// Until the window exists this prints the editor's parameter table, the most
// complete part of the editor that runs on its own so far.
int main() {
  std::vector<iplug::IParam> params(zorel::kParamCount);
  zorel::DefineAllParameters([&](int i) -> iplug::IParam& { return params[static_cast<size_t>(i)]; });
  std::printf("ZorelControl: no window yet; this is the editor's parameter table.\n");
  for (int i = 0; i < zorel::kParamCount; ++i) {
    const iplug::IParam& p = params[static_cast<size_t>(i)];
    char text[iplug::IParam::kMaxTextLength * 2];
    p.FormatCurrentWithUnit(text);
    std::printf("%3d  %-28s %6g..%-6g  %s\n", i, p.Name(), p.Min(), p.Max(), text);
  }
  return 0;
}
