#pragma once

namespace iplug {

// What an editor tells its base about itself; the base copies what it needs.
struct PluginConfig {
  int nParams = 0;
  int nPresets = 0;
  const char* channelIOStr = "";
  const char* pluginName = "";
  const char* productName = "";
  const char* mfrName = "";
  int vendorVersion = 0;
  int uniqueID = 0;
  int mfrID = 0;
  int latency = 0;
  bool plugDoesMidiIn = false;
  bool plugDoesMidiOut = false;
  bool plugDoesMPE = false;
  bool plugDoesChunks = false;
  int plugType = 0;
  bool plugHasUI = false;
  int plugWidth = 0;
  int plugHeight = 0;
  int plugMinWidth = 0;
  int plugMaxWidth = 0;
  int plugMinHeight = 0;
  int plugMaxHeight = 0;
  bool plugHostResize = false;
  const char* bundleID = "";
  const char* appGroupID = "";
};

// Four characters packed into an int, first character highest.
constexpr int FourCC(const char (&s)[5]) {
  return (s[0] << 24) | (s[1] << 16) | (s[2] << 8) | s[3];
}

} // namespace iplug
