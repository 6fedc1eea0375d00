// Whatever arrives from MIDI input reaches the editor's reply handling: the
// input is split into messages and handed over as the audio thread does, in
// every connection state, with the device tick running between them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/support/HeadlessEditor.h"

namespace {

zorel::HeadlessEditor& Editor() {
  static zorel::HeadlessEditor* editor = new zorel::HeadlessEditor();
  return *editor;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  zorel::HeadlessEditor& h = Editor();
  zorel::SessionState& s = h.Editor().State();
  // The first byte picks the state the messages meet.
  const uint8_t mode = data[0];
  s.mConnected = mode & 1;
  s.mBulkLoading = mode & 2;
  s.mBulkSlot = (mode & 2) ? 0 : s.mBulkSlot;
  s.mExporting = mode & 4;
  s.mImporting = mode & 8;
  s.mFirmwareActive = mode & 16;
  s.mStoreArmed = mode & 32;
  s.mIRSelectStep = (mode & 64) ? 53 : 0;
  if (s.mTransferBuffer.size() > (1u << 20)) s.mTransferBuffer.clear();
  // Messages are separated by F7, as the MIDI layer delivers them.
  std::vector<uint8_t> message;
  for (size_t i = 1; i < size; ++i) {
    message.push_back(data[i]);
    if (data[i] == 0xF7 || message.size() == 600 || i + 1 == size) {
      h.Receive(message);
      message.clear();
    }
  }
  h.Advance(100);
  h.TakeSent();
  return 0;
}
