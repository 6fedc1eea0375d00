#include "app/host/PedalProbe.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/MessageText.h"

namespace zorel {

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kProbePortName = "ZorelControl Probe";

// What the inputs heard, filled on the MIDI library's threads. Shared with
// the handlers, so a callback that is still on its way when the search ends
// finds it alive.
struct Answers {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<size_t> inputs; // the input of each identity block, in arrival order
  Clock::time_point first{};

  void Heard(size_t input) {
    {
      std::lock_guard<std::mutex> lock(mutex);
      if (inputs.empty()) first = Clock::now();
      inputs.push_back(input);
    }
    changed.notify_all();
  }
  // The first input heard after `since` answers, or none by `deadline`.
  std::optional<size_t> Await(size_t since, Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex);
    if (!changed.wait_until(lock, deadline, [&] { return inputs.size() > since; }))
      return std::nullopt;
    return inputs[since];
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex);
    return inputs.size();
  }
};

bool Own(const std::string& name, const ProbeOptions& options) {
  return std::any_of(options.ownPortPrefixes.begin(), options.ownPortPrefixes.end(),
                     [&](const std::string& p) { return !p.empty() && name.rfind(p, 0) == 0; });
}

template <typename Port> struct OpenedPort {
  std::string name;
  std::unique_ptr<Port> port;
};
using OpenInput = OpenedPort<IMidiInPort>;
using OpenOutput = OpenedPort<IMidiOutPort>;

// Opens every port of one direction that is not our own. A port that will
// not open is skipped with a note, and its object is used for the next
// port. `prepare` readies an object before it opens; `abandon` undoes that
// when it does not.
template <typename Port, typename Make, typename Prepare, typename Abandon>
std::vector<OpenedPort<Port>>
OpenEvery(const Make& make, const char* direction, const ProbeOptions& options,
          std::vector<std::string>& notes, const Prepare& prepare, const Abandon& abandon) {
  std::vector<OpenedPort<Port>> open;
  std::unique_ptr<Port> spare = make();
  if (!spare) {
    notes.push_back(std::string("no MIDI ") + direction + " could be created");
    return open;
  }
  std::vector<std::string> names;
  for (unsigned i = 0, n = spare->PortCount(); i < n; ++i) names.push_back(spare->PortName(i));
  for (unsigned i = 0; i < names.size(); ++i) {
    if (Own(names[i], options)) continue;
    std::unique_ptr<Port> port = spare ? std::move(spare) : make();
    if (!port) break;
    prepare(*port, open.size());
    std::string error;
    // Ports come and go: the index must still name the port listed.
    if (port->PortName(i) != names[i] || !port->OpenPort(i, kProbePortName, error)) {
      abandon(*port);
      notes.push_back(std::string("the MIDI ") + direction + " \"" + names[i] +
                      "\" could not be opened" + (error.empty() ? "" : ": " + error) + "; skipped");
      spare = std::move(port);
      continue;
    }
    open.push_back({names[i], std::move(port)});
  }
  return open;
}

std::vector<OpenInput> ListenEverywhere(const MakeMidiIn& makeInput, const ProbeOptions& options,
                                        const std::shared_ptr<Answers>& answers,
                                        std::vector<std::string>& notes) {
  return OpenEvery<IMidiInPort>(
      makeInput, "input", options, notes,
      [&](IMidiInPort& port, size_t index) {
        port.IgnoreTypes(false, true, true);
        port.SetHandler([answers, index, tap = options.tap](const uint8_t* data, size_t size) {
          if (data == nullptr) return;
          if (tap) tap(false, data, size);
          if (IsIdentityReply(std::span<const uint8_t>(data, size))) answers->Heard(index);
        });
      },
      [](IMidiInPort& port) { port.CancelHandler(); });
}

std::vector<OpenOutput> OpenEveryOutput(const MakeMidiOut& makeOutput, const ProbeOptions& options,
                                        std::vector<std::string>& notes) {
  return OpenEvery<IMidiOutPort>(
      makeOutput, "output", options, notes, [](IMidiOutPort&, size_t) {}, [](IMidiOutPort&) {});
}

} // namespace

ProbeOutcome ProbeForPedal(const MakeMidiIn& makeInput, const MakeMidiOut& makeOutput,
                           const ProbeOptions& options) {
  ProbeOutcome outcome;
  auto answers = std::make_shared<Answers>();
  std::vector<OpenInput> inputs = ListenEverywhere(makeInput, options, answers, outcome.notes);
  std::vector<OpenOutput> outputs;
  if (!inputs.empty()) outputs = OpenEveryOutput(makeOutput, options, outcome.notes);
  outcome.inputsListened = inputs.size();
  outcome.outputsAsked = outputs.size();

  const auto request = BuildIdentityRequest();
  auto ask = [&](OpenOutput& out) {
    if (options.tap) options.tap(true, request.data(), request.size());
    return out.port->Send(request.data(), request.size());
  };

  if (!outputs.empty()) {
    Clock::time_point sent = Clock::now();
    for (OpenOutput& out : outputs) ask(out);
    std::optional<size_t> heard = answers->Await(0, sent + options.listen);
    if (!heard) {
      // On a busy machine a request sent the moment the search's clients
      // joined the MIDI system can be lost (JACK runs a new client from a
      // later cycle, or not at all after an xrun): asked once more before
      // the search gives up.
      sent = Clock::now();
      for (OpenOutput& out : outputs) ask(out);
      heard = answers->Await(0, sent + options.listen);
    }
    if (heard && outputs.size() == 1) {
      outcome.ports = PedalPorts{inputs[*heard].name, outputs.front().name};
    } else if (heard) {
      // Long enough for the pedal's answer to come back from any one output,
      // short enough that a late answer to the round before cannot pass for
      // an answer to this one: the round before is given the same time to
      // end first.
      Clock::duration latency;
      {
        std::lock_guard<std::mutex> lock(answers->mutex);
        latency = answers->first - sent;
      }
      const auto wait =
          std::max<Clock::duration>(3 * latency + std::chrono::milliseconds(20), options.leastWait);
      std::this_thread::sleep_for(wait);
      for (OpenOutput& out : outputs) {
        const size_t before = answers->Count();
        if (!ask(out)) continue;
        if (const auto again = answers->Await(before, Clock::now() + wait)) {
          outcome.ports = PedalPorts{inputs[*again].name, out.name};
          break;
        }
      }
    }
  }
  // Handlers go before the ports close, so no callback runs on a closing port.
  for (OpenInput& in : inputs) {
    in.port->CancelHandler();
    in.port->ClosePort();
  }
  for (OpenOutput& out : outputs) out.port->ClosePort();
  return outcome;
}

} // namespace zorel
