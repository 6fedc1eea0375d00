#include "plugin/IPlugAPIBase.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace iplug {

namespace {

struct HostEntry {
  const char* name;
  int code;
};

// Known host names; the standalone application is the only one this program
// ever reports.
constexpr HostEntry kHosts[] = {
    {"standalone", 1}, {"reaper", 2}, {"ableton live", 3}, {"bitwig studio", 4}, {"cubase", 5},
};

} // namespace

IPlugAPIBase::IPlugAPIBase(const PluginConfig& config)
    : IPluginBase(config), mHasUI(config.plugHasUI), mHostResize(config.plugHostResize),
      mDoesMidiIn(config.plugDoesMidiIn), mDoesMidiOut(config.plugDoesMidiOut),
      mEditorWidth(config.plugWidth), mEditorHeight(config.plugHeight),
      mMinWidth(std::min(config.plugMinWidth, config.plugMaxWidth)),
      mMaxWidth(std::max(config.plugMinWidth, config.plugMaxWidth)),
      mMinHeight(std::min(config.plugMinHeight, config.plugMaxHeight)),
      mMaxHeight(std::max(config.plugMinHeight, config.plugMaxHeight)) {}

IPlugAPIBase::~IPlugAPIBase() {
  StopBaseTimer();
}

void IPlugAPIBase::StartBaseTimer() {
  mBaseTimer = Timer::Create([this](Timer&) { OnBaseTick(); }, kBaseTickMs);
}

void IPlugAPIBase::StopBaseTimer() {
  if (mBaseTimer) mBaseTimer->Stop();
  mBaseTimer.reset();
}

void IPlugAPIBase::SetParameterValue(int paramIdx, double normalizedValue) {
  IParam* param = ParamAt(paramIdx);
  if (param == nullptr) return;
  param->StoreNormalized(normalizedValue);
  OnParamChange(paramIdx, kUI, -1);
}

void IPlugAPIBase::QueueUIParameterUpdate(int paramIdx, double value, bool normalized) {
  const IParam* param = ParamAt(paramIdx);
  if (param == nullptr) return;
  if (normalized) value = param->Denormalize(value);
  mParamChangesToUI.Push({paramIdx, value});
}

void IPlugAPIBase::ApplyParameterToControls(int paramIdx, double value, bool normalized) {
  if (igraphics::IGraphicsContext* ui = GetUI()) {
    const IParam* param = ParamAt(paramIdx);
    if (param == nullptr) return;
    ui->SetControlValuesFromParam(paramIdx, normalized ? value : param->Normalize(value));
    NotifyUIParamChange(paramIdx, kDelegate);
  }
}

void IPlugAPIBase::SetHost(const char* host, int version) {
  mHostName = host ? host : "";
  mHostCode = 0;
  for (const HostEntry& entry : kHosts) {
    if (strcasecmp(entry.name, mHostName.c_str()) == 0) mHostCode = entry.code;
  }
  mHostVersion = version;
  OnHostIdentified();
}

void IPlugAPIBase::SerializeEditorState(std::vector<uint8_t>& chunk) const {
  int width = KeptWidth();
  int height = KeptHeight();
  float scale = KeptScale();
  if (const igraphics::IGraphicsContext* ui = GetUI()) {
    width = ui->Width();
    height = ui->Height();
    scale = ui->GetDrawScale();
  }
  auto put = [&chunk](const void* p) {
    const auto* b = static_cast<const uint8_t*>(p);
    chunk.insert(chunk.end(), b, b + 4);
  };
  put(&width);
  put(&height);
  put(&scale);
}

int IPlugAPIBase::UnserializeEditorState(const std::vector<uint8_t>& chunk, int startPos) {
  int width = 0;
  int height = 0;
  float scale = 0.f;
  int pos = startPos < 0 ? 0 : startPos;
  if (static_cast<size_t>(pos) + 12 <= chunk.size()) {
    std::memcpy(&width, chunk.data() + pos, 4);
    std::memcpy(&height, chunk.data() + pos + 4, 4);
    std::memcpy(&scale, chunk.data() + pos + 8, 4);
    pos += 12;
  } else {
    pos = -1;
  }
  igraphics::IGraphicsContext* ui = GetUI();
  if (ui && width != 0 && height != 0 && scale != 0.f) {
    ui->Resize(width, height, scale);
  } else {
    KeepEditorState(width, height, scale);
  }
  return pos;
}

void IPlugAPIBase::OnBaseTick() {
  if (mHasUI) {
    ParamTuple change;
    while (mParamChangesToUI.Pop(change)) ApplyParameterToControls(change.idx, change.value, false);
    MidiMessage msg;
    while (mMidiToUI.Pop(msg)) {
      if (igraphics::IGraphicsContext* ui = GetUI()) ui->ForwardMidiToControls(msg);
      OnMidiMsgUI(msg);
    }
    QueuedSysEx sysex;
    while (mSysExToUI.Pop(sysex)) OnSysexMsgUI(sysex);
  }
  OnIdle();
}

} // namespace iplug
