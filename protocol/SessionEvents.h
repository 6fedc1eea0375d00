#pragma once

#include <string>

namespace zorel {

// A preset dump from the pedal as the editor shows it.
struct AppliedPreset {
  int slot = 0;
  int shownNumber = 0; // slot + patch offset
  int ampModel = 10;   // row of the amp-model table, 10..12 when none matches
  int ambienceType = 7;
  std::string name;
  std::string ir7Name; // what the IR 7 / IR 8 name displays show
  std::string ir8Name;
  bool userIRsOn = false; // IR 7 or IR 8 plays a user IR
  bool filterOn = false;  // auto filter or chorus on: the FILTER switch lights
};

// What the conversation with the pedal reports to whoever shows it. The
// protocol decides what happened; the editor decides how it looks, on a
// control surface or, without one, as messages for the command-line tool.
// Called under the editor lock, on the thread that handled the reply or ran
// the tick.
class ISessionEvents {
public:
  virtual ~ISessionEvents() = default;

  // Whether a control surface is open: some sequences differ with one.
  virtual bool ViewOpen() const = 0;
  // A message box with an OK button.
  virtual void ShowMessage(const std::string& text) = 0;

  // The transfer progress overlay.
  virtual void ShowTransferProgress(double fraction, const std::string& text) = 0;
  virtual void HideTransferProgress() = 0;

  // The device lines: the pedal answered with its identity (and version),
  // and it was accepted with its serial number.
  virtual void DeviceIdentified(const std::string& versionText) = 0;
  virtual void SerialKnown(const std::string& serialText) = 0;
  // The pedal stopped answering: the connection starts again.
  virtual void ConnectionLost() = 0;
  // Requests keep going unanswered (`what` says which, for the note): the
  // ports may be opened again.
  virtual void LinkSilent(const std::string& what) = 0;

  // The preset list: the current preset moved from `previous` (-1: no row
  // was lit) to `slot`; a dump was applied; a store was confirmed.
  virtual void PresetHighlighted(int previous, int slot) = 0;
  virtual void PresetApplied(const AppliedPreset& preset) = 0;
  virtual void PresetStored() = 0;
  virtual void IRNameRowChanged(int row, const std::string& text) = 0;
  // The pedal reported its FILTER switch.
  virtual void FilterSwitchReported(bool on) = 0;

  // Fills the IR working buffer for position `irValue` of parameter 14 and
  // shows it.
  virtual void ShowCabinetResponse(int irValue) = 0;
  // The pedal stored an uploaded IR.
  virtual void IRStored() = 0;

  // The firmware loader accepted the update / the update ended (either way).
  virtual void FirmwareLoaderReady() = 0;
  virtual void FirmwareUpdateEnded() = 0;
};

} // namespace zorel
