#pragma once

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "editor/ControlSurface.h"

namespace zorel::test {

// A control surface that logs each call as text and keeps tag state, and
// notes every call made off its owning thread.
class RecordingSurface : public IControlSurface {
public:
  std::vector<std::string> calls;
  std::map<int, std::string> texts;
  std::map<int, double> values;
  std::map<int, bool> hidden;
  std::thread::id owner = std::this_thread::get_id();
  int offThreadCalls = 0;

  void Log(std::string s) {
    if (std::this_thread::get_id() != owner) ++offThreadCalls;
    calls.push_back(std::move(s));
  }
  bool Has(const std::string& s) const {
    for (const auto& c : calls)
      if (c == s) return true;
    return false;
  }

  void ShowSection(int section) override { Log("section " + std::to_string(section)); }
  void SetGroupHidden(const char* g, bool h) override {
    Log(std::string(h ? "hide " : "show ") + g);
  }
  void SetGroupDisabled(const char* g, bool d) override {
    Log(std::string(d ? "disable " : "enable ") + g);
  }
  void SetParamControlsDisabled(int p, bool d) override {
    Log((d ? "disable param " : "enable param ") + std::to_string(p));
  }
  void ShowReadout(int tag, int p) override {
    Log("readout " + std::to_string(tag) + " " + std::to_string(p));
  }
  void ShowPunchFilterReadouts() override { Log("punch readouts"); }
  void ShowMidFilterReadouts() override { Log("mid readouts"); }
  void ShowHighFilterReadouts() override { Log("high readouts"); }
  void SetTagText(int tag, const std::string& t) override {
    texts[tag] = t;
    Log("text " + std::to_string(tag) + " " + t);
  }
  void SetTagTextColor(int tag, SurfaceColor c) override {
    Log("color " + std::to_string(tag) + " " + std::to_string(c.a) + "," + std::to_string(c.r) +
        "," + std::to_string(c.g) + "," + std::to_string(c.b));
  }
  void SetTagValue(int tag, double v) override {
    values[tag] = v;
    Log("value " + std::to_string(tag));
  }
  void SetTagHidden(int tag, bool h) override {
    hidden[tag] = h;
    Log((h ? "hide tag " : "show tag ") + std::to_string(tag));
  }
  void SetTagDisabled(int tag, bool d) override {
    Log((d ? "disable tag " : "enable tag ") + std::to_string(tag));
  }
  void RedrawTag(int tag) override { Log("redraw " + std::to_string(tag)); }
  void MarkAllDirty() override { Log("dirty"); }
  void PlacePresetRow(int slot, float top, bool h) override {
    Log("row " + std::to_string(slot) + " " + std::to_string(static_cast<int>(top)) +
        (h ? " hidden" : " shown"));
  }
  void SetPresetRowColor(int slot, SurfaceColor c, bool) override {
    Log("row color " + std::to_string(slot) + " " + std::to_string(c.a));
  }
  void SetPresetRowText(int slot, const std::string& t) override {
    Log("row text " + std::to_string(slot) + " " + t);
  }
  void SetIRNameRowText(int row, const std::string& t) override {
    Log("ir row " + std::to_string(row) + " " + t);
  }
  void SetIRNameRowColor(int row, SurfaceColor c) override {
    Log("ir row color " + std::to_string(row) + " " + std::to_string(c.r));
  }
  void SelectAmpModel(int m) override { Log("amp model " + std::to_string(m)); }
  void SelectAmbienceType(int t) override { Log("ambience " + std::to_string(t)); }
  void UpdateKnobLayer(bool pre, bool filter) override {
    Log(std::string("knob layer ") + (pre ? "pre" : "post") + (filter ? " b" : " a"));
  }
  void ShowProgress(double f, const std::string& t) override { Log("progress " + t); }
  void ShowMessage(const std::string& t) override { Log("message " + t); }
  void SetGateThreshold(double db) override { Log("gate threshold " + std::to_string(db)); }
  void SetGateRatio(double r) override { Log("gate ratio " + std::to_string(r)); }
  void SetCompressorThreshold(double db) override { Log("comp threshold " + std::to_string(db)); }
  void SetCompressorRatio(double r) override { Log("comp ratio " + std::to_string(r)); }
  void SetResponseSamples(ResponseSamples s) override {
    responseSamples = std::move(s);
    Log("response samples");
  }
  ResponseSamples responseSamples;
};

} // namespace zorel::test
