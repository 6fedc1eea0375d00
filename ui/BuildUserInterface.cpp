// The building order of the surface. Attach order is drawing order (later
// on top), so the steps keep their order; the pages of the settings,
// firmware and about screens and the transfer progress overlay take their
// places in step 16.
#include "ui/BuildUserInterface.h"

#include "editor/ZorelControl.h"
#include "library/SlotCache.h"
#include "protocol/codec/ParamIds.h"
#include "resources/ResourceBundle.h"
#include "ui/LayoutTables.h"
#include "ui/SurfaceBuilder.h"
#include "ui/SurfaceStyles.h"

namespace zorel {

using igraphics::Color;

namespace {

constexpr float kDefaultDrawScale = 0.5f;

// What the surface shows before anything is known of the pedal: the IR
// panel with its response graph, the pedal panel greyed until a pedal is
// connected.
void ShowStartUpState(ZorelSurface& surface, ZorelControl& editor) {
  surface.HideAllSections();
  surface.SetGroupHidden(group::kImpulseResponse, false);
  surface.SetGroupHidden(group::kIRDisplay, false);
  // The microphone stands at the cabinet the IR parameter names, not where
  // its own proxy parameter starts.
  if (const iplug::IParam* ir = editor.ParamAt(kParamIR))
    surface.SetTagValue(kTagCabinetSlider, 1.0 - ir->Int() / 127.0);
  if (editor.State().mConnected) return;
  for (const char* g :
       {group::kPedalFixed, group::kPedalLayerA, group::kPedalPostA, group::kPedalLayerB})
    surface.SetGroupDisabled(g, true);
}

} // namespace

igraphics::ResourceLookup SurfaceResources() {
  return [](std::string_view name) -> std::optional<std::span<const uint8_t>> {
    const std::span<const uint8_t> bytes = FindResource(name);
    if (bytes.empty()) return std::nullopt;
    return bytes;
  };
}

std::unique_ptr<ZorelSurface> BuildUserInterface(igraphics::IGraphics& graphics,
                                                 ZorelControl& editor) {
  // The editor's tables (cabinet names, the library) are read while
  // building; the audio side waits its turn meanwhile.
  std::lock_guard<iplug::EditorLock> lock(editor.EditorLock());

  // 1. Once per window.
  if (graphics.ControlCount() > 0) return nullptr;
  graphics.EnableMouseOver(false);
  graphics.EnableTooltips(true);

  // 2. The corner resizer changes the scale; a grey panel behind everything.
  graphics.AddResizeHandle(igraphics::EUIResizerMode::Scale, true, Color(10, 0, 0, 0),
                           igraphics::COLOR_BLACK, 20.f);
  graphics.AttachPanelBackground(Color(255, 127, 127, 127));

  auto surface = std::make_unique<ZorelSurface>(graphics, editor);
  ui::SurfaceBuilder build(graphics, editor, surface->Handles());

  // 3. Backgrounds; the red one shows while the FILTER switch is on.
  build.Attach(ui::layout::kBackgrounds);

  // 4. Text entry, popup menu and value bubble drawn on the surface.
  graphics.AddTextEntryField();
  graphics.AddPopupMenu(igraphics::TextStyle(), igraphics::Rect());
  graphics.AddValueBubble(igraphics::TextStyle());

  // 5. Fonts; the styles are derived from them as controls ask.
  ui::RegisterFonts(graphics);

  // 6. The pedal's knobs in both layers, LEVEL, and the layer now in use.
  build.Attach(ui::layout::kPedalKnobs);
  surface->UpdateKnobLayer(editor.View().mMidPre, editor.View().mFilterSwitchOn);

  // 7.-8. Preset number display; preset list with its select area and bar.
  build.Attach(ui::layout::kPresetDisplay);
  build.Attach(ui::layout::kPresetList);

  // 9. The effect panels, then their titles.
  build.AttachPanels(ui::layout::kEffectPanels);

  // 10. IMPORT, EXPORT, the foot switches, FILTER, its lamp and SAVE.
  build.Attach(ui::layout::kPedalButtons);

  // 11. The IMPULSE RESPONSE panel without its cabinet list.
  build.Attach(ui::layout::kImpulseResponsePanel);

  // 12. The response and dynamics graphs (fed through the surface's graph
  // view), the click-to-edit hint and the response-area select.
  build.Attach(ui::layout::kGraphArea);

  // 13. Names of the factory IRs already in the library, for the cabinet list.
  lib::SlotCache& slots = editor.Library().Slots();
  for (int i = 0; i < lib::kFactoryIRCount; ++i)
    if (slots.FactoryIRSlotExists(i)) slots.ReadFactoryIRName(i);

  // 14. The cabinet list and its select area.
  build.Attach(ui::layout::kCabinetList);

  // 15. Preset name, device status lines and RECONNECT.
  build.Attach(ui::layout::kPresetNameAndDevice);

  // 16. Pages over the main surface: the firmware page comes first, then
  // the custom IR list page (hidden at once), then the global settings,
  // controller-number and program-map pages, the about page and the
  // transfer progress overlay, each hidden as it is built.
  build.Attach(ui::layout::kFirmwarePage);
  for (const char* g :
       {group::kFirmwareBackground, group::kFirmwareUpdate, group::kFirmwareProgress})
    surface->SetGroupHidden(g, true);
  build.Attach(ui::layout::kCustomIRPage);
  surface->SetGroupHidden(group::kCustomIR, true);
  build.Attach(ui::layout::kGlobalSettingsPage);
  build.Attach(ui::layout::kMidiCCPage);
  build.Attach(ui::layout::kProgramMapPage);
  for (const char* g : {group::kGlobalSettings, group::kMidiCC, group::kMidiProgram,
                        group::kMidiProgramOffset0, group::kMidiProgramOffset1})
    surface->SetGroupHidden(g, true);
  // The program-change map starts as "each program selects itself" until
  // the pedal reports its own.
  for (size_t i = 0; i < editor.State().mProgramMap.size(); ++i)
    editor.State().mProgramMap[i] = static_cast<int>(i);
  build.Attach(ui::layout::kAboutPage);
  surface->SetGroupHidden(group::kAbout, true);
  build.Attach(ui::layout::kProgressOverlay);
  surface->SetGroupHidden(group::kProgress, true);

  // 17. Start-up visibility.
  ShowStartUpState(*surface, editor);

  // 18. From here the editor talks to the surface: the library's start-up
  // work fills the preset list and the IR names. On a first start the
  // factory IRs are installed only now, so the cabinet list reads their
  // names again.
  editor.AttachSurface(surface.get());
  editor.InstallLibraryContent();
  surface->RefreshCabinetNames();

  // 19. The saved draw scale.
  const float scale = editor.mLoadDrawScale ? editor.mLoadDrawScale() : kDefaultDrawScale;
  graphics.Resize(kUIWidth, kUIHeight, scale);
  return surface;
}

} // namespace zorel
