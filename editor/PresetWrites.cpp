// Writes of the edited preset into its program on the pedal (write preset,
// 0x20): a model or ambience choice, a rename, the undo or redo of one of
// those, and a loaded preset file. Each of them replaces what the program
// stored, so the program goes into a snapshot first; the cache then keeps
// what the pedal holds now, and the user is told that it was stored.
#include <array>
#include <cstdio>
#include <string>

#include "editor/DisplayText.h"
#include "editor/Overwrites.h"
#include "editor/ZorelControl.h"
#include "formats/NameText.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

namespace {

// Device ticks (100 ms) the status note stays on the surface.
constexpr int kNoteTicks = 80;

// "é" as it stands; a byte that shows nothing (a control character, a
// stray byte of a broken sequence) by its value.
std::string Quoted(const std::string& c) {
  const auto b = static_cast<uint8_t>(c[0]);
  if (c.size() > 1 || (b >= 0x20 && b < 0x7F)) return "\"" + c + "\"";
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", b);
  return std::string("the byte ") + hex;
}

} // namespace

std::string NameWarning(const std::string& name) {
  const std::vector<std::string> lost = CharactersNamesCannotHold(name);
  if (lost.empty()) return {};
  std::string list;
  for (size_t i = 0; i < lost.size(); ++i) {
    if (i > 0) list += i + 1 == lost.size() ? " and " : ", ";
    list += Quoted(lost[i]);
  }
  return "The pedal's names hold only plain ASCII letters, digits and punctuation: " + list +
         (lost.size() == 1 ? " cannot be stored and becomes" : " cannot be stored and become") +
         " \"?\".";
}

void ZorelControl::CommitPresetName(const std::string& typed) {
  std::lock_guard<iplug::EditorLock> lock(mEditorLock);
  SessionState& s = mState;
  const std::string warning = NameWarning(typed);
  if (!warning.empty() &&
      !Confirm(warning + "\nStore the name as \"" + SanitizeName(typed) + "\"?")) {
    // The field goes back to the name the pedal holds.
    const std::string kept = s.mPresetName;
    mSurface.Post([kept](IControlSurface& c) { c.SetTagText(kTagPresetName, kept); });
    return;
  }
  const std::string name = SanitizeName(typed);
  const PresetSnapshot before = CurrentSnapshot();
  BeginStep();
  mHistory.MarkWholePreset();
  s.mPresetName = name;
  if (!WriteEditedPreset(Overwrite::kRename)) KeepLocally(before);
  EndStep();
  const std::string shown = s.mPresetName;
  mSurface.Post([shown](IControlSurface& c) { c.SetTagText(kTagPresetName, shown); });
}

bool ZorelControl::WriteEditedPreset(Overwrite op) {
  if (!mState.mConnected) return true; // nothing reaches the pedal
  return GuardOverwrite(op, mState.mCurrentPresetSlot, [this, op] { SendStoredPreset(op); });
}

void ZorelControl::SendStoredPreset(Overwrite op) {
  SessionState& s = mState;
  const int slot = s.mCurrentPresetSlot;
  const BlockMessage sent = mSender.SendWritePreset();
  // The pedal stores what it was sent, so its checksum list will name this
  // version: the cache holds it too, and the list row shows its name.
  mLibrary->WritePresetSlot(
      slot, std::span<const uint8_t>(sent.data() + kBlockDataOffset, kBlockDataSize),
      sent[kBlockChecksumOffset], sent[kBlockChecksumOffset + 1]);
  const std::string number = TwoDigits(ParamInt(kParamPatchOffset) + slot);
  mLibrary->SetPresetRowText(
      slot, " " + number + " " +
                NameFieldText(std::string_view(reinterpret_cast<const char*>(sent.data()) +
                                                   kBlockDataOffset + kPayloadNameOffset,
                                               kNameLength)));
  ShowNote("Preset " + number + " was stored on the pedal " + InfoOf(op).storedAs + "." +
           (mLastSnapshotPath.empty() ? std::string()
                                      : " What it held before is in File > Snapshots..."));
}

void ZorelControl::KeepLocally(const PresetSnapshot& before) {
  const bool suppressed = mState.mSendSuppressed;
  mState.mSendSuppressed = true;
  ApplySnapshot(before, StepKind::kWholePreset);
  mState.mSendSuppressed = suppressed;
}

namespace {

// The note's three lines, cut between words and at line breaks.
std::array<std::string, 3> NoteLines(const std::string& text) {
  constexpr size_t kLineChars = 84;
  std::array<std::string, 3> lines;
  size_t at = 0;
  for (std::string& line : lines) {
    while (at < text.size() && text[at] == ' ') ++at;
    if (at >= text.size()) break;
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    if (end - at > kLineChars) {
      const size_t space = text.rfind(' ', at + kLineChars);
      end = space != std::string::npos && space > at ? space : at + kLineChars;
    }
    line = text.substr(at, end - at);
    at = end < text.size() && text[end] == '\n' ? end + 1 : end;
  }
  return lines;
}

} // namespace

void ZorelControl::ShowNote(const std::string& text) {
  if (!mSurface.IsOpen()) {
    mSurface.PostMessage(text);
    return;
  }
  mNoteTicks = kNoteTicks;
  const std::array<std::string, 3> lines = NoteLines(text);
  mSurface.Post([lines](IControlSurface& c) {
    c.SetTagText(kTagStatusNote, lines[0]);
    c.SetTagText(kTagStatusNote2, lines[1]);
    c.SetTagText(kTagStatusNote3, lines[2]);
  });
}

void ZorelControl::TickNote() {
  if (mNoteTicks == 0 || --mNoteTicks > 0) return;
  mSurface.Post([](IControlSurface& c) {
    for (int tag : {kTagStatusNote, kTagStatusNote2, kTagStatusNote3}) c.SetTagText(tag, "");
  });
}

} // namespace zorel
