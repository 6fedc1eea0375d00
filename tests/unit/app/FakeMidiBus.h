#pragma once

// A MIDI system with many ports at once, for the pedal search: any number of
// port objects, each input with its own handler, outputs wired to devices
// behind them. Behind one output sits the in-process virtual pedal, which
// answers on its own input port; other outputs lead nowhere, and some ports
// refuse to open. Answers arrive on a thread of their own after `delayMs`,
// as a MIDI library delivers them, or at once inside Send with delay 0.

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/host/MidiBackend.h"
#include "sim/VirtualPedal.h"

namespace zorel::test {

class FakeMidiBus {
public:
  using Bytes = std::vector<uint8_t>;

  std::vector<std::string> inPorts;  // sources we can listen to
  std::vector<std::string> outPorts; // destinations we can send to
  std::set<std::string> refused;     // OpenPort fails for these
  // The output the pedal listens on, and the input its answers come out of.
  std::string pedalOut;
  std::string pedalIn;
  int delayMs = 5;
  sim::VirtualPedal pedal;

  ~FakeMidiBus() { JoinAll(); }

  // What went out, per output port name.
  std::vector<Bytes> SentTo(const std::string& port) {
    std::lock_guard<std::mutex> lock(mMutex);
    std::vector<Bytes> out;
    for (const auto& [name, bytes] : mSent)
      if (name == port) out.push_back(bytes);
    return out;
  }
  size_t OpenInputs() {
    std::lock_guard<std::mutex> lock(mMutex);
    return mHandlers.size();
  }
  void JoinAll() {
    std::vector<std::thread> threads;
    {
      std::lock_guard<std::mutex> lock(mMutex);
      threads.swap(mThreads);
    }
    for (std::thread& t : threads) t.join();
  }

  MidiFactory Factory() {
    return [this](const std::string&, const std::string&) {
      MidiObjects objects;
      objects.in = MakeIn();
      objects.out = MakeOut();
      objects.apiName = "Bus";
      objects.moreInputs = [this](const std::string&) { return MakeIn(); };
      objects.moreOutputs = [this](const std::string&) { return MakeOut(); };
      return objects;
    };
  }

  std::unique_ptr<IMidiInPort> MakeIn();
  std::unique_ptr<IMidiOutPort> MakeOut();

private:
  friend class BusIn;
  friend class BusOut;

  void Send(const std::string& port, const uint8_t* data, size_t size) {
    std::vector<Bytes> answers;
    {
      std::lock_guard<std::mutex> lock(mMutex);
      mSent.emplace_back(port, Bytes(data, data + size));
      if (port != pedalOut) return;
      answers = pedal.Exchange(std::span<const uint8_t>(data, size));
    }
    if (answers.empty()) return;
    if (delayMs == 0) {
      Deliver(answers);
      return;
    }
    std::lock_guard<std::mutex> lock(mMutex);
    mThreads.emplace_back([this, answers] {
      std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
      Deliver(answers);
    });
  }
  void Deliver(const std::vector<Bytes>& answers) {
    std::lock_guard<std::mutex> lock(mDeliverMutex);
    for (const Bytes& m : answers) {
      std::vector<IMidiInPort::Handler> handlers;
      {
        std::lock_guard<std::mutex> lock2(mMutex);
        for (const auto& [id, entry] : mHandlers)
          if (entry.first == pedalIn && entry.second) handlers.push_back(entry.second);
      }
      for (auto& h : handlers) h(m.data(), m.size());
    }
  }
  void Listen(int id, const std::string& port, IMidiInPort::Handler handler) {
    std::lock_guard<std::mutex> lock(mMutex);
    mHandlers[id] = {port, std::move(handler)};
  }
  void Unlisten(int id) {
    std::lock_guard<std::mutex> lock(mMutex);
    mHandlers.erase(id);
  }

  std::mutex mMutex;
  std::mutex mDeliverMutex; // one delivery at a time, in order
  std::vector<std::pair<std::string, Bytes>> mSent;
  std::map<int, std::pair<std::string, IMidiInPort::Handler>> mHandlers; // open inputs
  std::vector<std::thread> mThreads;
  int mNextId = 0;
};

class BusIn final : public IMidiInPort {
public:
  BusIn(FakeMidiBus& bus, int id) : mBus(bus), mId(id) {}
  ~BusIn() override { mBus.Unlisten(mId); }
  unsigned PortCount() override { return static_cast<unsigned>(mBus.inPorts.size()); }
  std::string PortName(unsigned i) override {
    return i < mBus.inPorts.size() ? mBus.inPorts[i] : "";
  }
  bool OpenPort(unsigned i, const std::string&, std::string& error) override {
    if (mBus.refused.count(mBus.inPorts.at(i))) {
      error = "port busy";
      return false;
    }
    mOpen = mBus.inPorts.at(i);
    if (mHandler) mBus.Listen(mId, mOpen, mHandler);
    return true;
  }
  void ClosePort() override {
    mBus.Unlisten(mId);
    mOpen.clear();
  }
  void SetHandler(Handler h) override {
    mHandler = std::move(h);
    if (!mOpen.empty()) mBus.Listen(mId, mOpen, mHandler);
  }
  void CancelHandler() override {
    mBus.Unlisten(mId);
    mHandler = nullptr;
  }
  void IgnoreTypes(bool, bool, bool) override {}

private:
  FakeMidiBus& mBus;
  int mId;
  std::string mOpen;
  Handler mHandler;
};

class BusOut final : public IMidiOutPort {
public:
  explicit BusOut(FakeMidiBus& bus) : mBus(bus) {}
  unsigned PortCount() override { return static_cast<unsigned>(mBus.outPorts.size()); }
  std::string PortName(unsigned i) override {
    return i < mBus.outPorts.size() ? mBus.outPorts[i] : "";
  }
  bool OpenPort(unsigned i, const std::string&, std::string& error) override {
    if (mBus.refused.count(mBus.outPorts.at(i))) {
      error = "port busy";
      return false;
    }
    mOpen = mBus.outPorts.at(i);
    return true;
  }
  void ClosePort() override { mOpen.clear(); }
  bool Send(const uint8_t* data, size_t size) override {
    if (mOpen.empty()) return false;
    mBus.Send(mOpen, data, size);
    return true;
  }

private:
  FakeMidiBus& mBus;
  std::string mOpen;
};

inline std::unique_ptr<IMidiInPort> FakeMidiBus::MakeIn() {
  std::lock_guard<std::mutex> lock(mMutex);
  return std::make_unique<BusIn>(*this, mNextId++);
}
inline std::unique_ptr<IMidiOutPort> FakeMidiBus::MakeOut() {
  return std::make_unique<BusOut>(*this);
}

} // namespace zorel::test
