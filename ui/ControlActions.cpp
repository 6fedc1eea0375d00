#include "ui/ControlActions.h"

#include "controls/IGraphics.h"
#include "controls/TextControls.h"
#include "editor/ZorelControl.h"
#include "protocol/codec/EditorMessages.h"

namespace zorel::ui {

namespace {

using igraphics::IControl;

// The picture buttons run their action on press and on release and never
// change their own value: the owner shows the pressed frame, so a value of
// 0 means this call is the press.
bool IsPress(const IControl* button) {
  return button->Value() < 0.5;
}

// The backdrops of the pages that only close themselves.
igraphics::IActionFunction HideOwnGroup(const char* name) {
  return [name](IControl* c) {
    if (igraphics::IGraphics* g = c->GetUI())
      g->ForEachInGroup(name, [](IControl* page) { page->SetHidden(true); });
  };
}

} // namespace

igraphics::IActionFunction MakeAction(Action action, int row, ZorelControl& editor) {
  ZorelControl* e = &editor;
  switch (action) {
  case Action::kNone:
    return nullptr;
  // A lit model or type button stays as it is: nothing is applied or sent.
  case Action::kAmpModel:
    return [e, row](IControl* c) {
      if (IsPress(c)) e->ChooseAmpModel(row);
    };
  case Action::kAmbienceType:
    return [e, row](IControl* c) {
      if (IsPress(c)) e->ChooseAmbienceType(row);
    };
  case Action::kFilterSwitch:
    return [e](IControl* c) { e->FilterSwitchPress(IsPress(c)); };
  case Action::kFootUp:
    return [e](IControl* c) { e->PresetUp(IsPress(c)); };
  case Action::kFootDown:
    return [e](IControl* c) { e->PresetDown(IsPress(c)); };
  case Action::kFootCentre:
    return [e](IControl* c) { e->RecallPress(IsPress(c)); };
  case Action::kSave:
    return [e](IControl* c) { e->StorePress(IsPress(c)); };
  case Action::kLoadPresetFile:
    return [e](IControl*) { e->LoadPresetFile(); };
  case Action::kSavePresetFile:
    return [e](IControl*) { e->SavePresetFile(); };
  case Action::kReconnect:
    return [e](IControl*) { e->Reconnect(); };
  case Action::kImportIR7:
    return [e](IControl*) { e->ImportWavForIR7(); };
  case Action::kImportIR8:
    return [e](IControl*) { e->ImportWavForIR8(); };
  case Action::kRenamePreset:
    return [e](IControl* c) {
      if (auto* text = dynamic_cast<igraphics::ITextControl*>(c))
        e->CommitPresetName(text->GetText());
    };
  case Action::kCloseCustomIRPage:
    return HideOwnGroup(group::kCustomIR);
  case Action::kOpenIR7List:
    return [e](IControl*) { e->OpenUserIRList(true); };
  case Action::kOpenIR8List:
    return [e](IControl*) { e->OpenUserIRList(false); };
  case Action::kChooseFirmwareFile:
    return [e](IControl*) { e->ChooseFirmwareFile(); };
  case Action::kCloseFirmwarePage:
    return [e](IControl*) { e->CloseFirmwarePage(); };
  case Action::kCloseGlobalSettings:
    return [e](IControl*) { e->CloseGlobalSettings(); };
  case Action::kOpenMidiCCPage:
    return [e](IControl*) { e->OpenMidiCCPage(); };
  case Action::kCloseMidiCCPage:
    return [e](IControl*) { e->CloseMidiCCPage(); };
  case Action::kOpenProgramMapPage:
    return [e](IControl*) { e->OpenProgramMapPage(); };
  case Action::kCloseProgramMapPage:
    return [e](IControl*) { e->CloseProgramMapPage(); };
  case Action::kFactoryResetAll:
    return [e](IControl*) { e->FactoryReset(kResetAll); };
  case Action::kFactoryResetPresets:
    return [e](IControl*) { e->FactoryReset(kResetPresets); };
  case Action::kFactoryResetSettings:
    return [e](IControl*) { e->FactoryReset(kResetSettings); };
  case Action::kCloseAbout:
    return HideOwnGroup(group::kAbout);
  }
  return nullptr;
}

} // namespace zorel::ui
