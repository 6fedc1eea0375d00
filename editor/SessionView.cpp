// How the editor shows what happens: the panels of the section area, the
// lit model and ambience buttons with the knob layers, and everything the
// protocol reports (ISessionEvents). Only this file and the other editor
// files name controls, always through SurfaceIds.h.
#include <cstdio>
#include <string>

#include "editor/DisplayText.h"
#include "editor/ZorelControl.h"
#include "library/LibraryTables.h"
#include "library/MirroredPedal.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

namespace {

// Amp models 0 and 3..9 use the mid filter; 1, 2 and the unmatched 11 and 12
// use the punch ("pre") filter.
bool UsesPunchFilter(int model) {
  return model == 1 || model == 2 || model == 11 || model == 12;
}

} // namespace

void ZorelControl::SelectSection(int section) {
  mView.mActiveSection = section;
  if (!mSurface.IsOpen()) return;
  const bool compressor = section == kSectionCompressor;
  const double ratio = ParamInt(kParamCompressorRatio) / 127.0 * 19.0 + 1.0;
  mSurface.Post([section, compressor, ratio](IControlSurface& c) {
    c.ShowSection(section);
    if (compressor) c.SetCompressorRatio(ratio);
  });
}

void ZorelControl::SelectAmpModel(int model) {
  mView.mAmpModel = model;
  mView.mMidPre = UsesPunchFilter(model);
  if (!mSurface.IsOpen()) return;
  const bool midPre = mView.mMidPre, filterOn = mView.mFilterSwitchOn;
  const bool refresh = mView.mActiveSection == kSectionAmplifier;
  mSurface.Post([model, midPre, filterOn, refresh](IControlSurface& c) {
    c.SelectAmpModel(model);
    c.UpdateKnobLayer(midPre, filterOn);
    if (refresh) {
      c.SetGroupHidden(group::kDrive, true);
      c.SetGroupHidden(group::kDrive, false);
    }
  });
}

void ZorelControl::ShowAmbienceTimeKnob(bool shown) {
  mSurface.Post([shown](IControlSurface& c) { c.SetGroupHidden(group::kAmbienceTime, !shown); });
}

void ZorelControl::SelectAmbienceType(int type) {
  mView.mAmbienceType = type;
  if (!mSurface.IsOpen()) return;
  const bool ambienceShown = mView.mActiveSection == kSectionAmbience;
  const bool echo = type == 5 || type == 6;
  mSurface.Post([type](IControlSurface& c) { c.SelectAmbienceType(type); });
  if (!echo) {
    ShowAmbienceTimeKnob(false);
  } else if (ambienceShown) {
    ShowAmbienceTimeKnob(true);
  } else {
    return;
  }
  if (!ambienceShown) return;
  mSurface.Post([](IControlSurface& c) {
    for (int i = 0; i < kAmbienceButtons; ++i) {
      c.SetTagHidden(kTagAmbienceButtonFirst + i, true);
      c.SetTagHidden(kTagAmbienceButtonFirst + i, false);
    }
  });
}

void ZorelControl::SetFilterSwitch(bool on) {
  mView.mFilterSwitchOn = on;
  if (!mSurface.IsOpen()) return;
  const bool midPre = mView.mMidPre;
  mSurface.Post([on, midPre](IControlSurface& c) {
    c.SetTagHidden(kTagFilterLamp, !on);
    c.SetTagHidden(kTagRedBackground, !on);
    c.UpdateKnobLayer(midPre, on);
  });
}

void ZorelControl::ShowTransferProgress(double fraction, const std::string& text) {
  mSurface.Post([fraction, text](IControlSurface& c) {
    c.ShowProgress(fraction, text);
    c.SetGroupHidden(group::kProgress, false);
  });
}

void ZorelControl::HideTransferProgress() {
  mSurface.Post([](IControlSurface& c) { c.SetGroupHidden(group::kProgress, true); });
}

void ZorelControl::DeviceIdentified(const std::string& versionText) {
  mSurface.Post([versionText](IControlSurface& c) {
    c.SetTagText(kTagDeviceName, "DEVICE: Dravix Movrant Zorel");
    c.SetTagText(kTagDeviceVersion, versionText);
    for (const char* g : group::kPedalKnobGroups) c.SetGroupDisabled(g, false);
  });
}

void ZorelControl::SerialKnown(const std::string& serialText) {
  mSurface.Post([serialText](IControlSurface& c) { c.SetTagText(kTagDeviceSerial, serialText); });
  // One library mirrors one pedal: another pedal's presets and IRs are
  // cleared before this one's checksum list is compared with the cache.
  const lib::PedalAdoption adoption =
      lib::AdoptConnectedPedal(mLibrary->Slots(), mState.mSerialNumber);
  if (adoption.cacheCleared) mLibrary->RefreshPresetList();
  if (!adoption.message.empty()) ShowMessage(adoption.message);
}

void ZorelControl::PresetHighlighted(int previous, int slot) {
  mSurface.Post([previous, slot](IControlSurface& c) {
    if (previous >= 0) c.SetPresetRowColor(previous, color::kPresetRow, true);
    c.SetPresetRowColor(slot, color::kPresetRowSelected, true);
  });
}

// A preset dump, applied with sending suppressed: the lit buttons follow the
// preset, a filter panel on screen follows the amp model's filter, and the
// number, name and IR name displays show the preset.
void ZorelControl::PresetApplied(const AppliedPreset& p) {
  // Another preset, or this one as stored: its edits are behind it. The
  // pedal's copy of a preset just stored keeps them (and a comparison).
  mView.mAmpModel = p.ampModel;
  mView.mAmbienceType = p.ambienceType;
  if (!mState.mStoreArmed) {
    mComparing = false;
    mHistory.Clear(CurrentSnapshot());
  }
  if (!mSurface.IsOpen()) {
    // The knob layer is remembered for when a surface opens.
    mView.mMidPre = UsesPunchFilter(p.ampModel);
    mView.mAmbienceType = p.ambienceType;
    return;
  }
  SelectAmpModel(p.ampModel);
  if (mView.mActiveSection == kSectionMidFilter || mView.mActiveSection == kSectionPunchFilter) {
    const bool mid = !UsesPunchFilter(p.ampModel) && p.ampModel != 10;
    SelectSection(mid ? kSectionMidFilter : kSectionPunchFilter);
    mSurface.Post([mid](IControlSurface& c) {
      if (mid)
        c.ShowMidFilterReadouts();
      else
        c.ShowPunchFilterReadouts();
    });
  }
  SelectAmbienceType(p.ambienceType);
  if (mView.mActiveSection == kSectionAmplifier) SelectSection(kSectionAmplifier);

  const std::string number = TwoDigits(p.shownNumber);
  mSurface.Post([number, p](IControlSurface& c) {
    c.SetTagTextColor(kTagPresetDisplay, color::kDisplayPlain);
    c.SetTagHidden(kTagPresetDisplay, false);
    c.SetTagText(kTagPresetDisplay, number);
    c.SetTagText(kTagPresetName, p.name);
    c.SetTagText(kTagIR7Name, p.ir7Name);
    c.SetTagText(kTagIR8Name, p.ir8Name);
  });
  if (p.userIRsOn) ShowCabinetResponse(ParamInt(kParamIR));
  SetFilterSwitch(p.filterOn);
}

void ZorelControl::PresetStored() {
  mSurface.Post([](IControlSurface& c) { c.SetTagHidden(kTagPresetDisplay, false); });
}

void ZorelControl::IRNameRowChanged(int row, const std::string& text) {
  mSurface.Post([row, text](IControlSurface& c) { c.SetIRNameRowText(row, text); });
}

void ZorelControl::FilterSwitchReported(bool on) {
  if (mSurface.IsOpen()) SetFilterSwitch(on);
}

// Fills the IR working buffer for the cabinet position and, with a surface,
// brings the IR panel forward and hands the graph its own copy of the
// samples: the buffer is rewritten by the next call, possibly on another
// thread, while the graph draws on the user-interface thread.
void ZorelControl::ShowCabinetResponse(int irValue) {
  mLibrary->ShowCabinetResponse(irValue);
  if (!mSurface.IsOpen()) return;
  if (mView.mActiveSection != kSectionImpulseResponse && !mState.mSendSuppressed)
    SelectSection(kSectionImpulseResponse);
  auto samples = std::make_shared<std::array<double, 4096>>();
  const auto& buffer = mLibrary->Tables().mIRBuffer;
  std::copy(buffer.begin(), buffer.end(), samples->begin());
  ResponseSamples shared = std::move(samples);
  mSurface.Post([shared](IControlSurface& c) { c.SetResponseSamples(shared); });
}

void ZorelControl::FirmwareLoaderReady() {
  mSurface.Post([](IControlSurface& c) {
    c.SetGroupHidden(group::kFirmwareProgress, false);
    c.SetGroupDisabled(group::kFirmwareUpdate, true);
  });
}

} // namespace zorel
