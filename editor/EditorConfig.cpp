#include "editor/SurfaceIds.h"
#include "editor/ZorelControl.h"
#include "protocol/codec/ParamIds.h"

namespace zorel {

iplug::PluginConfig MakeZorelConfig() {
  iplug::PluginConfig config;
  config.nParams = kParamCount;
  config.nPresets = 1;
  config.channelIOStr = "0-2";
  config.pluginName = "ZorelControl";
  config.productName = "ZorelControl";
  config.mfrName = "DravixUSA";
  config.vendorVersion = 0x00010100;
  config.uniqueID = iplug::FourCC("Zorl");
  config.mfrID = iplug::FourCC("Drvx");
  config.latency = 0;
  config.plugDoesMidiIn = true;
  config.plugDoesMidiOut = true;
  config.plugDoesMPE = false;
  config.plugDoesChunks = false;
  config.plugType = 2;
  config.plugHasUI = true;
  config.plugWidth = kUIWidth;
  config.plugHeight = kUIHeight;
  config.plugMinWidth = 640;
  config.plugMaxWidth = 5760;
  config.plugMinHeight = 400;
  config.plugMaxHeight = 3600;
  config.plugHostResize = false;
  config.bundleID = "";
  config.appGroupID = "";
  return config;
}

} // namespace zorel
