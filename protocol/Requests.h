#pragma once

#include <string>

#include "protocol/PedalSender.h"
#include "protocol/SessionEvents.h"
#include "protocol/SessionState.h"

namespace zorel {

// Asking the pedal again when an answer is lost or damaged, and giving up
// when it keeps failing: shared by the reply handling (damaged answers) and
// the device tick (answers that never came). A healthy pedal never sees a
// second request.

inline constexpr const char* kLostPedalMessage =
    "The pedal stopped answering. Please check the MIDI connection and press RECONNECT.";
inline constexpr const char* kDamagedPresetsMessage =
    "The pedal keeps sending damaged presets. Please check the MIDI connection and press "
    "RECONNECT.";
inline constexpr const char* kDamagedIRMessage =
    "The pedal keeps sending damaged IRs. Please check the MIDI connection and press RECONNECT.";
inline constexpr const char* kDamagedListMessage =
    "The pedal's list of presets could not be read. Please check the MIDI connection and press "
    "RECONNECT.";

// Sends the awaited request again and returns true, or returns false when
// its retries are used up (the caller gives up).
bool RequestAgain(SessionState& state, PedalSender& sender);

// Ends whatever sequence waited for the answer: a bulk read or an export
// stops (an export writes no file), a connection whose checksum list never
// came clean is dropped. Says `why` when a transfer or connection ended.
void GiveUp(SessionState& state, PedalSender& sender, ISessionEvents& events,
            const std::string& why);

} // namespace zorel
