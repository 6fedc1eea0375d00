#pragma once

// The layout of the whole surface as constant tables, one per panel or part
// of the main surface, named by the step of the building order that
// attaches them (BuildUserInterface.cpp). Search here for any control.

#include <span>

#include "ui/LayoutSpec.h"

namespace zorel::ui::layout {

// Main surface (MainSurfaceLayout.cpp).
extern const LayoutTable kBackgrounds;         // the normal and the red background
extern const LayoutTable kPedalKnobs;          // both layers and LEVEL
extern const LayoutTable kPresetDisplay;       // ghost digits and the number
extern const LayoutTable kPresetList;          // rows, select area, scroll bar
extern const LayoutTable kPedalButtons;        // IMPORT, EXPORT, foot switches, FILTER, lamp, SAVE
extern const LayoutTable kGraphArea;           // graphs, hint, response-area select
extern const LayoutTable kPresetNameAndDevice; // preset name, status lines, RECONNECT

// Effect panels (EffectPanelLayout.cpp), in attach order; the IMPULSE
// RESPONSE panel is attached later, apart from them, and its cabinet list
// after the graphs.
extern const std::span<const PanelSpec> kEffectPanels;
extern const LayoutTable kImpulseResponsePanel;
extern const LayoutTable kCabinetList;
extern const LayoutTable kCustomIRPage;

// Pages over the main surface (PageLayout.cpp), in attach order apart from
// the custom IR page, which comes between the firmware and settings pages.
extern const LayoutTable kFirmwarePage;       // picture, buttons, link, progress
extern const LayoutTable kGlobalSettingsPage; // backdrop, picture, setting rows, resets
extern const LayoutTable kMidiCCPage;         // the eight controller numbers
extern const LayoutTable kProgramMapPage;     // the program-change map for both offsets
extern const LayoutTable kAboutPage;          // picture, version, backdrop
extern const LayoutTable kProgressOverlay;    // the preset transfer progress

// Every table with a name, for the tests and for a reader's overview.
struct NamedTable {
  const char* name;
  LayoutTable table;
  const char* group = nullptr; // of the entries without one
};
std::span<const NamedTable> AllTables();

} // namespace zorel::ui::layout
