// zorelcontrol with a small surface of its own instead of the editor's
// whole one: a DRIVE knob, ten preset rows, a name field, a menu caption,
// a value slider and the corner resizer. The window, its menu, dialogs,
// ticks, single instance and shut-down are the program's own, so the
// window can be tested apart from the surface's layout.
#include "app/window/Application.h"
#include "controls/Controls.h"
#include "editor/SurfaceIds.h"
#include "protocol/codec/ParamIds.h"

using namespace igraphics;

namespace {

constexpr int kRows = 10;

class HarnessSurface : public zorel::IControlSurface {
public:
  HarnessSurface(IGraphics& g, zorel::ZorelControl& editor) : mGraphics(g) {
    g.RegisterFontResource("Roboto-Regular", "Roboto-Regular.ttf");
    g.AttachPanelBackground(Color(255, 40, 44, 52));
    const TextStyle label(36.f, COLOR_WHITE);
    g.AddControl(
        std::make_unique<IVKnobControl>(Rect(200, 250, 500, 600), zorel::kParamDrive, "DRIVE"),
        zorel::kTagDrive);
    for (int i = 0; i < kRows; ++i) {
      const float top = 150.f + 60.f * static_cast<float>(i);
      mRows[i] = g.AddControl(std::make_unique<ITextControl>(Rect(1200, top, 1800, top + 50), "",
                                                             label.WithAlign(EAlign::Near),
                                                             Color(255, 60, 66, 80)));
    }
    g.AddControl(std::make_unique<IEditableTextControl>(Rect(200, 800, 800, 860), "Preset name",
                                                        label, Color(255, 80, 80, 90)),
                 zorel::kTagPresetName);
    g.AddControl(std::make_unique<ICaptionControl>(
        Rect(200, 950, 800, 1010), zorel::kParamJack1Mode, label, Color(255, 80, 90, 80)));
    g.AddResizeHandle(EUIResizerMode::Scale, false, Color(80, 255, 255, 255), COLOR_WHITE, 40.f);
    editor.AttachSurface(this);
  }

  void SetPresetRowText(int slot, const std::string& text) override {
    if (slot >= 0 && slot < kRows) mRows[slot]->SetText(text);
  }
  void ShowMessage(const std::string& text) override {
    mGraphics.ShowMessageDialog(text, "", zorel::MessageBoxType::kOK);
  }

  // The rest of the surface does not exist here.
  void ShowSection(int) override {}
  void SetGroupHidden(const char*, bool) override {}
  void SetGroupDisabled(const char*, bool) override {}
  void SetParamControlsDisabled(int, bool) override {}
  void SelectAmpModel(int) override {}
  void SelectAmbienceType(int) override {}
  void UpdateKnobLayer(bool, bool) override {}
  void ShowReadout(int, int) override {}
  void ShowPunchFilterReadouts() override {}
  void ShowMidFilterReadouts() override {}
  void ShowHighFilterReadouts() override {}
  void SetTagText(int, const std::string&) override {}
  void SetTagTextColor(int, zorel::SurfaceColor) override {}
  void SetTagValue(int, double) override {}
  void SetTagHidden(int, bool) override {}
  void SetTagDisabled(int, bool) override {}
  void RedrawTag(int) override {}
  void MarkAllDirty() override { mGraphics.RedrawAll(); }
  void PlacePresetRow(int, float, bool) override {}
  void SetPresetRowColor(int, zorel::SurfaceColor, bool) override {}
  void SetIRNameRowText(int, const std::string&) override {}
  void SetIRNameRowColor(int, zorel::SurfaceColor) override {}
  void ShowProgress(double, const std::string&) override {}
  void SetGateThreshold(double) override {}
  void SetGateRatio(double) override {}
  void SetCompressorThreshold(double) override {}
  void SetCompressorRatio(double) override {}
  void SetResponseSamples(zorel::ResponseSamples) override {}

private:
  IGraphics& mGraphics;
  ITextControl* mRows[kRows] = {};
};

} // namespace

int main(int argc, char** argv) {
  return zorel::window::RunZorelControl(
      argc, argv,
      [](IGraphics& g, zorel::ZorelControl& editor) -> std::unique_ptr<zorel::IControlSurface> {
        return std::make_unique<HarnessSurface>(g, editor);
      });
}
